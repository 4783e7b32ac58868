#include "chainer/CleanupSettings.h"

#include <gtest/gtest.h>

#include <set>

using namespace cv;

namespace {

struct Result {
  CleanupSettings settings;
  CleanupScriptRunner runner;
};

Result Load(const std::wstring& section, const std::wstring& exe = L"C:\\pkg\\bin\\setup.exe") {
  IniDocument doc;
  doc.Parse(section);
  std::set<std::wstring> existing = {L"C:\\pkg\\a.txt", L"C:\\pkg\\b.txt", L"D:\\elsewhere.txt"};
  Result r;
  LoadCleanupSettings(
      doc, exe, L"C:\\pkg\\bin\\setup.ini", [&](const std::wstring& p) { return existing.count(p) > 0; }, r.settings,
      r.runner);
  return r;
}

using V = std::vector<std::wstring>;

}  // namespace

TEST(CleanupSettings, FilesBelowTheRootThatExistAndTheConfiguration) {
  Result r = Load(L"[PREREQ_CHAINER]\r\nCleanupFolders=C:\\pkg\r\nCleanupScript=C:\\pkg\\clean.ps1\r\n"
                  L"CleanupFiles=C:\\pkg\\a.txt\x0001\x0001" L"D:\\elsewhere.txt\x0001" L"C:\\pkg\\gone.txt\x0001"
                  L"C:\\pkg\\b.txt\r\n");
  EXPECT_EQ(r.settings.filesToDelete, (V{L"C:\\pkg\\a.txt", L"C:\\pkg\\b.txt", L"C:\\pkg\\bin\\setup.ini"}));
  EXPECT_EQ(r.runner.Paths(), (V{L"C:\\pkg\\clean.ps1", L"C:\\pkg\\bin\\setup.exe", L"C:\\pkg\\bin"}));
  EXPECT_EQ(r.runner.RetryCount(), 10);
}

TEST(CleanupSettings, SemicolonsDoNotSeparateFiles) {
  Result r = Load(L"[PREREQ_CHAINER]\r\nCleanupFiles=C:\\pkg\\a.txt;C:\\pkg\\b.txt\r\n");
  EXPECT_EQ(r.settings.filesToDelete, (V{L"C:\\pkg\\bin\\setup.ini"}));
}

TEST(CleanupSettings, EmptyRootWalksUpToTheDrive) {
  Result r = Load(L"[PREREQ_CHAINER]\r\nCleanupFiles=D:\\elsewhere.txt\r\n");
  EXPECT_EQ(r.settings.filesToDelete, (V{L"D:\\elsewhere.txt", L"C:\\pkg\\bin\\setup.ini"}));
  EXPECT_EQ(r.runner.Paths(), (V{L"C:\\pkg\\bin\\setup.exe", L"C:\\pkg\\bin", L"C:\\pkg", L"C:"}));
}

TEST(CleanupSettings, RootThatThePathNeverReachesStopsAtTheDrive) {
  Result r = Load(L"[PREREQ_CHAINER]\r\nCleanupFolders=C:\\pkg\\\r\n");
  EXPECT_EQ(r.runner.Paths(), (V{L"C:\\pkg\\bin\\setup.exe", L"C:\\pkg\\bin", L"C:\\pkg", L"C:"}));
  Result outside = Load(L"[PREREQ_CHAINER]\r\nCleanupFolders=E:\\other\r\n");
  EXPECT_EQ(outside.runner.Paths(), (V{L"C:\\pkg\\bin\\setup.exe"}));
}

TEST(CleanupSettings, NothingWithoutTheChainerSection) {
  Result r = Load(L"[GeneralOptions]\r\nCleanupFiles=C:\\pkg\\a.txt\r\n");
  EXPECT_TRUE(r.settings.filesToDelete.empty());
  EXPECT_TRUE(r.runner.Paths().empty());
}
