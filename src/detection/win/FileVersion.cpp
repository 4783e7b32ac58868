#include "detection/win/FileVersion.h"

#include <shlobj.h>

#include <memory>
#include <new>

#include "detection/win/WindowsVersion.h"
#include "platform/core/Text.h"
#include "platform/core/win/FileSystem.h"
#include "platform/core/win/SystemLibrary.h"

namespace cv {

namespace {

constexpr WORD kDefaultLanguage = 1033;
constexpr WORD kDefaultCodePage = 1250;

// Some failing calls leave the last error at 0; never report those as success.
DWORD LastErrorOr(DWORD fallback) {
  DWORD error = GetLastError();
  return error != ERROR_SUCCESS ? error : fallback;
}

// version.dll is no KnownDLL: it is loaded from the system folder, once, and
// stays loaded for the rest of the process.
struct VersionFunctions {
  UniqueLibrary library;
  decltype(&GetFileVersionInfoSizeW) infoSize = nullptr;
  decltype(&GetFileVersionInfoW) info = nullptr;
  decltype(&VerQueryValueW) query = nullptr;

  bool Loaded() const { return infoSize && info && query; }
};

const VersionFunctions& Version() {
  static const VersionFunctions functions = [] {
    VersionFunctions loaded;
    loaded.library = LoadSystemLibrary(L"version.dll");
    loaded.infoSize = FindFunction<decltype(&GetFileVersionInfoSizeW)>(loaded.library.get(), "GetFileVersionInfoSizeW");
    loaded.info = FindFunction<decltype(&GetFileVersionInfoW)>(loaded.library.get(), "GetFileVersionInfoW");
    loaded.query = FindFunction<decltype(&VerQueryValueW)>(loaded.library.get(), "VerQueryValueW");
    return loaded;
  }();
  return functions;
}

DWORD LoadVersionResource(const std::wstring& path, std::unique_ptr<BYTE[]>& resource) {
  const VersionFunctions& version = Version();
  if (!version.Loaded()) return ERROR_MOD_NOT_FOUND;
  DWORD ignored = 0;
  DWORD size = version.infoSize(path.c_str(), &ignored);
  if (size == 0) return LastErrorOr(ERROR_RESOURCE_TYPE_NOT_FOUND);
  resource.reset(new (std::nothrow) BYTE[size]);
  if (!resource) return ERROR_NOT_ENOUGH_MEMORY;
  if (!version.info(path.c_str(), 0, size, resource.get())) return LastErrorOr(ERROR_RESOURCE_DATA_NOT_FOUND);
  return ERROR_SUCCESS;
}

// Only called on a resource that LoadVersionResource filled, so the table is loaded.
BOOL QueryVersionValue(const BYTE* resource, const wchar_t* subBlock, void** value, UINT* length) {
  return Version().query(resource, subBlock, value, length);
}

// A temporary copy of a file; the copy is deleted with the object.
class ShimClone {
 public:
  ShimClone(const std::wstring& source, bool wow64) : path_(CreateTempFile(L"shim_clone")) {
    if (path_.empty()) return;
    FileSystemRedirectionOff redirection(wow64);
    copied_ = CopyFileW(source.c_str(), path_.c_str(), FALSE) != FALSE;
  }
  ~ShimClone() {
    if (!path_.empty()) DeleteFileW(path_.c_str());
  }
  ShimClone(const ShimClone&) = delete;
  ShimClone& operator=(const ShimClone&) = delete;

  bool Copied() const { return copied_; }
  const std::wstring& Path() const { return path_; }

 private:
  std::wstring path_;
  bool copied_ = false;
};

// Files of the Windows folder are read through a copy elsewhere: for them
// Windows 10 may not answer with the file's own version resource.
bool NeedsShimClone(const std::wstring& path, const FileVersionFacts& facts) {
  return facts.windows10OrLater && !facts.windowsFolder.empty() &&
         path.compare(0, facts.windowsFolder.size(), facts.windowsFolder) == 0;
}

}  // namespace

FileVersionFacts RunningSystemFileVersionFacts() {
  FileVersionFacts facts;
  facts.windows10OrLater = IsWindowsVersionOrLater(10, 0, 0, 0);
  wchar_t folder[MAX_PATH] = {};
  if (SUCCEEDED(SHGetFolderPathW(nullptr, CSIDL_WINDOWS, nullptr, SHGFP_TYPE_CURRENT, folder)))
    facts.windowsFolder = folder;
  facts.wow64 = GetOsInfo().isWow64;
  return facts;
}

DWORD ReadFileVersion(const std::wstring& path, DWORD& mostSignificant, DWORD& leastSignificant) {
  return ReadFileVersion(path, mostSignificant, leastSignificant, RunningSystemFileVersionFacts());
}

DWORD ReadFileVersion(const std::wstring& path, DWORD& mostSignificant, DWORD& leastSignificant,
                      const FileVersionFacts& facts) {
  std::unique_ptr<ShimClone> clone;
  if (NeedsShimClone(path, facts)) clone = std::make_unique<ShimClone>(path, facts.wow64);
  const std::wstring& source = clone && clone->Copied() ? clone->Path() : path;

  std::unique_ptr<BYTE[]> resource;
  if (DWORD error = LoadVersionResource(source, resource)) return error;
  VS_FIXEDFILEINFO* info = nullptr;
  UINT length = 0;
  if (QueryVersionValue(resource.get(), L"\\", reinterpret_cast<void**>(&info), &length) && info &&
      length >= sizeof(VS_FIXEDFILEINFO)) {
    mostSignificant = info->dwFileVersionMS;
    leastSignificant = info->dwFileVersionLS;
  }
  return ERROR_SUCCESS;
}

std::wstring FileVersionText(const std::wstring& path) {
  DWORD most = 0, least = 0;
  if (ReadFileVersion(path, most, least) != ERROR_SUCCESS) return L"0.0.0.0";
  return FormatText(L"%d.%d.%d.%d", HIWORD(most), LOWORD(most), HIWORD(least), LOWORD(least));
}

bool ReadProductName(const std::wstring& path, std::wstring& productName) {
  productName.clear();
  std::unique_ptr<BYTE[]> resource;
  if (LoadVersionResource(path, resource) != ERROR_SUCCESS) return false;
  WORD language = kDefaultLanguage, codePage = kDefaultCodePage;
  WORD* translation = nullptr;
  UINT length = 0;
  if (QueryVersionValue(resource.get(), L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation),
                     &length) &&
      translation && length >= 2 * sizeof(WORD)) {
    language = translation[0];
    codePage = translation[1];
  }
  const std::wstring query = FormatText(L"\\StringFileInfo\\%04x%04x\\ProductName", language, codePage);
  wchar_t* value = nullptr;
  length = 0;
  if (!QueryVersionValue(resource.get(), query.c_str(), reinterpret_cast<void**>(&value), &length) || !value)
    return false;
  // The length counts characters and may include the terminating null.
  productName.assign(value, wcsnlen(value, length));
  return !productName.empty();
}

}  // namespace cv
