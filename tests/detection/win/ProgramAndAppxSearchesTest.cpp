// The packaged detection program and the AppX package searches.
#include <gtest/gtest.h>

#include "detection/SearchCombination.h"
#include "detection/win/WindowsVersion.h"
#include "platform/core/Text.h"
#include "support/SearchTestSupport.h"
#include "support/WinTestSupport.h"

using namespace cv;
using cvtest::RunSearch;
using cvtest::ScratchFolder;
using cvtest::Search;

namespace {

std::wstring RecordedShowWindow(const std::wstring& path) {
  std::string bytes = cvtest::ReadBytes(path);
  for (const std::wstring& line :
       SplitText(WideFromUtf16Le(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()), L"\r\n", true))
    if (line.rfind(L"showWindow=", 0) == 0) return line.substr(11);
  return L"";
}

PrereqSearch Program(const std::wstring& name, const std::wstring& commandLine, const std::wstring& refContent) {
  PrereqSearch search = Search(kPackagedProgram, name, refContent);
  search.searchCmdLine = commandLine;
  return search;
}

}  // namespace

TEST(PackagedProgramSearch, FoundWhenTheProgramExitsWithZero) {
  ScratchFolder dir;
  const cvtest::TestSearchContext package(cvtest::FolderOfThisProgram());
  // The arguments are expanded first.
  ASSERT_TRUE(SetEnvironmentVariableW(L"CORVANE_SEARCH_RECORD", (dir / L"record").c_str()));
  const struct {
    const wchar_t *name, *commandLine, *refContent;
    bool found;
    const wchar_t* showWindow;  // empty: nothing recorded
  } cases[] = {
      {L"exit_with.exe", L"0 --record \"%CORVANE_SEARCH_RECORD%\"", L"WND_HIDE", true, L"0"},
      {L"exit_with.exe", L"0 --record \"%CORVANE_SEARCH_RECORD%\"", L"wnd_hide", true, L"1"},  // case-sensitive
      {L"exit_with.exe", L"3 --record \"%CORVANE_SEARCH_RECORD%\"", L"", false, L"1"},
      {L"exit_with.exe", L"2", L"WND_HIDE", false, L""},  // an exit code 2 is no start error
      {L"missing.exe", L"0", L"WND_HIDE", false, L""},
  };
  for (const auto& c : cases) {
    DeleteFileW((dir / L"record").c_str());
    EXPECT_EQ(RunSearch(Program(c.name, c.commandLine, c.refContent), false, package).answer, c.found)
        << c.name << " " << c.commandLine << " " << c.refContent;
    EXPECT_EQ(RecordedShowWindow(dir / L"record"), c.showWindow) << c.commandLine << " " << c.refContent;
  }
  SetEnvironmentVariableW(L"CORVANE_SEARCH_RECORD", nullptr);
}

TEST(AppxPackageSearch, AsksOnlyFromWindows10On) {
  // Wine's prefix reports Windows 7; Windows 10 is told to the search.
  for (bool windows10 : {true, false}) {
    SCOPED_TRACE(windows10 ? "Windows 10" : "Windows 8.1");
    cvtest::TestSearchContext package;
    package.packages[L"Corvane.App"] = L"1.4.2.0";
    SearchSystemFacts facts;
    facts.windows10OrLater = windows10;
    std::vector<SearchRecord> records;
    const PrereqSearch search = Search(kAppxPackageVersion, L" Corvane.App ?? x64 ? CN=Corvane ", L"", L"1.4");
    bool found = EvaluateSearches({search}, 0, false, package, records, facts);
    EXPECT_EQ(found, windows10);
    ASSERT_EQ(records.size(), 1u);
    if (windows10) {
      ASSERT_EQ(package.lookups.size(), 1u);
      EXPECT_EQ(package.lookups[0], std::make_tuple(std::wstring(L"Corvane.App"), std::wstring(L"CN=Corvane"),
                                                    std::wstring(L"x64")));
      EXPECT_EQ(records[0].foundTexts, std::vector<std::wstring>{L"1.4.2.0"});
    } else {
      EXPECT_TRUE(package.lookups.empty()) << "the package manager is never asked";
      EXPECT_TRUE(records[0].foundTexts.empty());
    }
  }
  // The running system decides in the program: this prefix is no Windows 10.
  cvtest::TestSearchContext package;
  package.packages[L"Corvane.App"] = L"1.4.2.0";
  RunSearch(Search(kAppxPackageVersion, L"Corvane.App"), false, package);
  EXPECT_EQ(package.lookups.empty(), !IsWindowsVersionOrLater(10, 0, 0, 0));
}
