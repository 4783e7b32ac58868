// Process entry: no arguments; the exit code is the chainer's.
#include <windows.h>

#include "chainer/win/Chainer.h"
#include "platform/core/win/Handles.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int) {
  int32_t exitCode = 0;
  {
    cv::ComScope com(COINIT_APARTMENTTHREADED);
    cv::Chainer chainer;
    chainer.Run();
    exitCode = chainer.ExitCode();
  }
  return exitCode;
}
