#include "platform/core/win/ProcessExecution.h"

#include <gtest/gtest.h>

#include <map>

#include "platform/core/Text.h"
#include "support/WinTestSupport.h"

using namespace cv;
using cvtest::ScratchFolder;

namespace {

const std::wstring& Helper() {
  static const std::wstring path = cvtest::BuiltProgram(L"exit_with.exe");
  return path;
}

std::wstring Quoted(const std::wstring& text) { return L"\"" + text + L"\""; }

// What exit_with recorded: commandLine, folder, showWindow, flags.
std::map<std::wstring, std::wstring> ReadRecord(const std::wstring& path) {
  std::string bytes = cvtest::ReadBytes(path);
  std::map<std::wstring, std::wstring> record;
  for (const std::wstring& line :
       SplitText(WideFromUtf16Le(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()), L"\r\n", true)) {
    size_t equals = line.find(L'=');
    if (equals != std::wstring::npos) record[line.substr(0, equals)] = line.substr(equals + 1);
  }
  return record;
}

bool WaitForFile(const std::wstring& path, DWORD timeoutMs) {
  for (DWORD waited = 0; waited < timeoutMs; waited += 50) {
    if (!ReadRecord(path).empty()) return true;
    Sleep(50);
  }
  return false;
}

int gTicks = 0;
void CALLBACK CountTick(HWND, UINT, UINT_PTR, DWORD) { ++gTicks; }

class ProcessExecution : public ::testing::Test {
 protected:
  ScratchFolder dir_;
};

}  // namespace

TEST_F(ProcessExecution, RunProcessAndWaitKeepsExitCodesApartFromStartErrors) {
  const struct {
    std::wstring application, commandLine;
    DWORD startError;
    std::optional<uint32_t> exitCode;
  } cases[] = {
      {Helper(), Quoted(Helper()) + L" 3010", 0, 3010u},
      // Without an application name the command line names the program.
      {L"", Quoted(Helper()) + L" 4294967295", 0, 0xFFFFFFFFu},
      // A child that exits with 2 ran: 2 is its code, not "file not found".
      {Helper(), Quoted(Helper()) + L" 2", 0, 2u},
      {Helper(), L"", 0, 255u},
      {dir_ / L"missing.exe", L"missing.exe 1", ERROR_FILE_NOT_FOUND, std::nullopt},
      {L"", L"", ERROR_INVALID_PARAMETER, std::nullopt},
  };
  for (const auto& c : cases) {
    ProcessOutcome outcome = RunProcessAndWait(c.application, c.commandLine);
    EXPECT_EQ(outcome.startError, c.startError) << c.commandLine;
    EXPECT_EQ(outcome.Started(), c.startError == 0) << c.commandLine;
    EXPECT_EQ(outcome.exitCode, c.exitCode) << c.commandLine;
  }
}

TEST_F(ProcessExecution, RunProcessAndWaitKeepsTheCurrentFolderAndLetsTheChildChooseItsWindow) {
  std::wstring record = dir_ / L"record.txt";
  ASSERT_TRUE(RunProcessAndWait(Helper(), Quoted(Helper()) + L" 0 --record " + Quoted(record)).Started());
  auto fields = ReadRecord(record);
  wchar_t current[MAX_PATH] = {};
  GetCurrentDirectoryW(MAX_PATH, current);
  EXPECT_EQ(fields[L"folder"], current);
  EXPECT_EQ(ParseInteger(fields[L"flags"]) & STARTF_USESHOWWINDOW, 0);
}

TEST_F(ProcessExecution, ShellOpenAndWaitRunsInTheFilesFolderWithoutTheLongPathPrefix) {
  std::wstring folder = dir_ / L"setup dir";
  ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
  std::wstring setup = folder + L"\\setup.exe";
  ASSERT_TRUE(CopyFileW(Helper().c_str(), setup.c_str(), FALSE));
  std::wstring record = dir_ / L"record.txt";

  EXPECT_EQ(ShellOpenAndWait(L"\\\\?\\" + setup, L"3010 --record " + Quoted(record), false).exitCode, 3010u);
  auto fields = ReadRecord(record);
  EXPECT_TRUE(EqualsIgnoreAsciiCase(fields[L"folder"], folder)) << fields[L"folder"];
  EXPECT_EQ(fields[L"commandLine"].find(L"\\\\?\\"), std::wstring::npos) << fields[L"commandLine"];
  EXPECT_NE(fields[L"commandLine"].find(L"setup.exe"), std::wstring::npos) << fields[L"commandLine"];
}

