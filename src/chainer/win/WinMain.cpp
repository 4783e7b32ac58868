// Process entry: no arguments; the exit code is the chainer's.
#include <windows.h>

#include "chainer/win/Chainer.h"
#include "platform/core/win/Handles.h"
#include "platform/core/win/SystemLibrary.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int) {
  // Before anything loads a library: the program's folder is typically a
  // download folder where anyone can leave a DLL named like a system one.
  cv::RestrictDllSearchToSystemFolder();
  int32_t exitCode = 0;
  {
    cv::ComScope com(COINIT_APARTMENTTHREADED);
    cv::Chainer chainer;
    chainer.Run();
    exitCode = chainer.ExitCode();
  }
  return exitCode;
}
