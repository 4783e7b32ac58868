// The searches as the chain runs them, with a package whose files lie in one
// folder and an AppX lookup that answers from a table (Wine has no package
// manager).
#pragma once
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "detection/win/SearchEvaluation.h"

namespace cvtest {

class TestSearchContext : public cv::ISearchContext {
 public:
  explicit TestSearchContext(std::wstring packageFolder = L"") : packageFolder_(std::move(packageFolder)) {}
  std::wstring PackageFile(const std::wstring& name) const override { return packageFolder_ + L"\\" + name; }
  std::wstring FindAppxPackageVersion(const std::wstring& name, const std::wstring& publisher,
                                      const std::wstring& architecture) const override {
    lookups.emplace_back(name, publisher, architecture);
    auto it = packages.find(name);
    return it == packages.end() ? std::wstring() : it->second;
  }
  std::map<std::wstring, std::wstring> packages;  // name -> version
  mutable std::vector<std::tuple<std::wstring, std::wstring, std::wstring>> lookups;

 private:
  std::wstring packageFolder_;
};

// One search run alone: its record.
inline cv::SearchRecord RunSearch(const cv::PrereqSearch& search, bool use64,
                                  const cv::ISearchContext& context = TestSearchContext()) {
  std::vector<cv::SearchRecord> records;
  cv::EvaluateSearches({search}, 0, use64, context, records);
  return records.empty() ? cv::SearchRecord{} : records[0];
}

inline cv::PrereqSearch Search(int32_t type, const std::wstring& text, const std::wstring& refContent = L"",
                               const std::wstring& verMin = L"", const std::wstring& verMax = L"") {
  cv::PrereqSearch search;
  search.searchType = type;
  search.searchString = text;
  search.refContent = refContent;
  search.verMin = verMin;
  search.verMax = verMax;
  return search;
}

}  // namespace cvtest