TEST_F(ProcessExecution, ShellOpenAndWaitWithoutFolderKeepsTheCurrentOne) {
  // The program is found on the PATH; its own folder is not the current one.
  std::wstring record = dir_ / L"record.txt";
  wchar_t previous[MAX_PATH] = {};
  GetCurrentDirectoryW(MAX_PATH, previous);
  std::wstring path;
  GetEnvVar(L"PATH", path);
  SetEnvironmentVariableW(L"PATH", (cvtest::FolderOfThisProgram() + L";" + path).c_str());
  ASSERT_TRUE(SetCurrentDirectoryW(dir_.Path().c_str()));

  ProcessOutcome outcome = ShellOpenAndWait(L"exit_with.exe", L"7 --record " + Quoted(record), false);
  SetCurrentDirectoryW(previous);
  SetEnvironmentVariableW(L"PATH", path.c_str());

  EXPECT_TRUE(outcome.Started());
  EXPECT_EQ(outcome.exitCode, 7u);
  EXPECT_TRUE(EqualsIgnoreAsciiCase(ReadRecord(record)[L"folder"], dir_.Path())) << ReadRecord(record)[L"folder"];
}

TEST_F(ProcessExecution, ShellOpenAndWaitShowsOrHidesTheChild) {
  // Windows hands the show command to the child through STARTUPINFO; so does Wine.
  for (bool hidden : {true, false}) {
    SCOPED_TRACE(hidden ? "hidden" : "shown");
    std::wstring record = dir_ / (hidden ? L"hidden.txt" : L"shown.txt");
    EXPECT_EQ(ShellOpenAndWait(Helper(), L"0 --record " + Quoted(record), hidden).exitCode, 0u);
    auto fields = ReadRecord(record);
    EXPECT_NE(ParseInteger(fields[L"flags"]) & STARTF_USESHOWWINDOW, 0);
    EXPECT_EQ(ParseInteger(fields[L"showWindow"]), hidden ? SW_HIDE : SW_SHOWNORMAL);
  }
}

TEST_F(ProcessExecution, ShellOpenAndWaitFailuresComeBackQuietly) {
  ProcessOutcome missing = ShellOpenAndWait(dir_ / L"missing.exe", L"", true);
  EXPECT_EQ(missing.startError, static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
  EXPECT_EQ(missing.exitCode, std::nullopt);

  // No association and no dialog: the call returns on its own.
  std::wstring document = dir_ / L"document.cvnoassoc";
  ASSERT_TRUE(cvtest::WriteBytes(document, "x"));
  EXPECT_FALSE(ShellOpenAndWait(document, L"", true).Started());
}

TEST_F(ProcessExecution, ShellOpenAndWaitRunsASetupAtADriveRootInThatRoot) {
  // "C:" alone would be the drive's current folder, which is not its root here.
  std::wstring root = GetWindowsFolder().substr(0, 3);
  std::wstring setup = root + L"cvtest-root-setup-" + std::to_wstring(GetCurrentProcessId()) + L".exe";
  ASSERT_TRUE(CopyFileW(Helper().c_str(), setup.c_str(), FALSE));
  std::wstring record = dir_ / L"record.txt";
  ProcessOutcome outcome;
  {
    cvtest::CurrentFolder current(dir_.Path());
    outcome = ShellOpenAndWait(setup, L"0 --record " + Quoted(record), true);
  }
  DeleteFileW(setup.c_str());
  EXPECT_EQ(outcome.exitCode, 0u);
  EXPECT_TRUE(EqualsIgnoreAsciiCase(ReadRecord(record)[L"folder"], root)) << ReadRecord(record)[L"folder"];
}

TEST_F(ProcessExecution, ShellStartDetachedReturnsAtOnceInTheGivenFolder) {
  std::wstring record = dir_ / L"record.txt";
  DWORD start = GetTickCount();
  EXPECT_TRUE(ShellStartDetached(Helper(), L"0 --sleep 1500 --record " + Quoted(record), dir_.Path()));
  EXPECT_LT(GetTickCount() - start, 1400u) << "the start must not wait for the child";
  ASSERT_TRUE(WaitForFile(record, 20000));
  auto fields = ReadRecord(record);
  EXPECT_TRUE(EqualsIgnoreAsciiCase(fields[L"folder"], dir_.Path())) << fields[L"folder"];
  EXPECT_EQ(ParseInteger(fields[L"showWindow"]), SW_HIDE);
  EXPECT_TRUE(ShellStartDetached(dir_ / L"missing.exe", L"", L""));
  Sleep(300);  // the child ends right after it has recorded
}

TEST_F(ProcessExecution, WaitWithMessagePumpDispatchesWhileWaiting) {
  EXPECT_FALSE(WaitWithMessagePump(nullptr));

  std::wstring commandLine = Quoted(Helper()) + L" 0 --sleep 600";
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION info{};
  ASSERT_TRUE(CreateProcessW(Helper().c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                             &startup, &info));
  UniqueHandle process(info.hProcess), thread(info.hThread);

  gTicks = 0;
  UINT_PTR timer = SetTimer(nullptr, 0, 20, CountTick);
  ASSERT_NE(timer, 0u);
  EXPECT_TRUE(WaitWithMessagePump(process.get()));
  KillTimer(nullptr, timer);
  EXPECT_EQ(WaitForSingleObject(process.get(), 0), WAIT_OBJECT_0);
  EXPECT_GT(gTicks, 2) << "timer messages must be dispatched during the wait";
}
