// Hashes one file with the program's ComputeFileMd5 and prints the digest
// and the seconds it took (wall clock, inside the process).
#include <windows.h>

#include <cstdio>
#include <string>

#include "platform/core/win/FileMd5.h"

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) {
    fwprintf(stderr, L"usage: md5_bench FILE\n");
    return 2;
  }
  LARGE_INTEGER frequency, start, end;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&start);
  char digest[33];
  bool ok = cv::ComputeFileMd5(argv[1], digest);
  QueryPerformanceCounter(&end);
  if (!ok) return 1;
  printf("%s %.3f\n", digest, double(end.QuadPart - start.QuadPart) / double(frequency.QuadPart));
  return 0;
}
