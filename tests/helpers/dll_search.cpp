// Loads a library by its name alone, as a system DLL loading a dependency
// does: dll_search NAME [restricted]. With "restricted" the program first
// limits the default search to the system folder, as the chainer does at
// start. Exit code: 1 when the library was loaded, 0 when not, 2 when the
// restriction could not be set.
#include <windows.h>
#include <shellapi.h>

#include "platform/core/win/SystemLibrary.h"

int main() {
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  if (argv == nullptr || argc < 2) return 3;
  if (argc > 2 && lstrcmpW(argv[2], L"restricted") == 0 && !cv::RestrictDllSearchToSystemFolder()) return 2;
  return LoadLibraryW(argv[1]) != nullptr ? 1 : 0;
}
