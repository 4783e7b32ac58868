// Whether an acceptable version of a prerequisite is installed: its searches
// run in order and combined with its operator.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "detection/PrereqSearch.h"

namespace cv {

// What the searches need from the rest of the program.
class ISearchContext {
 public:
  virtual ~ISearchContext() = default;
  // The full path of a file the package carries.
  virtual std::wstring PackageFile(const std::wstring& name) const = 0;
  // The version text of the installed AppX package that matches; empty when
  // none does. Publisher and architecture may be empty (any).
  virtual std::wstring FindAppxPackageVersion(const std::wstring& name, const std::wstring& publisher,
                                              const std::wstring& architecture) const = 0;
};

// True when an acceptable version is installed. Operator 0: every search must
// hold; 1: any; other values: never. Stops as soon as the answer is decided.
// records is emptied and gets one record per search that ran, in order.
bool EvaluateSearches(const std::vector<PrereqSearch>& searches, int32_t op, bool use64,
                      const ISearchContext& context, std::vector<SearchRecord>& records);

// The facts of the running system that the searches depend on.
struct SearchSystemFacts {
  bool windows10OrLater = false;  // AppX packages exist
};
// The rule behind EvaluateSearches, with the system's facts passed in.
bool EvaluateSearches(const std::vector<PrereqSearch>& searches, int32_t op, bool use64,
                      const ISearchContext& context, std::vector<SearchRecord>& records,
                      const SearchSystemFacts& facts);

}  // namespace cv
