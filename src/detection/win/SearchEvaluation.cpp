#include "detection/win/SearchEvaluation.h"

#include "detection/SearchCombination.h"
#include "detection/SearchStrings.h"
#include "detection/win/FileSearches.h"
#include "detection/win/MsiSearches.h"
#include "detection/win/RegistrySearches.h"
#include "detection/win/WindowsVersion.h"
#include "platform/core/win/FolderResolution.h"
#include "platform/core/win/ProcessExecution.h"

namespace cv {

namespace {

SearchOutcome Inverted(SearchOutcome outcome) {
  outcome.found = !outcome.found;
  return outcome;
}

// The searches as this machine answers them.
class MachineSearchRunner : public ISearchRunner {
 public:
  MachineSearchRunner(bool use64, const ISearchContext& context, const SearchSystemFacts& facts)
      : use64_(use64), context_(context), facts_(facts) {}

  SearchOutcome Run(const PrereqSearch& search) const override {
    const std::wstring& text = search.searchString;
    const RegistryView view = SearchRegistryView(use64_);
    switch (search.searchType) {
      case kFileVersion: return SearchFileVersion(text, use64_);
      case kRegistrySubkeyNames: return SearchRegistrySubkeyNames(text, view);
      case kRegistryValueText: return SearchRegistryValueText(text, view);
      case kMsiProductVersion: return SearchMsiProductVersion(text);
      case kMsiRelatedProductVersions: return SearchMsiRelatedProductVersions(text);
      case kRegistryKeyExists: return SearchRegistryKeyExists(text, view);
      case kRegistryKeyMissing: return Inverted(SearchRegistryKeyExists(text, view));
      case kRegistryValueExists: return SearchRegistryValueExists(text, view);
      case kRegistryValueMissing: return Inverted(SearchRegistryValueExists(text, view));
      case kRegistryValueCompare: return SearchRegistryValueRead(text, view);
      case kPackagedProgram: return RunPackagedProgram(search);
      case kMsiComponentInstalled: return SearchMsiComponentInstalled(text);
      // The value-name list takes the 64-bit view whenever it is asked for.
      case kRegistryValueNames: return SearchRegistryValueNames(text, RegistryViewFor(use64_));
      case kAppxPackageVersion: return FindAppxPackage(text);
      case kSubfolderNames: return SearchSubfolderNames(text, use64_);
      default: return SearchOutcome{};
    }
  }

 private:
  SearchOutcome RunPackagedProgram(const PrereqSearch& search) const {
    ProcessOutcome run = ShellOpenAndWait(context_.PackageFile(search.searchString),
                                          ExpandReferences(search.searchCmdLine, false),
                                          search.refContent == L"WND_HIDE");
    SearchOutcome outcome;
    // No process handle from the shell leaves the exit code at its initial 0.
    outcome.found = run.Started() && run.exitCode.value_or(0) == 0;
    return outcome;
  }

  SearchOutcome FindAppxPackage(const std::wstring& text) const {
    SearchOutcome outcome;
    if (!facts_.windows10OrLater) return outcome;
    AppxSearch appx = SplitAppxSearch(text);
    std::wstring version = context_.FindAppxPackageVersion(appx.name, appx.publisher, appx.architecture);
    if (!version.empty()) outcome.foundTexts.push_back(std::move(version));
    return outcome;
  }

  bool use64_;
  const ISearchContext& context_;
  const SearchSystemFacts& facts_;
};

}  // namespace

bool EvaluateSearches(const std::vector<PrereqSearch>& searches, int32_t op, bool use64,
                      const ISearchContext& context, std::vector<SearchRecord>& records) {
  SearchSystemFacts facts;
  facts.windows10OrLater = IsWindowsVersionOrLater(10, 0, 0, 0);
  return EvaluateSearches(searches, op, use64, context, records, facts);
}

bool EvaluateSearches(const std::vector<PrereqSearch>& searches, int32_t op, bool use64,
                      const ISearchContext& context, std::vector<SearchRecord>& records,
                      const SearchSystemFacts& facts) {
  return CombineSearches(searches, op, MachineSearchRunner(use64, context, facts), records);
}

}  // namespace cv
