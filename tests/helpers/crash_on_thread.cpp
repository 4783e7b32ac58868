// Test helper: installs the program's exception handling, then crashes on a
// secondary thread with a write to address 0. Nothing handles it there, so
// the process-wide filter reports it in the error dialog.
#include <windows.h>

#include "platform/core/win/ExceptionHandling.h"

namespace {

volatile uintptr_t nullAddress = 0;

DWORD WINAPI Crash(void*) {
  *reinterpret_cast<volatile int*>(nullAddress) = 1;
  return 0;
}

}  // namespace

int main() {
  cv::ExceptionHandlingScope handling(cv::ExceptionHandlingScope::TopLevelFilter::Install);
  HANDLE thread = CreateThread(nullptr, 0, Crash, nullptr, 0, nullptr);
  if (!thread) return 2;
  WaitForSingleObject(thread, INFINITE);
  CloseHandle(thread);
  return 3;  // not reached: the filter ends the process
}
