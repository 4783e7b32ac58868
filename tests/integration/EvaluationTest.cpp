// Runs the real program on a package whose prerequisites are all in place or
// do not apply to this machine, and reads what it logged.
#include <gtest/gtest.h>

#include <regex>

#include "detection/win/Language.h"
#include "detection/win/WindowsVersion.h"
#include "platform/core/Text.h"
#include "platform/core/win/RegistryKey.h"
#include "support/WinTestSupport.h"

using cvtest::ScratchFolder;

namespace {

// Built by the build with wixl (cmake/windows.cmake): version 4.8.2.
const wchar_t kRuntimeProduct[] = L"{6C1D0A52-3B0E-4E55-9C1B-5E0A7D3F0011}";
const wchar_t kRuntimeUpgradeCode[] = L"{6C1D0A52-3B0E-4E55-9C1B-5E0A7D3F00BB}";

// The machine as the test leaves it: the product and the key go again.
class Evaluation : public ::testing::Test {
 protected:
  void TearDown() override {
    cvtest::Msiexec(std::wstring(L"/x ") + kRuntimeProduct);
    cv::RegistryKey::DeleteTree(HKEY_CURRENT_USER, registryPath_, cv::RegistryView::k32);
  }

  std::wstring registryPath_ = L"Software\\CorvaneEvaluationTest-" + std::to_wstring(GetCurrentProcessId());
  ScratchFolder dir_;
};

// Each line's time stamp made a fixed text, so the rest compares exactly.
std::wstring WithoutTimes(const std::wstring& text) {
  return std::regex_replace(text, std::wregex(L"\\d{4}-\\d\\d-\\d\\d \\d\\d-\\d\\d-\\d\\d-"), L"<time>-");
}

}  // namespace

TEST_F(Evaluation, EverythingFoundOrNotApplicableEndsWithNothingToInstall) {
  // What the searches find: a registry value, a file two folders down, an
  // installed Windows Installer product.
  cv::Result<cv::RegistryKey> key =
      cv::RegistryKey::Create(HKEY_CURRENT_USER, registryPath_ + L"\\Runtime", cv::RegistryView::k32);
  ASSERT_TRUE(key.ok()) << key.error();
  ASSERT_EQ(key->WriteString(L"Version", L"4.8"), 0u);
  ASSERT_TRUE(CreateDirectoryW((dir_ / L"tools").c_str(), nullptr));
  ASSERT_TRUE(CreateDirectoryW((dir_ / L"tools\\x64").c_str(), nullptr));
  ASSERT_TRUE(CopyFileW(cvtest::BuiltProgram(L"version_product.exe").c_str(), (dir_ / L"tools\\x64\\tool.exe").c_str(),
                        FALSE));
  ASSERT_EQ(cvtest::Msiexec(L"/i \"" + cvtest::BuiltProgram(L"chain-runtime.msi") + L"\""), 0u);

  std::wstring exe = dir_ / L"setup.exe";
  ASSERT_TRUE(CopyFileW(cvtest::BuiltProgram(L"cvpackagechainer.exe").c_str(), exe.c_str(), FALSE));
  // Silent: evaluated on the main thread; otherwise on a worker while the
  // main thread keeps its windows alive. The log is the same.
  for (const wchar_t* options : {L"q", L""}) {
    SCOPED_TRACE(options);
    std::wstring log = dir_ / (std::wstring(L"setup-") + options + L".log");
    const std::wstring family = cv::OsFamilyName();
    ASSERT_TRUE(cvtest::WriteUtf16File(
        dir_ / L"setup.ini",
        L"[GeneralOptions]\r\nOptions=" + std::wstring(options) + L"\r\n"
        L"[PREREQUISITES]\r\nApp1=Runtime Setting\r\nApp2=Tool\r\nApp3=Runtime\r\nApp4=Old System Fix\r\n"
        L"App5=German Pack\r\nApp6=ARM64 Driver\r\n"
        L"[App1]\r\nSetupFile=a.exe\r\nOptions=m\r\nSearchType1=9\r\nSearchString1=HKCU\\" + registryPath_ +
            L"\\Runtime\\Version\r\nRefContent1=M4.8\r\n"
        L"[App2]\r\nSetupFile=b.exe\r\nSearchType1=0\r\nSearchString1=" + dir_.Path() +
            L"\\tool.exe?2\r\nVerMin1=1.2\r\nVerMax1=1.3\r\n"
        L"[App3]\r\nUrl=http://127.0.0.1:1/runtime.msi\r\nOptions=m\r\nSearchType1=4\r\nSearchString1=" +
            kRuntimeUpgradeCode + L"\r\nVerMin1=4.8\r\n"
        L"[App4]\r\nSetupFile=c.exe\r\nOptions=m\r\nWinNTVersions=" + family + L"\r\nWinNT64Versions=" + family + L"\r\n"
        L"[App5]\r\nSetupFile=d.exe\r\nLanguageList=1031;\r\n"
        L"[App6]\r\nSetupFile=e.exe\r\nOptions=id\r\n"
        L"[PREREQ_CHAINER]\r\nLogFile=" + log + L"\r\n"));

    ASSERT_EQ(cvtest::RunProgram(exe), 0);

    const std::wstring header = L"\r\n<< Corvane (x86) Log >>\r\n" + cv::OsLogLine() + L"\r\n";
    std::wstring text = cvtest::ReadUtf16File(log);
    ASSERT_EQ(text.compare(0, header.size(), header), 0) << "got " << text.size() << " characters";
    std::wstring body = WithoutTimes(text.substr(text.find(L"\r\n\r\n", header.size()) + 4));
    EXPECT_EQ(body,
              L"<time>-Searching for:Runtime Setting\r\n"
              L"<time>-Search result:An acceptable version was found.\r\n"
              L"<time>-Searching for:Tool\r\n"
              L"<time>-Search result:An acceptable version was found.\r\n"
              L"<time>-Searching for:Runtime\r\n"
              L"<time>-Search result:An acceptable version was found.\r\n"
              L"<time>-Wrong OS or Os language for:Old System Fix\r\n"
              L"<time>-SystemDefault LangID=" + cv::LanguageDescription(GetSystemDefaultLangID()) + L"\r\n"
              L"<time>-Wrong OS or Os language for:German Pack\r\n"
              L"<time>-No prerequisite must be installed.\r\n"
              L"<time>-=====================End of Log=====================\r\n\r\n");
  }
}

