// The searches of a prerequisite run in order and combined with its
// operator, stopping as soon as the answer can no longer change.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "detection/PrereqSearch.h"

namespace cv {

enum SearchType : int32_t {
  kFileVersion = 0,
  kRegistrySubkeyNames = 1,
  kRegistryValueText = 2,
  kMsiProductVersion = 3,
  kMsiRelatedProductVersions = 4,
  kRegistryKeyExists = 5,
  kRegistryKeyMissing = 6,
  kRegistryValueExists = 7,
  kRegistryValueMissing = 8,
  kRegistryValueCompare = 9,
  kPackagedProgram = 10,
  kMsiComponentInstalled = 11,
  kRegistryValueNames = 12,
  kAppxPackageVersion = 13,
  kSubfolderNames = 14,
};

// What one search saw on the machine.
struct SearchOutcome {
  std::vector<std::wstring> foundTexts;  // the types that collect values
  std::wstring readText;                 // the value comparison's text
  bool found = false;                    // the existence types; the comparison: the value was read
};

// Runs one search of a known type on the machine.
class ISearchRunner {
 public:
  virtual ~ISearchRunner() = default;
  virtual SearchOutcome Run(const PrereqSearch& search) const = 0;
};

// A search's own answer from what it saw.
bool SearchAnswer(const PrereqSearch& search, const SearchOutcome& outcome);

// Operator 0: every search must hold; 1: any; other values: never (every
// search still runs). Unknown search types hold without running. records is
// emptied and gets one record per search that ran.
bool CombineSearches(const std::vector<PrereqSearch>& searches, int32_t op, const ISearchRunner& runner,
                     std::vector<SearchRecord>& records);

}  // namespace cv
