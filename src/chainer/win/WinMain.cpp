// Process entry: no arguments; the exit code is the chainer's.
#include <windows.h>

#include <exception>
#include <string>

#include "chainer/win/Chainer.h"
#include "platform/core/win/Handles.h"
#include "platform/core/win/Logger.h"
#include "platform/core/win/SystemLibrary.h"

namespace {

// Nothing the run could not finish may read as success to the package that
// started us: an escaped exception ends the process with 1, after the
// chainer's own clean-up has run during the unwinding.
constexpr int kFailedRun = 1;

void LogEscapedException(const char* what) {
  if (!cv::LoggingEnabled()) return;
  std::wstring text;
  for (const char* c = what; *c; ++c) text.push_back(static_cast<wchar_t>(static_cast<unsigned char>(*c)));
  cv::WriteLine(L"Unhandled exception: " + text);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int) {
  // Before anything loads a library: the program's folder is typically a
  // download folder where anyone can leave a DLL named like a system one.
  cv::RestrictDllSearchToSystemFolder();
  int32_t exitCode = 0;
  try {
    cv::ComScope com(COINIT_APARTMENTTHREADED);
    cv::Chainer chainer;
    chainer.Run();
    exitCode = chainer.ExitCode();
  } catch (const std::exception& exception) {
    LogEscapedException(exception.what());
    exitCode = kFailedRun;
  } catch (...) {
    LogEscapedException("unknown");
    exitCode = kFailedRun;
  }
  return exitCode;
}
