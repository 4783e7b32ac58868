#include "detection/SearchStrings.h"

#include "platform/core/Text.h"

namespace cv {

namespace {

bool AllDigits(const std::wstring& text) {
  for (wchar_t c : text)
    if (!IsDecimalDigit(c)) return false;
  return true;
}

// Digit texts compared as numbers of any length, so that a value beyond 32
// bits (a REG_DWORD above 2147483647 in decimal) is not taken modulo 2^32.
int CompareDecimal(const std::wstring& a, const std::wstring& b) {
  size_t i = a.find_first_not_of(L'0'), j = b.find_first_not_of(L'0');
  std::wstring x = i == std::wstring::npos ? std::wstring() : a.substr(i);
  std::wstring y = j == std::wstring::npos ? std::wstring() : b.substr(j);
  if (x.size() != y.size()) return x.size() < y.size() ? -1 : 1;
  return x.compare(y) < 0 ? -1 : (x.compare(y) > 0 ? 1 : 0);
}

bool EndsWith(const std::wstring& text, const std::wstring& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

}  // namespace

RegistrySearchPath SplitRegistryKeySearch(const std::wstring& text) {
  RegistrySearchPath path;
  path.root = ParseRegistryRoot(text);
  if (path.root == RegistryRoot::None) return path;
  path.key = text.substr(text.find(L'\\') + 1);
  return path;
}

RegistrySearchPath SplitRegistryValueSearch(const std::wstring& text) {
  RegistrySearchPath path;
  path.root = ParseRegistryRoot(text);
  if (path.root == RegistryRoot::None) return path;
  RegistryValuePath parts = SplitRegistryValuePath(text);
  path.key = parts.key;
  path.value = parts.value;
  return path;
}

FileSearchString SplitFileSearchString(const std::wstring& text) {
  FileSearchString search;
  size_t mark = text.size() > 1 ? text.find(L'?', 1) : std::wstring::npos;
  search.path = text.substr(0, mark);
  if (mark != std::wstring::npos) search.suffix = text.substr(mark);
  search.bareName = search.path.find_first_of(L"\\]%!") == std::wstring::npos;
  return search;
}

FileSearchTarget SplitSearchDepth(const std::wstring& candidate) {
  FileSearchTarget target;
  size_t mark = candidate.size() > 1 ? candidate.find(L'?', 1) : std::wstring::npos;
  target.path = candidate.substr(0, mark);
  if (mark != std::wstring::npos) {
    int32_t depth = ParseInteger(candidate.substr(mark + 1));
    target.depth = depth > 0 ? depth : 0;
  }
  return target;
}

AppxSearch SplitAppxSearch(const std::wstring& text) {
  std::wstring parts[3];
  size_t count = 0, start = 0;
  while (count < 3) {
    size_t mark = text.find(L'?', start);
    parts[count++] = TrimWhiteSpace(text.substr(start, mark == std::wstring::npos ? std::wstring::npos : mark - start));
    if (mark == std::wstring::npos) break;
    start = text.find_first_not_of(L'?', mark);
    if (start == std::wstring::npos) break;  // trailing separators: the rest is empty
  }
  return {parts[0], parts[1], parts[2]};
}

bool CompareRegistryText(const std::wstring& value, const std::wstring& refContent) {
  if (refContent.empty()) return false;
  const std::wstring reference = refContent.substr(1);
  switch (refContent[0]) {
    case L'C': return value.find(reference) != std::wstring::npos;
    case L'D': return value != reference;
    case L'E': return EndsWith(value, reference);
    case L'G': return AllDigits(value) && AllDigits(reference) && CompareDecimal(value, reference) > 0;
    case L'L': return AllDigits(value) && AllDigits(reference) && CompareDecimal(value, reference) < 0;
    case L'M': return value == reference;
    case L'S': return value.compare(0, reference.size(), reference) == 0 && value.size() >= reference.size();
    case L'X': return !reference.empty() && value.find(reference) == std::wstring::npos;
    default: return false;
  }
}

}  // namespace cv
