#include "detection/win/FileSearches.h"

#include <gtest/gtest.h>

#include <shlobj.h>

#include <algorithm>

#include "support/SearchTestSupport.h"
#include "support/WinTestSupport.h"

using namespace cv;
using cvtest::RunSearch;
using cvtest::ScratchFolder;
using cvtest::Search;

namespace {

// A tree with real version resources:
//   top\shallow.exe            1.2.3.4
//   top\a\b\deep.exe           3.0
//   top\a\b\c\d\e\f\deeper.exe 1.2.3.4
//   top\z\deep.exe             no version resource (listed after a)
//   top\versions\1.0\ 2.5\ and a file named 9.0
class FileSearches : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const wchar_t* folder : {L"a", L"a\\b", L"a\\b\\c", L"a\\b\\c\\d", L"a\\b\\c\\d\\e", L"a\\b\\c\\d\\e\\f", L"z",
                                  L"versions", L"versions\\1.0", L"versions\\2.5"})
      ASSERT_TRUE(CreateDirectoryW((top_ / folder).c_str(), nullptr));
    ASSERT_TRUE(Copy(L"version_product.exe", top_ / L"shallow.exe"));
    ASSERT_TRUE(Copy(L"version_empty_product.exe", top_ / L"a\\b\\deep.exe"));
    ASSERT_TRUE(Copy(L"version_product.exe", top_ / L"a\\b\\c\\d\\e\\f\\deeper.exe"));
    ASSERT_TRUE(Copy(L"version_none.exe", top_ / L"z\\deep.exe"));
    ASSERT_TRUE(cvtest::WriteBytes(top_ / L"versions\\9.0", "file"));
  }
  static bool Copy(const wchar_t* helper, const std::wstring& to) {
    return CopyFileW(cvtest::BuiltProgram(helper).c_str(), to.c_str(), TRUE);
  }
  ScratchFolder top_;
};

}  // namespace

TEST_F(FileSearches, DepthWalksAndWildcards) {
  const std::wstring top = top_.Path();
  const struct {
    std::wstring text;
    std::vector<std::wstring> found;
  } cases[] = {
      {top + L"\\shallow.exe", {L"1.2.3.4"}},
      {top + L"\\deep.exe", {}},
      {top + L"\\deep.exe?1", {L"0.0.0.0"}},            // z\deep.exe, one level down
      {top + L"\\deep.exe?2", {L"3.0"}},                // depth first: a\b\deep.exe before z\deep.exe
      {top + L"\\deeper.exe?5", {}},
      {top + L"\\deeper.exe?6", {L"1.2.3.4"}},
      {top + L"\\deeper.exe?600", {L"1.2.3.4"}},
      {top + L"\\z\\deep.exe", {L"0.0.0.0"}},          // no version resource: still found
      {top + L"\\a\\b\\dee?.exe", {}},  // "?" in the name starts the depth: "dee" is looked for
      {top + L"\\a\\b\\*.exe", {L"3.0"}},              // the version of the file that matched
      {top + L"\\sh*", {L"1.2.3.4"}},
      {top + L"\\*.dll?9", {}},
      {top + L"\\missing\\deep.exe?3", {}},
  };
  for (const auto& c : cases) {
    SearchRecord record = RunSearch(Search(kFileVersion, c.text), false);
    EXPECT_EQ(record.foundTexts, c.found) << c.text;
    EXPECT_EQ(record.answer, !c.found.empty()) << c.text;
  }
  // The bounds apply to the first file found only: the walk stops there.
  EXPECT_FALSE(RunSearch(Search(kFileVersion, top + L"\\deep.exe?2", L"", L"3.1"), false).answer);
  EXPECT_TRUE(RunSearch(Search(kFileVersion, top + L"\\a\\b\\*.exe", L"", L"3", L"3.0.0.0"), false).answer);
}

TEST_F(FileSearches, ReferencesAreExpandedInPaths) {
  ASSERT_TRUE(SetEnvironmentVariableW(L"CORVANE_SEARCH_TOP", top_.Path().c_str()));
  EXPECT_EQ(RunSearch(Search(kFileVersion, L"%CORVANE_SEARCH_TOP%\\a\\b\\deep.exe"), false).foundTexts,
            std::vector<std::wstring>{L"3.0"});
  SetEnvironmentVariableW(L"CORVANE_SEARCH_TOP", nullptr);
  // A system file in the native system folder. The 32-bit one (SysWOW64) is
  // empty in a prefix of the 64-bit Wine alone (measured): there the search
  // finds what the folder holds.
  EXPECT_TRUE(RunSearch(Search(kFileVersion, L"[SystemFolder]kernel32.dll"), true).answer);
  wchar_t x86[MAX_PATH] = {};
  ASSERT_EQ(SHGetFolderPathW(nullptr, CSIDL_SYSTEMX86, nullptr, SHGFP_TYPE_CURRENT, x86), S_OK);
  EXPECT_EQ(RunSearch(Search(kFileVersion, L"[SystemFolder]kernel32.dll"), false).answer,
            PathExists(std::wstring(x86) + L"\\kernel32.dll"));
}

TEST_F(FileSearches, BareNamesAreLookedForAtEveryFixedDrive) {
  std::vector<std::wstring> roots = FixedDriveRoots();
  ASSERT_FALSE(roots.empty());
  EXPECT_EQ(roots[0], L"C:\\");
  const std::wstring name = L"corvane-search-" + std::to_wstring(GetCurrentProcessId()) + L".exe";
  const std::wstring folder = L"C:\\corvane-search-" + std::to_wstring(GetCurrentProcessId());
  ASSERT_TRUE(Copy(L"version_product.exe", L"C:\\" + name));
  ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
  ASSERT_TRUE(Copy(L"version_empty_product.exe", folder + L"\\nested-" + name));

  SearchRecord atRoot = RunSearch(Search(kFileVersion, name), false);
  SearchRecord nested = RunSearch(Search(kFileVersion, L"nested-" + name + L"?1"), false);
  SearchRecord tooDeep = RunSearch(Search(kFileVersion, L"nested-" + name), false);

  DeleteFileW((L"C:\\" + name).c_str());
  DeleteFileW((folder + L"\\nested-" + name).c_str());
  RemoveDirectoryW(folder.c_str());

  EXPECT_EQ(atRoot.foundTexts, std::vector<std::wstring>{L"1.2.3.4"});
  EXPECT_EQ(nested.foundTexts, std::vector<std::wstring>{L"3.0"});
  EXPECT_TRUE(tooDeep.foundTexts.empty());
}

TEST_F(FileSearches, SubfolderNames) {
  SearchRecord record = RunSearch(Search(kSubfolderNames, top_ / L"versions", L"", L"2"), false);
  std::sort(record.foundTexts.begin(), record.foundTexts.end());
  EXPECT_EQ(record.foundTexts, (std::vector<std::wstring>{L"1.0", L"2.5"}));  // the file 9.0 is no folder
  EXPECT_TRUE(record.answer);
  EXPECT_FALSE(RunSearch(Search(kSubfolderNames, top_ / L"versions\\", L"", L"2.6"), true).answer);
  EXPECT_TRUE(RunSearch(Search(kSubfolderNames, top_ / L"missing"), false).foundTexts.empty());
}
