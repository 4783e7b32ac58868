#include "detection/SearchCombination.h"

#include "detection/SearchStrings.h"
#include "detection/VersionNumber.h"

namespace cv {

namespace {

bool IsKnownType(int32_t type) { return type >= kFileVersion && type <= kSubfolderNames; }

}  // namespace

bool SearchAnswer(const PrereqSearch& search, const SearchOutcome& outcome) {
  switch (search.searchType) {
    case kFileVersion:
    case kRegistrySubkeyNames:
    case kRegistryValueText:
    case kMsiProductVersion:
    case kMsiRelatedProductVersions:
    case kRegistryValueNames:
    case kAppxPackageVersion:
    case kSubfolderNames:
      return VersionInRange(outcome.foundTexts, search.verMin, search.verMax);
    case kRegistryValueCompare:
      return outcome.found && CompareRegistryText(outcome.readText, search.refContent);
    case kRegistryKeyExists:
    case kRegistryKeyMissing:
    case kRegistryValueExists:
    case kRegistryValueMissing:
    case kPackagedProgram:
    case kMsiComponentInstalled:
      return outcome.found;
    default:
      return true;
  }
}

bool CombineSearches(const std::vector<PrereqSearch>& searches, int32_t op, const ISearchRunner& runner,
                     std::vector<SearchRecord>& records) {
  records.clear();
  bool result = op == 0;
  for (const PrereqSearch& search : searches) {
    SearchRecord record;
    if (IsKnownType(search.searchType)) {
      SearchOutcome outcome = runner.Run(search);
      record.answer = SearchAnswer(search, outcome);
      record.foundTexts = std::move(outcome.foundTexts);
      if (search.searchType == kRegistryValueCompare) record.readText = std::move(outcome.readText);
    } else {
      record.answer = true;
    }
    const bool answer = record.answer;
    records.push_back(std::move(record));
    if (op == 0) {
      result = result && answer;
      if (!result) break;
    } else if (op == 1) {
      result = result || answer;
      if (result) break;
    }
  }
  return result;
}

}  // namespace cv
