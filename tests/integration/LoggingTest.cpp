// Runs the real program with a LogFile in its configuration and reads the log.
#include <gtest/gtest.h>
#include <shlobj.h>

#include <regex>
#include <vector>

#include "platform/core/Text.h"
#include "support/WinTestSupport.h"

using cvtest::ScratchFolder;

namespace {

const wchar_t kHeader[] =
    L"\r\n<< Corvane \\(x86\\) Log >>\r\n"
    L"OS Version: \\d+\\.\\d+\\.\\d+ SP\\d+ \\((server|workstation)\\) \\[(x86|x64)\\]\r\n"
    L"CPU: [^\r\n]*\r\n"
    L"\r\n";
const wchar_t kFooterLine[] =
    L"\\d{4}-\\d\\d-\\d\\d \\d\\d-\\d\\d-\\d\\d-=====================End of Log=====================\r\n\r\n";

// One run's part of the log: header block, any lines, footer line.
std::wstring RunBlock() { return std::wstring(L"(") + kHeader + L"[\\s\\S]*?" + kFooterLine + L")"; }

// Runs the program as its debugger and collects what it sends to the debugger
// output; returns its exit code, or -2 when it did not start, -3 on time-out.
int64_t RunCollectingDebugOutput(const std::wstring& program, std::wstring& output) {
  std::wstring commandLine = L"\"" + program + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION info{};
  if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, DEBUG_ONLY_THIS_PROCESS, nullptr,
                      nullptr, &startup, &info))
    return -2;
  cv::UniqueHandle process(info.hProcess), thread(info.hThread);
  for (;;) {
    DEBUG_EVENT event{};
    if (!WaitForDebugEvent(&event, 60000)) {
      TerminateProcess(process.get(), 99);
      return -3;
    }
    DWORD status = DBG_CONTINUE;
    switch (event.dwDebugEventCode) {
      case OUTPUT_DEBUG_STRING_EVENT: {
        const OUTPUT_DEBUG_STRING_INFO& text = event.u.DebugString;
        size_t unit = text.fUnicode ? 2 : 1;
        std::vector<uint8_t> bytes(text.nDebugStringLength * unit);
        SIZE_T read = 0;
        ReadProcessMemory(process.get(), text.lpDebugStringData, bytes.data(), bytes.size(), &read);
        std::wstring piece = text.fUnicode ? cv::WideFromUtf16Le(bytes.data(), read)
                                           : std::wstring(bytes.begin(), bytes.begin() + read);
        output += piece.substr(0, piece.find(L'\0')) + L"\n";
        break;
      }
      case EXCEPTION_DEBUG_EVENT:
        if (event.u.Exception.ExceptionRecord.ExceptionCode != EXCEPTION_BREAKPOINT) status = DBG_EXCEPTION_NOT_HANDLED;
        break;
      case CREATE_PROCESS_DEBUG_EVENT:
        if (event.u.CreateProcessInfo.hFile) CloseHandle(event.u.CreateProcessInfo.hFile);
        break;
      case LOAD_DLL_DEBUG_EVENT:
        if (event.u.LoadDll.hFile) CloseHandle(event.u.LoadDll.hFile);
        break;
      case EXIT_PROCESS_DEBUG_EVENT:
        ContinueDebugEvent(event.dwProcessId, event.dwThreadId, DBG_CONTINUE);
        return static_cast<int32_t>(event.u.ExitProcess.dwExitCode);
    }
    ContinueDebugEvent(event.dwProcessId, event.dwThreadId, status);
  }
}

