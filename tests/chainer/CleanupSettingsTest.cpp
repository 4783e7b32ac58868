#include "chainer/CleanupSettings.h"

#include <gtest/gtest.h>

#include <set>

using namespace cv;

namespace {

struct Result {
  CleanupSettings settings;
  CleanupPlan plan;
};

Result Load(const std::wstring& section, const std::wstring& exe = L"C:\\pkg\\bin\\setup.exe") {
  IniDocument doc;
  doc.Parse(section);
  std::set<std::wstring> existing = {L"C:\\pkg\\a.txt",  L"C:\\pkg\\b.txt",   L"D:\\elsewhere.txt",
                                      L"C:\\pkg2\\x.txt", L"C:\\Windows\\x.dll", L"C:\\pkg\\..\\Windows\\x.dll",
                                      L"C:\\PKG\\upper.txt"};
  Result r;
  LoadCleanupSettings(
      doc, exe, L"C:\\pkg\\bin\\setup.ini", [&](const std::wstring& p) { return existing.count(p) > 0; }, r.settings,
      r.plan);
  return r;
}

using V = std::vector<std::wstring>;

}  // namespace

TEST(CleanupSettings, FilesBelowTheRootThatExistAndTheConfiguration) {
  Result r = Load(L"[PREREQ_CHAINER]\r\nCleanupFolders=C:\\pkg\r\nCleanupScript=C:\\pkg\\clean.ps1\r\n"
                  L"CleanupFiles=C:\\pkg\\a.txt\x0001\x0001" L"D:\\elsewhere.txt\x0001" L"C:\\pkg\\gone.txt\x0001"
                  L"C:\\pkg\\b.txt\r\n");
  EXPECT_EQ(r.settings.filesToDelete, (V{L"C:\\pkg\\a.txt", L"C:\\pkg\\b.txt", L"C:\\pkg\\bin\\setup.ini"}));
  EXPECT_EQ(r.plan.Paths(), (V{L"C:\\pkg\\clean.ps1", L"C:\\pkg\\bin\\setup.exe", L"C:\\pkg\\bin"}));
  EXPECT_EQ(r.plan.RetryCount(), 10);
}

TEST(CleanupSettings, SemicolonsDoNotSeparateFiles) {
  Result r = Load(L"[PREREQ_CHAINER]\r\nCleanupFiles=C:\\pkg\\a.txt;C:\\pkg\\b.txt\r\n");
  EXPECT_EQ(r.settings.filesToDelete, (V{L"C:\\pkg\\bin\\setup.ini"}));
}

TEST(CleanupSettings, EmptyRootWalksUpToTheDrive) {
  Result r = Load(L"[PREREQ_CHAINER]\r\nCleanupFiles=D:\\elsewhere.txt\r\n");
  EXPECT_EQ(r.settings.filesToDelete, (V{L"D:\\elsewhere.txt", L"C:\\pkg\\bin\\setup.ini"}));
  EXPECT_EQ(r.plan.Paths(), (V{L"C:\\pkg\\bin\\setup.exe", L"C:\\pkg\\bin", L"C:\\pkg", L"C:"}));
}

TEST(CleanupSettings, OnlyFilesStrictlyBelowTheRootAreDeleted) {
  const std::wstring files = L"CleanupFiles=C:\\pkg2\\x.txt\x0001" L"C:\\pkg\\..\\Windows\\x.dll\x0001"
                             L"C:\\Windows\\x.dll\x0001" L"C:\\PKG\\upper.txt\x0001" L"C:\\pkg\\a.txt\r\n";
  for (const wchar_t* root : {L"C:\\pkg", L"C:\\pkg\\", L"c:/PKG/", L"C:\\pkg\\sub\\.."}) {
    Result r = Load(L"[PREREQ_CHAINER]\r\nCleanupFolders=" + std::wstring(root) + L"\r\n" + files);
    EXPECT_EQ(r.settings.filesToDelete, (V{L"C:\\PKG\\upper.txt", L"C:\\pkg\\a.txt", L"C:\\pkg\\bin\\setup.ini"}))
        << testing::PrintToString(std::wstring(root));
  }
}

TEST(CleanupSettings, FolderWalkStopsBelowTheRootHoweverItIsWritten) {
  for (const wchar_t* root : {L"C:\\pkg", L"C:\\pkg\\", L"c:/PKG/", L"C:\\pkg\\\\"}) {
    Result r = Load(L"[PREREQ_CHAINER]\r\nCleanupFolders=" + std::wstring(root) + L"\r\n",
                    L"C:\\pkg\\bin\\x64\\setup.exe");
    EXPECT_EQ(r.plan.Paths(), (V{L"C:\\pkg\\bin\\x64\\setup.exe", L"C:\\pkg\\bin\\x64", L"C:\\pkg\\bin"}))
        << testing::PrintToString(std::wstring(root));
  }
  // Outside the root, or the root itself: no folder at all.
  for (const wchar_t* root : {L"E:\\other", L"C:\\pk", L"C:\\pkg\\bin", L"C:\\pkg\\bin\\sub"}) {
    Result r = Load(L"[PREREQ_CHAINER]\r\nCleanupFolders=" + std::wstring(root) + L"\r\n");
    EXPECT_EQ(r.plan.Paths(), (V{L"C:\\pkg\\bin\\setup.exe"})) << testing::PrintToString(std::wstring(root));
  }
}

TEST(CleanupSettings, NothingWithoutTheChainerSection) {
  Result r = Load(L"[GeneralOptions]\r\nCleanupFiles=C:\\pkg\\a.txt\r\n");
  EXPECT_TRUE(r.settings.filesToDelete.empty());
  EXPECT_TRUE(r.plan.Paths().empty());
}
