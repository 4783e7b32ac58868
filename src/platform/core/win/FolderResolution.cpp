#include "platform/core/win/FolderResolution.h"

#include <shlobj.h>

#include <cstring>
#include <vector>

#include "platform/core/PathText.h"
#include "platform/core/ReferenceExpansion.h"
#include "platform/core/Text.h"
#include "platform/core/win/FileSystem.h"
#include "platform/core/win/SystemLibrary.h"

namespace cv {

namespace {

struct ItemListTraits {
  static LPITEMIDLIST Invalid() { return nullptr; }
  static void Close(LPITEMIDLIST list) { CoTaskMemFree(list); }
};
using UniqueItemList = UniqueResource<LPITEMIDLIST, ItemListTraits>;

struct ShellFolderName {
  const wchar_t* name;
  int csidl;
};

const ShellFolderName kShellFolders[] = {
    {L"ProgramFilesFolder", CSIDL_PROGRAM_FILES},
    {L"CommonFilesFolder", CSIDL_PROGRAM_FILES_COMMON},
    {L"DesktopFolder", CSIDL_DESKTOPDIRECTORY},
    {L"AllUsersDesktopFolder", CSIDL_COMMON_DESKTOPDIRECTORY},
    {L"AppDataFolder", CSIDL_APPDATA},
    {L"FavoritesFolder", CSIDL_FAVORITES},
    {L"StartMenuFolder", CSIDL_STARTMENU},
    {L"ProgramMenuFolder", CSIDL_PROGRAMS},
    {L"StartupFolder", CSIDL_STARTUP},
    {L"FontsFolder", CSIDL_FONTS},
    {L"LocalAppDataFolder", CSIDL_LOCAL_APPDATA},
    {L"CommonAppDataFolder", CSIDL_COMMON_APPDATA},
    {L"ProgramFiles", CSIDL_PROGRAM_FILES},
    {L"ProgramFiles64Folder", CSIDL_PROGRAM_FILES},
};

std::optional<std::wstring> AsFolder(const std::wstring& path) {
  if (path.empty()) return std::nullopt;
  return EnsureTrailingBackslash(path);
}

using SHGetFolderPathFunction = HRESULT(WINAPI*)(HWND, int, HANDLE, DWORD, LPWSTR);

// shfolder.dll stays loaded for the rest of the process once needed.
struct ShFolderLibrary {
  UniqueLibrary library;
  SHGetFolderPathFunction getFolderPath = nullptr;
};

const ShFolderLibrary& ShFolder() {
  static const ShFolderLibrary shfolder = [] {
    ShFolderLibrary loaded;
    loaded.library = LoadSystemLibrary(L"shfolder.dll");
    loaded.getFolderPath = FindFunction<SHGetFolderPathFunction>(loaded.library.get(), "SHGetFolderPathW");
    return loaded;
  }();
  return shfolder;
}

std::optional<std::wstring> ShellFolder(int csidl) {
  if (std::optional<std::wstring> path = ShellFolderFromIdList(csidl)) return AsFolder(*path);
  const ShFolderLibrary& shfolder = ShFolder();
  if (shfolder.getFolderPath) {
    wchar_t path[MAX_PATH] = {};
    if (shfolder.getFolderPath(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path) == S_OK) return AsFolder(path);
  }
  return std::nullopt;
}

const std::wstring& SetupExeFolder() {
  static const std::wstring folder = [] {
    std::wstring path = GetModulePath();
    size_t slash = path.rfind(L'\\');
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash + 1);
  }();
  return folder;
}

class WindowsReferenceResolver final : public IReferenceResolver {
 public:
  std::optional<std::wstring> ResolveFolder(const std::wstring& name, bool use64) const override {
    return cv::ResolveFolder(name, use64);
  }
  std::wstring EnvironmentValue(const std::wstring& name) const override {
    std::wstring value;
    GetEnvVar(name, value);
    return value;
  }
  std::wstring RegistryValueText(const std::wstring& reference, bool use64) const override {
    HKEY root = RegistryRootFromPath(reference);
    if (!root) return std::wstring();
    RegistryValuePath path = SplitRegistryValuePath(reference);
    Result<RegistryKey> key = RegistryKey::Open(root, path.key, RegistryViewFor(use64), KEY_QUERY_VALUE);
    if (!key) return std::wstring();
    return ReadRegistryValueText(*key, path.value).value_or(std::wstring());
  }
};

}  // namespace

