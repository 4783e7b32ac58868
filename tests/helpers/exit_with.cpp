// Test helper: exits with the code it is given. Usage:
//   exit_with CODE [--record FILE] [--sleep MILLISECONDS]
// --record writes, as UTF-16LE lines, the command line, the current folder and
// the show state the starter passed in STARTUPINFO.
#include <windows.h>
#include <shellapi.h>

#include <cwchar>
#include <string>

namespace {

void Record(const wchar_t* path) {
  wchar_t folder[32768] = {};
  GetCurrentDirectoryW(32768, folder);
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  GetStartupInfoW(&startup);
  std::wstring text = std::wstring(L"commandLine=") + GetCommandLineW() + L"\r\nfolder=" + folder +
                      L"\r\nshowWindow=" + std::to_wstring(startup.wShowWindow) +
                      L"\r\nflags=" + std::to_wstring(startup.dwFlags) + L"\r\n";
  HANDLE file = CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  WriteFile(file, text.data(), static_cast<DWORD>(text.size() * sizeof(wchar_t)), &written, nullptr);
  CloseHandle(file);
}

}  // namespace

int main() {
  int count = 0;
  wchar_t** args = CommandLineToArgvW(GetCommandLineW(), &count);
  if (!args || count < 2) return 255;
  unsigned long code = std::wcstoul(args[1], nullptr, 10);
  for (int i = 2; i + 1 < count; i += 2) {
    std::wstring option = args[i];
    if (option == L"--record") Record(args[i + 1]);
    if (option == L"--sleep") Sleep(static_cast<DWORD>(std::wcstoul(args[i + 1], nullptr, 10)));
  }
  LocalFree(args);
  return static_cast<int>(code);
}
