// The registry searches. Keys open in a named view: the 64-bit one when the
// search asks for it, else the 32-bit one.
#pragma once
#include <string>

#include "detection/SearchCombination.h"
#include "platform/core/win/RegistryKey.h"

namespace cv {

// The view of the registry searches other than the value-name list: the
// 64-bit view only when asked for and Windows has one.
RegistryView SearchRegistryView(bool use64);

SearchOutcome SearchRegistrySubkeyNames(const std::wstring& text, RegistryView view);
// The value's data as text: text types up to their first NUL, REG_DWORD and
// REG_QWORD in decimal, any other type its bytes as UTF-16 up to a NUL.
SearchOutcome SearchRegistryValueText(const std::wstring& text, RegistryView view);
SearchOutcome SearchRegistryKeyExists(const std::wstring& text, RegistryView view);
SearchOutcome SearchRegistryValueExists(const std::wstring& text, RegistryView view);
// found: the value could be read as text; readText: that text.
SearchOutcome SearchRegistryValueRead(const std::wstring& text, RegistryView view);
SearchOutcome SearchRegistryValueNames(const std::wstring& text, RegistryView view);

}  // namespace cv
