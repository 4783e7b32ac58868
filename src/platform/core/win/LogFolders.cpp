#include "platform/core/win/LogFolders.h"

#include <shlobj.h>

#include <optional>

#include "platform/core/LogFormat.h"
#include "platform/core/PathText.h"
#include "platform/core/win/FileSystem.h"
#include "platform/core/win/FolderResolution.h"
#include "platform/core/win/Security.h"
#include "platform/core/win/SystemLibrary.h"

namespace cv {

namespace {

const wchar_t kLogsFolderName[] = L"CORVANE_LOGS";
const wchar_t kEveryoneSid[] = L"S-1-1-0";

std::optional<std::wstring> CommonAppDataFolder() {
  if (std::optional<std::wstring> folder = ShellFolderFromIdList(CSIDL_COMMON_APPDATA)) return folder;
  using SHGetSpecialFolderPathFunction = BOOL(WINAPI*)(HWND, LPWSTR, int, BOOL);
  UniqueLibrary shell32 = LoadSystemLibrary(L"Shell32.dll");
  if (!shell32) return std::nullopt;
  auto getFolderPath = FindFunction<SHGetSpecialFolderPathFunction>(shell32.get(), "SHGetSpecialFolderPathW");
  wchar_t path[MAX_PATH] = {};
  if (!getFolderPath || !getFolderPath(nullptr, path, CSIDL_COMMON_APPDATA, FALSE)) return std::nullopt;
  return std::wstring(path);
}

// CORVANE_LOGS under the common application-data folder, open to every user
// so that runs under other accounts can add to the same logs.
std::wstring CommonLogsFolder() {
  std::optional<std::wstring> appData = CommonAppDataFolder();
  if (!appData || appData->empty()) return std::wstring();
  std::wstring folder = EnsureTrailingBackslash(*appData) + kLogsFolderName;
  if (IsFolder(folder)) return folder;
  return CreateSharedLogsFolder(folder) ? folder : std::wstring();
}

std::wstring TempLogsFolder() {
  std::wstring temp = GetTempFolder();
  if (temp.empty()) return std::wstring();
  std::wstring folder = EnsureTrailingBackslash(temp) + kLogsFolderName;
  if (!CreateDirectoryW(ToLongPath(folder).c_str(), nullptr) && !IsFolder(folder)) return std::wstring();
  return folder;
}

bool IsPlainEntry(HANDLE handle) {
  BY_HANDLE_FILE_INFORMATION info{};
  return GetFileInformationByHandle(handle, &info) && IsPlainFileSystemEntry(info.dwFileAttributes, info.nNumberOfLinks);
}

}  // namespace

LogLocation FallbackLogLocation(int attempt, const IAccountFacts& account) {
  std::wstring program = GetModulePath();
  if (program.empty()) return {};
  std::wstring folder;
  switch (attempt) {
    case 0:
      folder = CommonLogsFolder();
      break;
    case 1:
      return {LogFileNameFor(program), false};
    case 2:
      // LocalSystem's temporary folder is the Windows folder's Temp on older
      // Windows, where every user can create files.
      folder = TempLogsFolder();
      break;
    default:
      return {};
  }
  if (folder.empty()) return {};
  return {folder + L"\\" + LogFileNameFor(GetFileName(program)), account.IsLocalSystem() || account.IsElevated()};
}

bool CreateSharedLogsFolder(const std::wstring& folder, CreateFolderFunction createFolder) {
  SecurityDescriptorBuilder builder;
  if (builder.AddAccount(kEveryoneSid, true) != ERROR_SUCCESS) return false;
  Result<PSECURITY_DESCRIPTOR> descriptor = builder.Build();
  if (!descriptor) return false;
  SECURITY_ATTRIBUTES attributes{sizeof(attributes), *descriptor, FALSE};
  return createFolder(ToLongPath(folder).c_str(), &attributes) || GetLastError() == ERROR_ALREADY_EXISTS;
}

bool IsPlainFileSystemEntry(DWORD attributes, DWORD links) {
  if (attributes & FILE_ATTRIBUTE_REPARSE_POINT) return false;
  return (attributes & FILE_ATTRIBUTE_DIRECTORY) || links <= 1;
}

UniqueFile OpenLogFile(const LogLocation& location, DWORD& state) {
  const std::wstring path = ToLongPath(location.path);
  if (!location.guarded) {
    UniqueFile file(CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    state = GetLastError();
    return file;
  }
  // The folder is held open without delete sharing, so nobody can swap it for
  // a link between its check and the file's open.
  UniqueFile folder(CreateFileW(ToLongPath(GetParentFolder(location.path)).c_str(),
                                FILE_LIST_DIRECTORY | FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
  if (!folder || !IsPlainEntry(folder.get())) {
    state = ERROR_ACCESS_DENIED;
    return UniqueFile();
  }
  // A link's target is never opened: the file itself is checked on the handle
  // that the log then writes through.
  UniqueFile file(CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
  state = GetLastError();
  if (file && !IsPlainEntry(file.get())) {
    state = ERROR_ACCESS_DENIED;
    return UniqueFile();
  }
  return file;
}

}  // namespace cv
