#include "detection/SearchCombination.h"

#include <gtest/gtest.h>

#include <map>

using namespace cv;

namespace {

// Answers each search by its search string, and remembers which ran.
class ScriptedRunner : public ISearchRunner {
 public:
  explicit ScriptedRunner(std::map<std::wstring, SearchOutcome> outcomes) : outcomes_(std::move(outcomes)) {}
  SearchOutcome Run(const PrereqSearch& search) const override {
    ran_.push_back(search.searchString);
    auto it = outcomes_.find(search.searchString);
    return it == outcomes_.end() ? SearchOutcome{} : it->second;
  }
  std::vector<std::wstring>& Ran() const { return ran_; }

 private:
  std::map<std::wstring, SearchOutcome> outcomes_;
  mutable std::vector<std::wstring> ran_;
};

PrereqSearch Existence(const wchar_t* name) {
  PrereqSearch search;
  search.searchType = kRegistryKeyExists;
  search.searchString = name;
  return search;
}

SearchOutcome Found(bool found) {
  SearchOutcome outcome;
  outcome.found = found;
  return outcome;
}

}  // namespace

TEST(SearchCombination, OperatorsCombineAndStopOnceDecided) {
  const ScriptedRunner runner({{L"yes", Found(true)}, {L"no", Found(false)}});
  const struct {
    int32_t op;
    std::vector<const wchar_t*> searches;
    bool result;
    std::vector<std::wstring> ran;
  } cases[] = {
      {0, {}, true, {}},
      {1, {}, false, {}},
      {2, {}, false, {}},
      {0, {L"yes", L"yes"}, true, {L"yes", L"yes"}},
      {0, {L"no", L"yes"}, false, {L"no"}},  // decided: the second never runs
      {0, {L"yes", L"no", L"yes"}, false, {L"yes", L"no"}},
      {1, {L"yes", L"no"}, true, {L"yes"}},
      {1, {L"no", L"no", L"yes", L"no"}, true, {L"no", L"no", L"yes"}},
      {1, {L"no", L"no"}, false, {L"no", L"no"}},
      // Any other operator: everything runs and the answer stays false.
      {2, {L"yes", L"yes"}, false, {L"yes", L"yes"}},
      {-1, {L"yes", L"no"}, false, {L"yes", L"no"}},
  };
  for (const auto& c : cases) {
    std::vector<PrereqSearch> searches;
    for (const wchar_t* name : c.searches) searches.push_back(Existence(name));
    runner.Ran().clear();
    std::vector<SearchRecord> records(3);  // left over from an earlier evaluation
    EXPECT_EQ(CombineSearches(searches, c.op, runner, records), c.result) << c.op << " " << c.searches.size();
    EXPECT_EQ(runner.Ran(), c.ran) << c.op << " " << c.searches.size();
    ASSERT_EQ(records.size(), c.ran.size());
    for (size_t i = 0; i < records.size(); ++i) EXPECT_EQ(records[i].answer, c.ran[i] == L"yes");
  }
}

TEST(SearchCombination, EachTypeAnswersByItsOwnRule) {
  SearchOutcome versions;
  versions.foundTexts = {L"abc", L"4.7.9", L"4.8.1"};
  SearchOutcome read;
  read.found = true;
  read.readText = L"4.8";
  SearchOutcome unread;  // the value could not be read: no text
  const ScriptedRunner runner({{L"versions", versions}, {L"read", read}, {L"unread", unread}, {L"yes", Found(true)}});
  const struct {
    int32_t type;
    const wchar_t* string;
    const wchar_t *verMin, *verMax, *refContent;
    bool answer;
  } cases[] = {
      {kFileVersion, L"versions", L"", L"", L"", true},
      {kRegistrySubkeyNames, L"versions", L"4.8", L"", L"", true},
      {kRegistryValueText, L"versions", L"4.9", L"", L"", false},
      {kMsiProductVersion, L"versions", L"", L"4.7.9", L"", true},
      {kMsiRelatedProductVersions, L"none", L"", L"", L"", false},  // nothing found: never in range
      {kRegistryValueNames, L"versions", L"4.8.1", L"4.8.1", L"", true},
      {kAppxPackageVersion, L"versions", L"5", L"", L"", false},
      {kSubfolderNames, L"versions", L"", L"", L"", true},
      {kRegistryKeyExists, L"yes", L"99", L"", L"", true},  // bounds mean nothing here
      {kRegistryValueMissing, L"none", L"", L"", L"", false},
      {kPackagedProgram, L"yes", L"", L"", L"", true},
      {kMsiComponentInstalled, L"none", L"", L"", L"", false},
      {kRegistryValueCompare, L"read", L"", L"", L"M4.8", true},
      {kRegistryValueCompare, L"read", L"", L"", L"M4.9", false},
      {kRegistryValueCompare, L"unread", L"", L"", L"M", false},  // empty text would match: unread is false
      {kRegistryValueCompare, L"unread", L"", L"", L"D4.8", false},
  };
  for (const auto& c : cases) {
    PrereqSearch search;
    search.searchType = c.type;
    search.searchString = c.string;
    search.verMin = c.verMin;
    search.verMax = c.verMax;
    search.refContent = c.refContent;
    std::vector<SearchRecord> records;
    EXPECT_EQ(CombineSearches({search}, 0, runner, records), c.answer) << c.type << " " << c.string;
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].answer, c.answer);
  }
}

TEST(SearchCombination, RecordsKeepFoundTextsAndOnlyTheComparisonsReadText) {
  SearchOutcome outcome;
  outcome.foundTexts = {L"1.0", L"2.0"};
  outcome.readText = L"not for this type";
  SearchOutcome read;
  read.found = true;
  read.readText = L"200";
  const ScriptedRunner runner({{L"list", outcome}, {L"read", read}});
  PrereqSearch list;
  list.searchType = kRegistrySubkeyNames;
  list.searchString = L"list";
  PrereqSearch compare;
  compare.searchType = kRegistryValueCompare;
  compare.searchString = L"read";
  compare.refContent = L"G100";
  PrereqSearch unknown;
  unknown.searchType = 99;
  unknown.searchString = L"list";
  std::vector<SearchRecord> records;
  EXPECT_TRUE(CombineSearches({list, unknown, compare}, 0, runner, records));
  // The unknown type holds without running.
  EXPECT_EQ(runner.Ran(), (std::vector<std::wstring>{L"list", L"read"}));
  ASSERT_EQ(records.size(), 3u);
  EXPECT_EQ(records[0].foundTexts, (std::vector<std::wstring>{L"1.0", L"2.0"}));
  EXPECT_EQ(records[0].readText, L"");
  EXPECT_TRUE(records[1].answer);
  EXPECT_TRUE(records[1].foundTexts.empty());
  EXPECT_EQ(records[2].readText, L"200");
  EXPECT_TRUE(records[2].answer);
}

TEST(SearchCombination, ManySearchesRunOnceEach) {
  // A package may carry hundreds of searches: each runs once, in order.
  const ScriptedRunner runner({});
  std::vector<PrereqSearch> searches(5000, Existence(L"absent"));
  for (auto& s : searches) s.searchType = kRegistryKeyMissing;
  std::vector<SearchRecord> records;
  EXPECT_FALSE(CombineSearches(searches, 1, runner, records));
  EXPECT_EQ(runner.Ran().size(), 5000u);
  EXPECT_EQ(records.size(), 5000u);
}
