// Writes lines through the program's logger into a file and prints the
// seconds it took (wall clock, inside the process, header block included).
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "detection/win/WindowsVersion.h"
#include "platform/core/win/Logger.h"

int wmain(int argc, wchar_t** argv) {
  if (argc < 3) {
    fwprintf(stderr, L"usage: log_bench FILE LINES\n");
    return 2;
  }
  const int lines = _wtoi(argv[2]);
  const std::wstring message = L"Searching for:Microsoft Visual C++ 2015-2022 Redistributable (x64)";
  LARGE_INTEGER frequency, start, end;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&start);
  cv::EnableLogging();
  cv::SetLogOsLineSource(&cv::OsLogLine);
  cv::SetLogFile(argv[1]);
  for (int i = 0; i < lines; ++i) cv::WriteLine(message);
  QueryPerformanceCounter(&end);
  printf("%.3f\n", double(end.QuadPart - start.QuadPart) / double(frequency.QuadPart));
  return 0;
}
