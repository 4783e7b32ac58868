// The error report dialog: the message, a collapsible details box and a copy
// button, built in memory so that it needs no resource of its own.
#pragma once
#include <windows.h>

#include <string>

#include "platform/core/ExceptionHandling.h"
#include "platform/core/ExceptionPresenter.h"

namespace cv {

// Runs the dialog modally; returns the command that ended it (1 Close, 2 Escape),
// or -1 when it could not be shown.
INT_PTR ShowErrorDialog(HWND owner, const std::wstring& title, const std::wstring& message,
                        const std::wstring& details);

// Shows an error titled "Error"; details that repeat the message are left
// out. The kind name and the location are not shown.
void ReportError(HWND parent, const std::wstring& message, const std::wstring& details,
                 const std::wstring& kindName, const SourceLocation& location);

}  // namespace cv
