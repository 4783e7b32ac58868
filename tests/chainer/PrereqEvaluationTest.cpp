#include "chainer/PrereqEvaluation.h"

#include <gtest/gtest.h>

#include <set>

#include "platform/core/ExceptionHandling.h"

using namespace cv;

namespace {

// A machine and its installed software as the evaluation sees them.
class FakeEnvironment : public IEvaluationEnvironment {
 public:
  std::set<std::wstring> installed;  // names whose searches find them
  std::set<std::wstring> downloaded;
  bool osAllowed = true;
  bool languageAllowed = true;
  NativeMachine native{NativeMachine::Status::Known, 0x8664};
  std::vector<std::wstring> log;
  std::vector<std::wstring> searched;  // whose searches ran, in order

  bool OsAllowed(const std::wstring&, const std::wstring&) override { return osAllowed; }
  bool LanguageAllowed(const std::wstring&) override { return languageAllowed; }
  NativeMachine QueryNativeMachine() override { return native; }
  bool EvaluateSearches(const Prerequisite& p, bool, std::vector<SearchRecord>& records) override {
    searched.push_back(p.name);
    records.assign(p.searches.size(), SearchRecord{});
    if (p.searches.empty()) return p.Operator == 0;
    return installed.count(p.name) > 0;
  }
  bool IsAlreadyDownloaded(const Prerequisite& p) override { return downloaded.count(p.name) > 0; }
  bool LoggingEnabled() override { return true; }
  void WriteLine(const std::wstring& line) override { log.push_back(line); }
};

Prerequisite Make(const std::wstring& name, SourceKind kind = SourceKind::Package, const std::wstring& options = L"",
                  const std::wstring& parent = L"") {
  Prerequisite p;
  p.name = name;
  p.sourceKind = kind;
  p.Options = options;
  p.skipDetection = p.HasOption(L'i');
  p.ParentPrereq = parent;
  p.searches.push_back(PrereqSearch{});  // found or not as the fake says
  return p;
}

using Lines = std::vector<std::wstring>;

}  // namespace

TEST(PrereqEvaluation, StatesFollowSearchesConditionsAndSourceKinds) {
  FakeEnvironment env;
  std::vector<Prerequisite> list{Make(L"Found"), Make(L"FromPackage"), Make(L"Download", SourceKind::Download),
                                 Make(L"Site", SourceKind::Site), Make(L"Skip", SourceKind::Download, L"i")};
  list.push_back(Make(L"NoSearchesAll"));
  list.back().searches.clear();
  list.push_back(Make(L"NoSearchesAny"));
  list.back().searches.clear();
  list.back().Operator = 1;
  env.installed = {L"Found", L"Skip"};
  PrereqEvaluation evaluation(list, env);
  evaluation.EvaluateAll();

  const int32_t states[] = {StateFound, StateInstallFromPackage, StateDownload, StateFetchFromSite,
                            StateDownload, StateFound, StateInstallFromPackage};
  for (size_t i = 0; i < list.size(); ++i) {
    EXPECT_EQ(list[i].state, states[i]) << list[i].name;
    EXPECT_EQ(list[i].selected, states[i] != StateFound) << list[i].name;
  }
  EXPECT_EQ(env.searched, (Lines{L"Found", L"FromPackage", L"Download", L"Site", L"NoSearchesAll", L"NoSearchesAny"}))
      << "a prerequisite that skips detection is not searched for";
  EXPECT_EQ(list[0].searchResults.size(), 1u);
  EXPECT_TRUE(evaluation.AnythingToInstall());
  EXPECT_EQ(env.log[0], L"Searching for:Found");
  EXPECT_EQ(env.log[1], L"Search result:An acceptable version was found.");
  EXPECT_EQ(env.log[3], L"Search result:No acceptable version found. It must be installed from package.");
  EXPECT_EQ(env.log.back(), L"Prerequisite selected for install:NoSearchesAny");
}

TEST(PrereqEvaluation, ConditionsMakeAPrerequisiteNotApplicable) {
  const struct {
    const char* what;
    bool os, language;
    NativeMachine native;
    const wchar_t* options;
    bool applicable;
    bool wrongOsLine;
  } cases[] = {
      {"wrong system", false, true, {NativeMachine::Status::Known, 0x8664}, L"", false, true},
      {"wrong language", true, false, {NativeMachine::Status::Known, 0x8664}, L"", false, true},
      {"c on ARM64", true, true, {NativeMachine::Status::Known, 0xAA64}, L"c", false, false},
      {"c on x64", true, true, {NativeMachine::Status::Known, 0x8664}, L"c", true, false},
      {"d on x64", true, true, {NativeMachine::Status::Known, 0x8664}, L"d", false, false},
      {"d on ARM64", true, true, {NativeMachine::Status::Known, 0xAA64}, L"d", true, false},
      {"d without IsWow64Process2", true, true, {NativeMachine::Status::FunctionMissing, 0}, L"d", false, false},
      {"c without IsWow64Process2", true, true, {NativeMachine::Status::FunctionMissing, 0}, L"c", true, false},
      {"d when the call fails", true, true, {NativeMachine::Status::CallFailed, 0}, L"dc", true, false},
  };
  for (const auto& c : cases) {
    FakeEnvironment env;
    env.osAllowed = c.os;
    env.languageAllowed = c.language;
    env.native = c.native;
    std::vector<Prerequisite> list{Make(L"P", SourceKind::Package, c.options)};
    PrereqEvaluation evaluation(list, env);
    evaluation.EvaluateAll();
    EXPECT_EQ(list[0].state == StateNotApplicable, !c.applicable) << c.what;
    EXPECT_EQ(env.searched.empty(), !c.applicable) << c.what;
    EXPECT_EQ(!env.log.empty() && env.log[0] == L"Wrong OS or Os language for:P", c.wrongOsLine) << c.what;
    if (!c.applicable) {
      EXPECT_EQ(env.log.size(), c.wrongOsLine ? 1u : 0u) << c.what << ": not applicable, never selected";
      EXPECT_EQ(evaluation.GetDisplayState(0), StateNotSelected) << c.what;
    }
  }
}

