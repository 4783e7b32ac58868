// Walks a folder tree for a file name down to a depth, as the file version
// search does, and prints whether it was found and the seconds it took (wall
// clock, inside the process).
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>

#include "detection/win/FileSearches.h"

int wmain(int argc, wchar_t** argv) {
  if (argc < 4) {
    fwprintf(stderr, L"usage: file_search_bench FOLDER NAME DEPTH\n");
    return 2;
  }
  LARGE_INTEGER frequency, start, end;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&start);
  std::optional<std::wstring> found = cv::FindFileInFolder(argv[1], argv[2], std::wcstol(argv[3], nullptr, 10));
  QueryPerformanceCounter(&end);
  printf("%s %.3f\n", found ? "found" : "absent", double(end.QuadPart - start.QuadPart) / double(frequency.QuadPart));
  return 0;
}
