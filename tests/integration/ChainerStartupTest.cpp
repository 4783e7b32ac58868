// Runs the real program, copied into a scratch folder under various names,
// with configurations beside it.
#include <gtest/gtest.h>

#include <thread>

#include "support/WinTestSupport.h"

using cvtest::ScratchFolder;

namespace {

const wchar_t kMutexName[] = L"Global\\_MSIExecute";

class ChainerStartup : public ::testing::Test {
 protected:
  // Copies the program into the scratch folder under the given name.
  std::wstring Install(const std::wstring& name, const std::wstring& subfolder = L"") {
    std::wstring folder = subfolder.empty() ? dir_.Path() : dir_ / subfolder;
    cv::CreateFolderTree(folder, true);
    std::wstring path = folder + L"\\" + name;
    EXPECT_TRUE(CopyFileW(cvtest::BuiltProgram(L"cvpackagechainer.exe").c_str(), path.c_str(), FALSE));
    return path;
  }
  static bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

  ScratchFolder dir_;
};

TEST_F(ChainerStartup, WithoutConfigurationExitsZeroAndTouchesNothing) {
  std::wstring exe = Install(L"cvpackagechainer.exe");
  EXPECT_EQ(cvtest::RunProgram(exe), 0);
  EXPECT_TRUE(Exists(exe));
  EXPECT_EQ(cv::CountFolderEntries(dir_.Path()), 1u);
}

TEST_F(ChainerStartup, ConfigurationNameFollowsTheProgramName) {
  // The configuration is deleted at exit only when it was read and holds PREREQ_CHAINER.
  const std::wstring config = L"[PREREQ_CHAINER]\r\nCleanupFolders=\r\n";
  struct Case {
    const wchar_t* program;
    const wchar_t* configuration;
  } cases[] = {{L"setup.ver2.exe", L"setup.ver2.ini"}, {L"setup", L"setup.ini"}, {L"Other.EXE", L"Other.ini"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.program);
    std::wstring exe = Install(c.program);
    std::wstring decoy = dir_ / L"cvpackagechainer.ini";
    ASSERT_TRUE(cvtest::WriteUtf16File(dir_ / c.configuration, config));
    ASSERT_TRUE(cvtest::WriteUtf16File(decoy, config));
    EXPECT_EQ(cvtest::RunProgram(exe), 0);
    EXPECT_FALSE(Exists(dir_ / c.configuration));
    EXPECT_TRUE(Exists(decoy));
    DeleteFileW(exe.c_str());
    DeleteFileW(decoy.c_str());
  }
}

TEST_F(ChainerStartup, MalformedConfigurationsEndWithZero) {
  std::string huge = "\xFF\xFE";
  std::wstring line = L"[S]\r\nkey = value = more\r\n\r\n\x0001\x0002=[\r\n";
  while (huge.size() < (24u << 20)) huge += cvtest::Utf16Le(line, false);
  const std::string cases[] = {
      "",
      "\xFF",
      "\xFF\xFE",
      "[GeneralOptions]\r\nOptions=q\r\n",  // UTF-8: read as UTF-16 it is noise
      cvtest::Utf16Le(L"[PREREQUISITES]\r\nApp1=x\r\n[App1]\r\nSearchType1=3\r\n"),
      cvtest::Utf16Le(L"\xFEFF[GeneralOptions\r\n=\r\n[]\r\n]\r\n[[[\r\n=x=y\r\n") + "\x41",
      huge,
  };
  std::wstring exe = Install(L"cvpackagechainer.exe");
  for (const std::string& bytes : cases) {
    SCOPED_TRACE(testing::Message() << "configuration of " << bytes.size() << " bytes");
    ASSERT_TRUE(cvtest::WriteBytes(dir_ / L"cvpackagechainer.ini", bytes));
    EXPECT_EQ(cvtest::RunProgram(exe), 0);
    EXPECT_TRUE(Exists(exe));
  }
}

TEST_F(ChainerStartup, CleanupDeletesConfigurationAndListedFilesBelowTheRoot) {
  std::wstring root = dir_ / L"pkg";
  // However the root is written, only what lies below it goes.
  for (const std::wstring& written : {root, root + L"\\", dir_ / L"PKG/"}) {
    SCOPED_TRACE(testing::PrintToString(written));
    std::wstring exe = Install(L"cvpackagechainer.exe", L"pkg\\bin");
    std::wstring inside = root + L"\\data\\inside.txt";
    std::wstring outside = dir_ / L"outside.txt";
    std::wstring sibling = dir_ / L"pkg2\\x.txt";  // begins with the root's text
    std::wstring climbing = root + L"\\..\\outside.txt";
    std::wstring kept = root + L"\\kept.txt";
    cv::CreateFolderTree(inside, false);
    cv::CreateFolderTree(sibling, false);
    for (const auto& f : {inside, outside, sibling, kept}) ASSERT_TRUE(cvtest::WriteBytes(f, "x"));
    std::wstring ini = root + L"\\bin\\cvpackagechainer.ini";
    ASSERT_TRUE(cvtest::WriteUtf16File(
        ini, L"[PREREQ_CHAINER]\r\nCleanupFiles=" + inside + L"\x0001" + outside + L"\x0001" + sibling + L"\x0001" +
                 climbing + L"\x0001" + root + L"\\missing.txt\x0001\r\nCleanupFolders=" + written + L"\r\n"));

    EXPECT_EQ(cvtest::RunProgram(exe), 0);
    EXPECT_FALSE(Exists(ini));
    EXPECT_FALSE(Exists(inside));
    EXPECT_FALSE(Exists(root + L"\\data")) << "emptied folders below the root go too";
    EXPECT_TRUE(Exists(outside)) << "files outside the clean-up root stay";
    EXPECT_TRUE(Exists(sibling));
    EXPECT_TRUE(Exists(kept));
    EXPECT_TRUE(Exists(exe)) << "a running program cannot delete itself";
    EXPECT_TRUE(Exists(root));
  }
}

TEST_F(ChainerStartup, WithoutChainerSectionNothingIsDeleted) {
  std::wstring exe = Install(L"cvpackagechainer.exe");
  std::wstring listed = dir_ / L"listed.txt";
  ASSERT_TRUE(cvtest::WriteBytes(listed, "x"));
  std::wstring ini = dir_ / L"cvpackagechainer.ini";
  ASSERT_TRUE(cvtest::WriteUtf16File(ini, L"[GeneralOptions]\r\nOptions=q\r\nCleanupFiles=" + listed + L"\r\n"));
  EXPECT_EQ(cvtest::RunProgram(exe), 0);
  EXPECT_TRUE(Exists(ini));
  EXPECT_TRUE(Exists(listed));
}

TEST_F(ChainerStartup, AbandonedInstallerMutexGivesOne) {
  HANDLE mutex = nullptr;
  // The thread that owns the mutex ends without releasing it.
  std::thread owner([&mutex] { mutex = CreateMutexW(nullptr, TRUE, kMutexName); });
  owner.join();
  ASSERT_NE(mutex, nullptr);
  cv::UniqueHandle owned(mutex);
  std::wstring exe = Install(L"cvpackagechainer.exe");
  ASSERT_TRUE(cvtest::WriteUtf16File(dir_ / L"cvpackagechainer.ini", L"[GeneralOptions]\r\nOptions=q\r\n"));
  EXPECT_EQ(cvtest::RunProgram(exe), 1);
}

TEST_F(ChainerStartup, WaitsForTheInstallerMutexAndReleasesIt) {
  cv::UniqueHandle mutex(CreateMutexW(nullptr, TRUE, kMutexName));
  ASSERT_TRUE(mutex);
  std::wstring exe = Install(L"cvpackagechainer.exe");
  ASSERT_TRUE(cvtest::WriteUtf16File(dir_ / L"cvpackagechainer.ini", L"[GeneralOptions]\r\nOptions=q\r\n"));

  int64_t exitCode = -100;
  std::thread run([&] { exitCode = cvtest::RunProgram(exe); });
  Sleep(1500);
  EXPECT_EQ(exitCode, -100) << "the program must wait while an installation runs";
  ReleaseMutex(mutex.get());
  run.join();
  EXPECT_EQ(exitCode, 0);
  // Released, not abandoned: the next installation can take it normally.
  EXPECT_EQ(WaitForSingleObject(mutex.get(), 5000), WAIT_OBJECT_0);
  ReleaseMutex(mutex.get());
}

}  // namespace
