// File-system operations on wide paths. None of them shows anything or logs.
#pragma once
#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/core/Result.h"

namespace cv {

// Full path of a module file (this program for null), without truncation.
std::wstring GetModulePath(HMODULE module = nullptr);
std::wstring GetWindowsFolder();
std::wstring GetSystemFolder();

using GetTempPath2Function = DWORD(WINAPI*)(DWORD, LPWSTR);

// The process's temporary folder with a trailing backslash, computed once.
std::wstring GetTempFolder();
// The rule behind GetTempFolder, with the machine facts passed in.
std::wstring ComputeTempFolder(bool localSystem, GetTempPath2Function tempPath2, const std::wstring& windowsFolder);

// A new empty file in the temporary folder; empty text on failure.
std::wstring CreateTempFile(const std::wstring& prefix, const std::wstring& extension = std::wstring());
std::wstring GetFinalPath(const std::wstring& path);
// What a directory listing tells about one file or folder.
struct FileInfo {
  FILETIME lastWrite{};
  uint64_t size = 0;
};
// ERROR_INVALID_PARAMETER for an empty path, ERROR_PATH_NOT_FOUND for one that
// is not absolute, ERROR_INVALID_NAME for wildcards, else the listing's error.
Result<FileInfo> GetFileInfo(const std::wstring& path);
bool PathExists(const std::wstring& path);
// Creates the missing folders of path (without its last component unless
// includeLast). On a drive, a failure removes the folders this call created;
// on a network path the share level may fail and the walk goes on below it.
DWORD CreateFolderTree(const std::wstring& path, bool includeLast, std::vector<std::wstring>* created = nullptr);
bool RemoveFolder(const std::wstring& path);
bool DeleteFileLong(const std::wstring& path);
// Deletes everything below folder; the folder itself stays. Links are not followed.
void DeleteFolderTree(const std::wstring& folder);
// Removes folder and its parents while they are empty and strictly below
// root (below the drive or share when root is empty); never root itself.
void RemoveEmptyFolders(const std::wstring& folder, const std::wstring& root);
bool ListSubfolders(const std::wstring& folder, std::vector<std::wstring>& subfolders);
// Entries of a folder other than "." and ".."; nothing when it cannot be listed.
std::optional<size_t> CountFolderEntries(const std::wstring& folder);
bool IsFolder(const std::wstring& path);
bool GetEnvVar(const std::wstring& name, std::wstring& value);

// Switches WOW64 file-system redirection off for the calling thread while the
// scope lives, when asked to: a 32-bit program on 64-bit Windows then sees
// the native system folder. Where there is no redirection (32-bit Windows, a
// 64-bit program) the call fails and nothing is undone.
class FileSystemRedirectionOff {
 public:
  explicit FileSystemRedirectionOff(bool off) : off_(off && Wow64DisableWow64FsRedirection(&state_)) {}
  ~FileSystemRedirectionOff() {
    if (off_) Wow64RevertWow64FsRedirection(state_);
  }
  FileSystemRedirectionOff(const FileSystemRedirectionOff&) = delete;
  FileSystemRedirectionOff& operator=(const FileSystemRedirectionOff&) = delete;

 private:
  PVOID state_ = nullptr;
  bool off_;
};

}  // namespace cv