std::optional<std::wstring> ShellFolderFromIdList(int csidl) {
  UniqueItemList list;
  if (SHGetSpecialFolderLocation(nullptr, csidl, list.put()) != S_OK || !list) return std::nullopt;
  wchar_t path[MAX_PATH] = {};
  if (!SHGetPathFromIDListW(list.get(), path)) return std::nullopt;
  return std::wstring(path);
}

std::optional<std::wstring> ResolveFolder(const std::wstring& name, bool use64) {
  if (name == L"ProgramFiles64Folder") {
    std::wstring value;
    if (GetEnvVar(L"ProgramW6432", value) && !value.empty()) return EnsureTrailingBackslash(value);
  } else if (name == L"SystemFolder") {
    wchar_t path[MAX_PATH] = {};
    if (SHGetFolderPathW(nullptr, use64 ? CSIDL_SYSTEM : CSIDL_SYSTEMX86, nullptr, SHGFP_TYPE_CURRENT, path) != S_OK)
      return std::nullopt;
    return AsFolder(path);
  } else if (name == L"System32Folder") {
    return AsFolder(GetSystemFolder());
  } else if (name == L"WindowsFolder") {
    return AsFolder(GetWindowsFolder());
  } else if (name == L"WindowsVolume") {
    std::wstring windows = GetWindowsFolder();
    if (windows.size() < 3) return std::nullopt;
    return windows.substr(0, 3);
  } else if (name == L"TempFolder") {
    return AsFolder(GetTempFolder());
  } else if (name == L"SETUPEXEDIR") {
    return AsFolder(SetupExeFolder());
  }
  for (const ShellFolderName& folder : kShellFolders)
    if (name == folder.name) return ShellFolder(folder.csidl);
  return std::nullopt;
}

std::wstring ExpandReferences(const std::wstring& text, bool use64) {
  static const WindowsReferenceResolver resolver;
  return ExpandReferences(text, use64, resolver);
}

HKEY RegistryRootFromPath(const std::wstring& path) { return RegistryRootKey(ParseRegistryRoot(path)); }

HKEY RegistryRootKey(RegistryRoot root) {
  switch (root) {
    case RegistryRoot::None: return nullptr;
    case RegistryRoot::LocalMachine: return HKEY_LOCAL_MACHINE;
    case RegistryRoot::CurrentUser: return HKEY_CURRENT_USER;
    case RegistryRoot::ClassesRoot: return HKEY_CLASSES_ROOT;
    case RegistryRoot::CurrentConfig: return HKEY_CURRENT_CONFIG;
    case RegistryRoot::Users: return HKEY_USERS;
  }
  return nullptr;
}

std::optional<std::wstring> ReadRegistryValueText(const RegistryKey& key, const std::wstring& valueName) {
  Result<RegistryValue> value = key.ReadValue(valueName);
  if (!value) return std::nullopt;
  const std::vector<BYTE>& data = value->data;
  switch (value->type) {
    case REG_SZ:
    case REG_EXPAND_SZ:
    case REG_MULTI_SZ: {
      std::wstring text(data.size() / sizeof(wchar_t), L'\0');
      if (!text.empty()) std::memcpy(text.data(), data.data(), text.size() * sizeof(wchar_t));
      while (!text.empty() && text.back() == L'\0') text.pop_back();
      return text;
    }
    case REG_DWORD: {
      if (data.size() < sizeof(DWORD)) return std::nullopt;
      DWORD number = 0;
      std::memcpy(&number, data.data(), sizeof(number));
      return FormatText(L"%u", static_cast<unsigned>(number));
    }
    default:
      return std::nullopt;
  }
}

}  // namespace cv
