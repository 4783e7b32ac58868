// The texts that searches are written in, taken apart: registry paths, file
// searches with a folder depth, AppX package triples, and the comparisons of
// a registry text with a reference.
#pragma once
#include <cstdint>
#include <string>

#include "platform/core/ReferenceExpansion.h"

namespace cv {

// Root\Key for the key searches; Root\Key\Value for the value searches,
// where the key runs from the first to the last backslash.
struct RegistrySearchPath {
  RegistryRoot root = RegistryRoot::None;  // None: nothing can be opened
  std::wstring key;
  std::wstring value;
};
RegistrySearchPath SplitRegistryKeySearch(const std::wstring& text);
RegistrySearchPath SplitRegistryValueSearch(const std::wstring& text);

// A file search: a path or a bare file name, then optionally "?" and a depth.
struct FileSearchString {
  std::wstring path;    // before the first "?" that is not the first character
  std::wstring suffix;  // from that "?" on, empty without one
  bool bareName = false;  // no "\", "]", "%" or "!": looked for at every fixed drive's root
};
FileSearchString SplitFileSearchString(const std::wstring& text);

// One place to look: the path cut before its depth, and the depth (0 without
// one; a negative depth is 0).
struct FileSearchTarget {
  std::wstring path;
  int32_t depth = 0;
};
FileSearchTarget SplitSearchDepth(const std::wstring& candidate);

// Name, architecture and publisher separated by "?"; a run of "?" is one
// separator, every part is trimmed, missing parts are empty.
struct AppxSearch {
  std::wstring name;
  std::wstring architecture;
  std::wstring publisher;
};
AppxSearch SplitAppxSearch(const std::wstring& text);

// refContent is an operator letter and the reference text: C contains,
// D differs, E ends with, G/L greater/less as decimal numbers, M equals,
// S starts with, X does not contain. Case-sensitive on code units; any other
// letter, or no letter, never holds.
bool CompareRegistryText(const std::wstring& value, const std::wstring& refContent);

}  // namespace cv