TEST_F(Evaluation, ReturnCodesOfAnEarlierRunGoWhenNoRestartIsPending) {
  cv::Result<cv::RegistryKey> store =
      cv::RegistryKey::Create(HKEY_CURRENT_USER, L"InterbootContext", cv::RegistryView::k32);
  ASSERT_TRUE(store.ok());
  ASSERT_EQ(store->WriteString(L"SETUP_RET", L"3010"), 0u);
  store = cv::RegistryKey();
  std::wstring exe = dir_ / L"setup.exe";
  ASSERT_TRUE(CopyFileW(cvtest::BuiltProgram(L"cvpackagechainer.exe").c_str(), exe.c_str(), FALSE));
  ASSERT_TRUE(cvtest::WriteUtf16File(dir_ / L"setup.ini", L"[GeneralOptions]\r\nOptions=q\r\n"
                                                          L"[PREREQUISITES]\r\nApp1=Nothing\r\n"
                                                          L"[App1]\r\nSetupFile=a.exe\r\n"));
  EXPECT_EQ(cvtest::RunProgram(exe), 0);
  EXPECT_EQ(cv::RegistryKey::Open(HKEY_CURRENT_USER, L"InterbootContext", cv::RegistryView::k32).error(),
            static_cast<uint32_t>(ERROR_FILE_NOT_FOUND));
}

TEST_F(Evaluation, MissingMandatoryPrerequisiteIsNotReportedAsInPlace) {
  // Nothing installs it yet; the exit code must still say it is missing.
  std::wstring exe = dir_ / L"setup.exe";
  ASSERT_TRUE(CopyFileW(cvtest::BuiltProgram(L"cvpackagechainer.exe").c_str(), exe.c_str(), FALSE));
  const std::wstring missing = L"[App1]\r\nSetupFile=a.exe\r\nSearchType1=5\r\nSearchString1=HKCU\\" + registryPath_ +
                               L"\\Absent\r\n";
  ASSERT_TRUE(cvtest::WriteUtf16File(dir_ / L"setup.ini", L"[GeneralOptions]\r\nOptions=q\r\n"
                                                          L"[PREREQUISITES]\r\nApp1=Absent\r\n" +
                                                              missing + L"Options=m\r\n"));
  EXPECT_EQ(cvtest::RunProgram(exe), 1);
  ASSERT_TRUE(cvtest::WriteUtf16File(dir_ / L"setup.ini", L"[GeneralOptions]\r\nOptions=q\r\n"
                                                          L"[PREREQUISITES]\r\nApp1=Absent\r\n" +
                                                              missing));
  EXPECT_EQ(cvtest::RunProgram(exe), 0) << "an optional prerequisite that is missing fails nothing";
}
