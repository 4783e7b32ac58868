// One search of a prerequisite, as the package configuration describes it,
// and what it found when it ran.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace cv {

struct PrereqSearch {
  int32_t searchType = 0;
  std::wstring searchString;
  std::wstring verMin;
  std::wstring verMax;
  std::wstring refContent;
  std::wstring searchCmdLine;
  bool evaluated = false;
};

// What one search of a prerequisite found, kept per search in the order they ran.
struct SearchRecord {
  std::vector<std::wstring> foundTexts;  // the values found, in the order found
  std::wstring readText;                 // the text read (a registry text search)
  bool answer = false;                   // this search's own answer, before the combination
};

}  // namespace cv