class Logging : public ::testing::Test {
 protected:
  std::wstring Install(const std::wstring& name) {
    std::wstring path = dir_ / name;
    EXPECT_TRUE(CopyFileW(cvtest::BuiltProgram(L"cvpackagechainer.exe").c_str(), path.c_str(), FALSE));
    return path;
  }
  // The configuration is deleted at exit (it holds PREREQ_CHAINER), so every run writes it anew.
  int64_t RunWithLogFile(const std::wstring& exe, const std::wstring& logFile) {
    std::wstring ini = exe.substr(0, exe.rfind(L'.')) + L".ini";
    EXPECT_TRUE(cvtest::WriteUtf16File(ini, L"[PREREQ_CHAINER]\r\nLogFile=" + logFile + L"\r\n"));
    debugOutput_.clear();
    return RunCollectingDebugOutput(exe, debugOutput_);
  }
  bool DebugOutputHas(const std::wstring& text) const { return debugOutput_.find(text) != std::wstring::npos; }
  static bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }
  static std::wstring CommonLogsFolder() {
    wchar_t path[MAX_PATH] = {};
    SHGetFolderPathW(nullptr, CSIDL_COMMON_APPDATA, nullptr, SHGFP_TYPE_CURRENT, path);
    return std::wstring(path) + L"\\CORVANE_LOGS";
  }
  static std::wstring UniqueName(const wchar_t* stem) {
    return stem + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(GetTickCount());
  }

  ScratchFolder dir_;
  std::wstring debugOutput_;
};

TEST_F(Logging, EachRunAppendsAHeaderBlockAndAFooter) {
  std::wstring exe = Install(L"cvpackagechainer.exe");
  std::wstring log = dir_ / L"setup log.txt";

  ASSERT_EQ(RunWithLogFile(exe, log), 0);
  EXPECT_TRUE(DebugOutputHas(L"Logger::SetLogFile( " + log + L" ) while OLD path is:\n"));
  EXPECT_TRUE(DebugOutputHas(L"LOGGER->Creating LOG file at:" + log + L"\r\n"));
  std::wstring first = cvtest::ReadUtf16File(log);
  EXPECT_TRUE(std::regex_match(first, std::wregex(RunBlock()))) << "got " << first.size() << " characters";

  ASSERT_EQ(RunWithLogFile(exe, log), 0);
  EXPECT_TRUE(DebugOutputHas(L"LOGGER->Reusing LOG file at:" + log + L"\r\n"));
  std::wstring both = cvtest::ReadUtf16File(log);
  EXPECT_EQ(both.substr(0, first.size()), first) << "the first run's text stays as it was";
  EXPECT_TRUE(std::regex_match(both, std::wregex(RunBlock() + RunBlock())));
  EXPECT_EQ(both.find(L'\xFEFF'), std::wstring::npos) << "a single byte-order mark, at the start";
  // The reused file's block starts with an empty line before the banner.
  EXPECT_NE(both.find(L"=\r\n\r\n\r\n<< Corvane (x86) Log >>\r\n"), std::wstring::npos);
}

TEST_F(Logging, UnwritableLogFileFallsBackToTheCommonLogsFolder) {
  std::wstring name = UniqueName(L"cvlogfallback");
  std::wstring exe = Install(name + L".exe");
  std::wstring fallback = CommonLogsFolder() + L"\\" + name + L".LOG";

  std::wstring unwritable = dir_ / L"missing\\setup.log";
  ASSERT_EQ(RunWithLogFile(exe, unwritable), 0);
  EXPECT_TRUE(DebugOutputHas(L"LOGGER->failed to create LOG at:" + unwritable + L"\n"));
  EXPECT_TRUE(DebugOutputHas(L"LOGGER->Creating LOG file at:" + fallback + L"\r\n")) << "got " << debugOutput_.size();
  std::wstring text = cvtest::ReadUtf16File(fallback);
  DeleteFileW(fallback.c_str());
  EXPECT_TRUE(std::regex_match(text, std::wregex(RunBlock()))) << "got " << text.size() << " characters";
  EXPECT_FALSE(Exists(dir_ / L"missing"));
  EXPECT_FALSE(Exists(dir_ / (name + L".LOG")));
}

TEST_F(Logging, EmptyLogFileWritesNoLogAnywhere) {
  std::wstring name = UniqueName(L"cvnolog");
  std::wstring exe = Install(name + L".exe");
  ASSERT_EQ(RunWithLogFile(exe, L""), 0);
  EXPECT_FALSE(DebugOutputHas(L"LOGGER->"));
  EXPECT_FALSE(Exists(CommonLogsFolder() + L"\\" + name + L".LOG"));
  EXPECT_FALSE(Exists(cv::GetTempFolder() + L"CORVANE_LOGS\\" + name + L".LOG"));
  EXPECT_EQ(cv::CountFolderEntries(dir_.Path()), 1u) << "only the program itself is left";
}

}  // namespace
