#include "platform/core/win/SystemLibrary.h"

#include <string>

#include "platform/core/PathText.h"
#include "platform/core/win/FileSystem.h"

namespace cv {

namespace {

// LOAD_LIBRARY_SEARCH_* flags exist exactly where AddDllDirectory does
// (Windows 8, or 7 and Vista with the DLL-directory update); elsewhere
// LoadLibraryExW rejects them.
bool SearchFlagsSupported() {
  static const bool supported = FindKernel32Function<FARPROC>("AddDllDirectory") != nullptr;
  return supported;
}

}  // namespace

UniqueLibrary LoadSystemLibrary(const wchar_t* name) {
  if (SearchFlagsSupported()) return UniqueLibrary(LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32));
  std::wstring system = GetSystemFolder();
  if (system.empty()) return UniqueLibrary();
  // The full path; the library's own imports are then looked for beside it first.
  return UniqueLibrary(
      LoadLibraryExW((EnsureTrailingBackslash(system) + name).c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH));
}

bool RestrictDllSearchToSystemFolder() {
  using SetDefaultDllDirectoriesFunction = BOOL(WINAPI*)(DWORD);
  auto restrict = FindKernel32Function<SetDefaultDllDirectoriesFunction>("SetDefaultDllDirectories");
  return restrict && restrict(LOAD_LIBRARY_SEARCH_SYSTEM32);
}

}  // namespace cv
