#include "detection/VersionNumber.h"

#include <limits>

#include "platform/core/Text.h"

namespace cv {

namespace {

size_t FindDigit(const std::wstring& text, size_t from) {
  for (size_t i = from; i < text.size(); ++i)
    if (IsDecimalDigit(text[i])) return i;
  return std::wstring::npos;
}

// A bound that does not parse counts as unset, like one that parses to zeros.
VersionNumber ParseBound(const std::wstring& text) {
  VersionNumber version;
  ParseVersion(text, version);
  return version;
}

}  // namespace

bool ParseVersion(const std::wstring& text, VersionNumber& version) {
  version = VersionNumber();
  int32_t* parts[] = {&version.major, &version.minor, &version.build, &version.revision};
  size_t at = FindDigit(text, 0);
  if (at == std::wstring::npos) return false;
  for (int32_t* part : parts) {
    int64_t value = 0;
    for (; at < text.size() && IsDecimalDigit(text[at]); ++at) {
      value = value * 10 + (text[at] - L'0');
      if (value > std::numeric_limits<int32_t>::max()) {
        version = VersionNumber();
        return false;
      }
    }
    *part = static_cast<int32_t>(value);
    at = FindDigit(text, at);
    if (at == std::wstring::npos) break;
  }
  return true;
}

std::wstring FormatVersion(const VersionNumber& version) {
  const int32_t parts[] = {version.major, version.minor, version.build, version.revision};
  int last = -1;
  for (int i = 0; i < 4; ++i)
    if (parts[i] != 0 && parts[i] != 65535) last = i;
  if (last < 0) return L"0.0.0.0";
  std::wstring text = std::to_wstring(parts[0]);
  for (int i = 1; i <= (last < 1 ? 1 : last); ++i) text += L"." + std::to_wstring(parts[i]);
  return text;
}

bool VersionInRange(const std::vector<std::wstring>& found, const std::wstring& verMin, const std::wstring& verMax) {
  if (found.empty()) return false;
  const VersionNumber min = ParseBound(verMin);
  const VersionNumber max = ParseBound(verMax);
  if (min.IsUnset() && max.IsUnset()) return true;
  for (const std::wstring& text : found) {
    VersionNumber value;
    ParseVersion(text, value);
    if (value.IsUnset()) continue;
    if (!min.IsUnset() && value < min) continue;
    if (max.IsUnset() || value <= max) return true;
  }
  return false;
}

}  // namespace cv
