// Owners of the Windows handles the program uses.
#pragma once
#include <windows.h>

#include "platform/core/UniqueResource.h"

namespace cv {

struct KernelHandleTraits {
  static HANDLE Invalid() { return nullptr; }
  static void Close(HANDLE h) { ::CloseHandle(h); }
};
// CreateFileW and FindFirstFileW report failure with INVALID_HANDLE_VALUE.
struct FileHandleTraits {
  static HANDLE Invalid() { return INVALID_HANDLE_VALUE; }
  static void Close(HANDLE h) { ::CloseHandle(h); }
};
struct FindHandleTraits {
  static HANDLE Invalid() { return INVALID_HANDLE_VALUE; }
  static void Close(HANDLE h) { ::FindClose(h); }
};
struct RegistryKeyTraits {
  static HKEY Invalid() { return nullptr; }
  static void Close(HKEY k) { ::RegCloseKey(k); }
};
struct LocalMemoryTraits {
  static HLOCAL Invalid() { return nullptr; }
  static void Close(HLOCAL p) { ::LocalFree(p); }
};
struct LibraryTraits {
  static HMODULE Invalid() { return nullptr; }
  static void Close(HMODULE m) { ::FreeLibrary(m); }
};

using UniqueHandle = UniqueResource<HANDLE, KernelHandleTraits>;
using UniqueFile = UniqueResource<HANDLE, FileHandleTraits>;
using UniqueFind = UniqueResource<HANDLE, FindHandleTraits>;
using UniqueKey = UniqueResource<HKEY, RegistryKeyTraits>;
using UniqueLocal = UniqueResource<HLOCAL, LocalMemoryTraits>;
using UniqueLibrary = UniqueResource<HMODULE, LibraryTraits>;

// An export of a module, or null when the module or the export is missing
// (functions newer than the oldest supported Windows are looked up this way).
template <typename Function>
Function FindFunction(HMODULE module, const char* name) {
  return module ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name))) : nullptr;
}

// An export of kernel32, which every process has loaded.
template <typename Function>
Function FindKernel32Function(const char* name) {
  return FindFunction<Function>(GetModuleHandleW(L"kernel32.dll"), name);
}

// COM initialisation of the calling thread, undone only when it succeeded with S_OK.
class ComScope {
 public:
  explicit ComScope(DWORD model);
  ~ComScope();
  ComScope(const ComScope&) = delete;
  ComScope& operator=(const ComScope&) = delete;

 private:
  bool uninitialize_;
};

}  // namespace cv
