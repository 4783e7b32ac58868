#include "platform/core/win/FileSystem.h"

#include <mutex>

#include "platform/core/FolderCreation.h"
#include "platform/core/PathText.h"
#include "platform/core/win/Handles.h"
#include "platform/core/win/Security.h"

namespace cv {

namespace {

constexpr size_t kFirstBufferSize = MAX_PATH;
constexpr size_t kMaxListPattern = 32766;
constexpr int kTempFileAttempts = 10;

// Calls fill(buffer, size) until the text fits; fill returns the length it
// wrote, or the size it needs when that is larger, or 0 on failure.
template <typename Fill>
std::wstring ReadGrowing(Fill fill) {
  std::wstring buffer(kFirstBufferSize, L'\0');
  for (int i = 0; i < 8; ++i) {
    DWORD n = fill(buffer.data(), static_cast<DWORD>(buffer.size()));
    if (n == 0) return std::wstring();
    if (n < buffer.size()) {
      buffer.resize(n);
      return buffer;
    }
    buffer.resize(std::max<size_t>(n + 1, buffer.size() * 2));
  }
  return std::wstring();
}

bool HasWildcard(const std::wstring& path) {
  // A listing of "*" or "?" would find other files; "\\?\" is no wildcard.
  size_t from = HasLongPathPrefix(path) ? 4 : 0;
  return path.find_first_of(L"*?", from) != std::wstring::npos;
}

std::mutex gTempFolderLock;
std::wstring gTempFolder;

}  // namespace

std::wstring GetModulePath(HMODULE module) {
  return ReadGrowing([module](wchar_t* buffer, DWORD size) -> DWORD {
    DWORD n = GetModuleFileNameW(module, buffer, size);
    return n >= size ? size : n;  // truncated: ask for a larger buffer
  });
}

std::wstring GetWindowsFolder() {
  return ReadGrowing([](wchar_t* buffer, DWORD size) { return GetWindowsDirectoryW(buffer, size); });
}

std::wstring GetSystemFolder() {
  return ReadGrowing([](wchar_t* buffer, DWORD size) { return GetSystemDirectoryW(buffer, size); });
}

std::wstring ComputeTempFolder(bool localSystem, GetTempPath2Function tempPath2, const std::wstring& windowsFolder) {
  if (!localSystem)
    return ReadGrowing([](wchar_t* buffer, DWORD size) { return GetTempPathW(size, buffer); });
  std::wstring folder;
  if (tempPath2) {
    folder = ReadGrowing([tempPath2](wchar_t* buffer, DWORD size) { return tempPath2(size, buffer); });
  } else if (!windowsFolder.empty()) {
    folder = EnsureTrailingBackslash(windowsFolder) + L"SystemTemp\\";
  }
  if (!folder.empty() && !PathExists(folder)) {
    // Only SYSTEM and the administrators may use the system's temporary folder.
    SecurityDescriptorBuilder builder;
    builder.AddAccount(L"S-1-5-18", true);
    builder.AddAccount(L"S-1-5-32-544", true);
    if (Result<PSECURITY_DESCRIPTOR> descriptor = builder.Build()) {
      SECURITY_ATTRIBUTES attributes{sizeof(attributes), *descriptor, FALSE};
      CreateDirectoryW(ToLongPath(folder).c_str(), &attributes);
    }
  }
  return folder;
}

std::wstring GetTempFolder() {
  std::lock_guard<std::mutex> lock(gTempFolderLock);
  if (gTempFolder.empty()) {
    static const auto tempPath2 = FindKernel32Function<GetTempPath2Function>("GetTempPath2W");
    bool localSystem = IsLocalSystem();
    gTempFolder = ComputeTempFolder(localSystem, tempPath2, localSystem ? GetWindowsFolder() : std::wstring());
  }
  return gTempFolder;
}

std::wstring CreateTempFile(const std::wstring& prefix, const std::wstring& extension) {
  std::wstring ext = (!extension.empty() && extension[0] == L'.') ? extension.substr(1) : extension;
  for (int attempt = 0; attempt < kTempFileAttempts; ++attempt) {
    wchar_t name[MAX_PATH + 1] = {};
    if (GetTempFileNameW(GetTempFolder().c_str(), prefix.c_str(), 0, name) == 0) return std::wstring();
    std::wstring path = name;
    if (ext.empty()) return path;
    size_t slash = path.rfind(L'\\');
    size_t dot = path.rfind(L'.');
    std::wstring renamed =
        (dot != std::wstring::npos && (slash == std::wstring::npos || dot > slash) ? path.substr(0, dot) : path) +
        L"." + ext;
    if (MoveFileW(path.c_str(), ToLongPath(renamed).c_str())) return renamed;
    DeleteFileW(path.c_str());  // the name with the extension is taken: try another
  }
  return std::wstring();
}

std::wstring GetFinalPath(const std::wstring& path) {
  UniqueFile file(CreateFileW(ToLongPath(path).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                              FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (!file) return path;
  std::wstring final = ReadGrowing([&file](wchar_t* buffer, DWORD size) {
    return GetFinalPathNameByHandleW(file.get(), buffer, size, FILE_NAME_NORMALIZED);
  });
  return final.empty() ? path : final;
}

Result<FileInfo> GetFileInfo(const std::wstring& path) {
  if (path.empty()) return Failure{ERROR_INVALID_PARAMETER};
  if (path.size() < 2) return Failure{ERROR_PATH_NOT_FOUND};
  bool absolute = (path[0] == L'\\' && path[1] == L'\\') || path[1] == L':';
  if (!absolute) return Failure{ERROR_PATH_NOT_FOUND};
  if (HasWildcard(path)) return Failure{ERROR_INVALID_NAME};
  // A folder written with its closing backslash is still found.
  std::wstring query = path.size() > 3 && path.back() == L'\\' ? path.substr(0, path.size() - 1) : path;
  WIN32_FIND_DATAW data;
  UniqueFind find(FindFirstFileW(ToLongPath(query).c_str(), &data));
  if (!find) return Failure{GetLastError()};
  FileInfo info;
  info.lastWrite = data.ftLastWriteTime;
  info.size = (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
  return info;
}

bool PathExists(const std::wstring& path) { return GetFileInfo(path).ok(); }

bool IsFolder(const std::wstring& path) {
  DWORD attributes = GetFileAttributesW(ToLongPath(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

DWORD CreateFolderTree(const std::wstring& path, bool includeLast, std::vector<std::wstring>* created) {
  if (PathExists(path)) return 0;
  auto create = [](const std::wstring& folder) -> FolderCreationResult {
    if (CreateDirectoryW(ToLongPath(folder).c_str(), nullptr)) return {FolderOutcome::Created, 0};
    DWORD error = GetLastError();
    return {error == ERROR_ALREADY_EXISTS ? FolderOutcome::AlreadyThere : FolderOutcome::Failed, error};
  };
  return CreateFolderLevels(path, includeLast, create, [](const std::wstring& folder) { RemoveFolder(folder); },
                            created);
}

bool RemoveFolder(const std::wstring& path) { return RemoveDirectoryW(ToLongPath(path).c_str()) != FALSE; }

bool DeleteFileLong(const std::wstring& path) { return DeleteFileW(ToLongPath(path).c_str()) != FALSE; }

namespace {

// Calls visit(full path, find data) for each entry other than "." and "..".
template <typename Visit>
bool ForEachEntry(const std::wstring& folder, Visit visit) {
  std::wstring pattern = ToLongPath(folder) + L"\\*";
  if (pattern.size() > kMaxListPattern) return false;
  WIN32_FIND_DATAW data;
  UniqueFind find(FindFirstFileW(pattern.c_str(), &data));
  if (!find) return false;
  do {
    std::wstring name = data.cFileName;
    if (name == L"." || name == L"..") continue;
    visit(folder + L"\\" + name, data);
  } while (FindNextFileW(find.get(), &data));
  return true;
}

void ClearReadOnly(const std::wstring& path, DWORD attributes) {
  if (attributes & FILE_ATTRIBUTE_READONLY)
    SetFileAttributesW(ToLongPath(path).c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
}

std::wstring WithoutTrailingBackslash(std::wstring folder) {
  if (!folder.empty() && folder.back() == L'\\') folder.pop_back();
  return folder;
}

}  // namespace

void DeleteFolderTree(const std::wstring& folder) {
  ForEachEntry(WithoutTrailingBackslash(folder), [](const std::wstring& path, const WIN32_FIND_DATAW& data) {
    if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
      ClearReadOnly(path, data.dwFileAttributes);
      DeleteFileLong(path);
    } else if (!(data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
      DeleteFolderTree(path);
      ClearReadOnly(path, data.dwFileAttributes);
      RemoveFolder(path);
    }
  });
}

void RemoveEmptyFolders(const std::wstring& folder, const std::wstring& root) {
  std::optional<std::wstring> canonical = CanonicalPath(folder);
  if (!canonical) return;
  // Without a root the drive or share is the limit.
  for (std::wstring current = *canonical; root.empty() ? IsBelowVolumeRoot(current) : IsPathUnder(current, root);
       current = GetParentFolder(current))
    RemoveFolder(current);
}

bool ListSubfolders(const std::wstring& folder, std::vector<std::wstring>& subfolders) {
  size_t before = subfolders.size();
  ForEachEntry(WithoutTrailingBackslash(folder), [&subfolders](const std::wstring& path, const WIN32_FIND_DATAW& data) {
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) subfolders.push_back(path);
  });
  return subfolders.size() > before;
}

std::optional<size_t> CountFolderEntries(const std::wstring& folder) {
  size_t count = 0;
  bool listed =
      ForEachEntry(WithoutTrailingBackslash(folder), [&count](const std::wstring&, const WIN32_FIND_DATAW&) { ++count; });
  if (!listed) return std::nullopt;
  return count;
}

bool GetEnvVar(const std::wstring& name, std::wstring& value) {
  value.clear();
  SetLastError(0);
  DWORD needed = GetEnvironmentVariableW(name.c_str(), nullptr, 0);
  if (needed == 0) return GetLastError() != ERROR_ENVVAR_NOT_FOUND;
  for (int i = 0; i < 4; ++i) {
    std::wstring buffer(needed, L'\0');
    DWORD n = GetEnvironmentVariableW(name.c_str(), buffer.data(), needed);
    if (n < needed) {
      buffer.resize(n);
      value = std::move(buffer);
      return true;
    }
    needed = n;  // the value grew in between
  }
  return false;
}

}  // namespace cv