TEST(PrereqEvaluation, SelectionFollowsParentLinks) {
  // Child missing with a missing parent: each selects the other.
  {
    FakeEnvironment env;
    std::vector<Prerequisite> list{Make(L"Child", SourceKind::Package, L"", L"Parent"),
                                   Make(L"Parent", SourceKind::Download)};
    PrereqEvaluation evaluation(list, env);
    for (Prerequisite& p : list) p.state = p.sourceKind == SourceKind::Download ? StateDownload : StateInstallFromPackage;
    evaluation.SetSelected(0, true);
    EXPECT_TRUE(list[1].selected) << "selecting the child selects its parent";
    evaluation.SetSelected(0, false);
    evaluation.SetSelected(1, false);
    evaluation.SetSelected(1, true);
    EXPECT_TRUE(list[0].selected) << "selecting the parent selects its child";
    evaluation.SetSelected(1, false);
    EXPECT_FALSE(list[0].selected) << "and deselecting it deselects the child";
  }
  // Child missing whose parent is found; a parent that names nobody.
  {
    FakeEnvironment env;
    env.installed = {L"Parent"};
    std::vector<Prerequisite> list{Make(L"Child", SourceKind::Package, L"", L"Parent"), Make(L"Parent"),
                                   Make(L"Orphan", SourceKind::Package, L"", L"Nobody")};
    PrereqEvaluation evaluation(list, env);
    evaluation.EvaluateAll();
    EXPECT_TRUE(list[0].selected);
    EXPECT_FALSE(list[1].selected);
    EXPECT_TRUE(list[2].selected) << "a link to no prerequisite is ignored";
  }
}

TEST(PrereqEvaluation, DownloadedFilesAndTheFinalCheck) {
  FakeEnvironment env;
  env.downloaded = {L"Fetched"};
  std::vector<Prerequisite> list{Make(L"Fetched", SourceKind::Download, L"m"), Make(L"Later", SourceKind::Download),
                                 Make(L"Mandatory", SourceKind::Package, L"m"),
                                 Make(L"MandatorySkip", SourceKind::Package, L"mi"),
                                 Make(L"MandatoryElsewhere", SourceKind::Package, L"m")};
  env.osAllowed = true;
  PrereqEvaluation evaluation(list, env);
  evaluation.EvaluateAll();
  EXPECT_EQ(evaluation.GetDisplayState(0), StateAlreadyDownloaded);
  EXPECT_EQ(evaluation.GetDisplayState(1), StateDownload);
  EXPECT_FALSE(evaluation.AllMandatoryInPlace());

  // The setups ran: what is now found is deselected; what skips detection is
  // left out of the check.
  env.installed = {L"Fetched", L"Mandatory", L"MandatoryElsewhere"};
  EXPECT_TRUE(evaluation.IsNowInPlace(0));
  evaluation.FinishEvaluation();
  EXPECT_EQ(evaluation.GetDisplayState(0), StateNotSelected);
  EXPECT_EQ(evaluation.GetDisplayState(2), StateNotSelected);
  EXPECT_EQ(evaluation.GetDisplayState(1), StateDownload);
  EXPECT_EQ(evaluation.GetDisplayState(3), StateInstallFromPackage) << "skips detection: stays as it was";
  EXPECT_TRUE(evaluation.AllMandatoryInPlace());
  EXPECT_FALSE(evaluation.IsNowInPlace(3)) << "not re-evaluated, so never in place";
}

TEST(PrereqEvaluation, NotApplicableIsFinalAndIndexesAreChecked) {
  FakeEnvironment env;
  env.osAllowed = false;
  std::vector<Prerequisite> list{Make(L"Old", SourceKind::Package, L"m")};
  PrereqEvaluation evaluation(list, env);
  evaluation.EvaluateAll();
  env.osAllowed = true;
  env.installed = {L"Old"};
  evaluation.EvaluatePrerequisite(0, true);
  EXPECT_EQ(list[0].state, StateNotApplicable);
  EXPECT_TRUE(evaluation.AllMandatoryInPlace()) << "a mandatory prerequisite this system cannot take passes";
  EXPECT_FALSE(evaluation.AnythingToInstall());
  EXPECT_THROW(evaluation.GetDisplayState(1), HResultException);
  EXPECT_THROW(evaluation.SetSelected(7, true), HResultException);
}

TEST(PrereqEvaluation, StateTexts) {
  EXPECT_STREQ(PrereqStateText(StateAlreadyDownloaded),
               L"No acceptable version found. It is already downloaded and it will be installed.");
  EXPECT_STREQ(PrereqStateText(StateNotSelected), L"Not selected for install.");
  EXPECT_STREQ(PrereqStateText(StateUndefined), L"Undefined");
  EXPECT_STREQ(PrereqStateText(42), L"Undefined");
}
