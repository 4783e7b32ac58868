// A GUI program that imports version.dll statically: the program check must
// refuse it, as it would refuse the real program with such an import.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  DWORD ignored = 0;
  return GetFileVersionInfoSizeW(L"kernel32.dll", &ignored) != 0 ? 0 : 1;
}
