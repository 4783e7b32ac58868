// Writes the language condition's log lines: log_language LOGFILE LIST...
// The logger belongs to the whole process, so tests run this program to see
// what one process logs.
#include <windows.h>
#include <shellapi.h>

#include "detection/win/Language.h"
#include "detection/win/WindowsVersion.h"
#include "platform/core/win/Logger.h"

int main() {
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  if (argv == nullptr || argc < 2) return 2;
  cv::EnableLogging();
  cv::SetLogOsLineSource(&cv::OsLogLine);
  cv::SetLogFile(argv[1]);
  for (int i = 2; i < argc; ++i) cv::LanguageAllowed(argv[i]);
  return 0;
}
