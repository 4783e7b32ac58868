// The places the log goes when its configured path cannot be opened, and the
// opening of a log file in a folder that other users can write.
#pragma once
#include <windows.h>

#include <string>

#include "platform/core/win/AccountFacts.h"
#include "platform/core/win/Handles.h"

namespace cv {

struct LogLocation {
  std::wstring path;  // empty when the place is not available
  // Set for a privileged process in a folder that other users can write:
  // a link planted there must not lead its writes elsewhere.
  bool guarded = false;
};

inline constexpr int kLogFallbackCount = 3;

// Fallback 0: CORVANE_LOGS under the common application-data folder; 1:
// beside the program; 2: CORVANE_LOGS under the temporary folder. Folders
// are created as needed.
LogLocation FallbackLogLocation(int attempt, const IAccountFacts& account);

using CreateFolderFunction = BOOL(WINAPI*)(LPCWSTR, LPSECURITY_ATTRIBUTES);

// Creates the folder with one access entry: full access for Everyone, named
// by its SID (account names are translated: "Jeder" on German Windows).
bool CreateSharedLogsFolder(const std::wstring& folder, CreateFolderFunction createFolder = CreateDirectoryW);

// Opens the file for reading and writing, creating it when missing; state is
// the open's last error (ERROR_ALREADY_EXISTS for a file that was there). A
// guarded location is refused when its folder or the file is a reparse point
// or the file has another name (a hard link).
UniqueFile OpenLogFile(const LogLocation& location, DWORD& state);

// Whether a file or folder with these attributes and link count may be
// written to through a guarded location.
bool IsPlainFileSystemEntry(DWORD attributes, DWORD links);

}  // namespace cv
