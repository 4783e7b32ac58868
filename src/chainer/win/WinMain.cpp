// Process entry: no arguments; the exit code is the chainer's.
#include <windows.h>

#include "chainer/win/Chainer.h"
#include "chainer/win/Entry.h"
#include "platform/core/win/Handles.h"
#include "platform/core/win/SystemLibrary.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int) {
  // Before anything loads a library: the program's folder is typically a
  // download folder where anyone can leave a DLL named like a system one.
  cv::RestrictDllSearchToSystemFolder();
  return cv::RunGuarded([] {
    cv::ComScope com(COINIT_APARTMENTTHREADED);
    cv::Chainer chainer;
    chainer.Run();
    return chainer.ExitCode();
  });
}
