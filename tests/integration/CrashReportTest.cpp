// A crash on a secondary thread of a program with the exception handling
// installed ends in the error dialog; closing it ends the process with the
// exception's code.
#include <gtest/gtest.h>

#include "support/WinTestSupport.h"

namespace {

struct Search {
  DWORD processId;
  HWND found;
};

BOOL CALLBACK TakeDialogOfProcess(HWND window, LPARAM parameter) {
  auto* s = reinterpret_cast<Search*>(parameter);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  wchar_t name[16] = {};
  GetClassNameW(window, name, 16);
  if (owner != s->processId || std::wstring(name) != L"#32770" || !IsWindowVisible(window)) return TRUE;
  s->found = window;
  return FALSE;
}

HWND FindDialogOfProcess(DWORD processId, HANDLE process) {
  for (int i = 0; i < 1000 && WaitForSingleObject(process, 0) == WAIT_TIMEOUT; ++i) {
    Search search{processId, nullptr};
    EnumWindows(TakeDialogOfProcess, reinterpret_cast<LPARAM>(&search));
    if (search.found) return search.found;
    Sleep(30);
  }
  return nullptr;
}

// WM_GETTEXT crosses the process boundary; GetWindowText would not ask the control.
std::wstring TextOf(HWND window) {
  std::wstring text(65536, L'\0');
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG,
                           5000, &length))
    return L"<no answer>";
  text.resize(length);
  return text;
}

TEST(CrashReport, UnhandledCrashOnASecondaryThreadShowsTheReportThenEnds) {
  std::wstring program = cvtest::BuiltProgram(L"crash_on_thread.exe");
  std::wstring commandLine = L"\"" + program + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION info{};
  ASSERT_TRUE(CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                             &startup, &info));
  cv::UniqueHandle process(info.hProcess), thread(info.hThread);

  HWND dialog = FindDialogOfProcess(info.dwProcessId, process.get());
  if (!dialog) TerminateProcess(process.get(), 99);
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(TextOf(dialog), L"Error");
  EXPECT_EQ(TextOf(GetDlgItem(dialog, 501)), L"");  // the program has no text for unhandled exceptions
  EXPECT_EQ(TextOf(GetDlgItem(dialog, 1)), L"Close");
  EXPECT_EQ(TextOf(GetDlgItem(dialog, 503)), L"Details >>");
  std::wstring details = TextOf(GetDlgItem(dialog, 502));
  EXPECT_EQ(details.rfind(L"[EXCEPTION_UNHANDLED] (0xc0000005) at address [0x", 0), 0u) << testing::PrintToString(details);
  EXPECT_NE(details.find(L"\r\n*** Stack Trace (x86) ***\r\n\r\n"), std::wstring::npos);
  EXPECT_NE(details.find(L"]  MODULE_BASE_ADDRESS\r\n"), std::wstring::npos);
  // The dialog holds the process until it is closed.
  EXPECT_EQ(WaitForSingleObject(process.get(), 300), static_cast<DWORD>(WAIT_TIMEOUT));

  PostMessageW(dialog, WM_COMMAND, IDOK, 0);
  ASSERT_EQ(WaitForSingleObject(process.get(), 30000), WAIT_OBJECT_0);
  DWORD code = 0;
  GetExitCodeProcess(process.get(), &code);
  EXPECT_EQ(code, 0xC0000005u);
}

}  // namespace
