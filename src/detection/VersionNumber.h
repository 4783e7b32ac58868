// Four-part versions parsed tolerantly from any text, and the range test that
// decides whether a found version is acceptable.
#pragma once
#include <compare>
#include <cstdint>
#include <string>
#include <vector>

namespace cv {

struct VersionNumber {
  int32_t major = 0;
  int32_t minor = 0;
  int32_t build = 0;
  int32_t revision = 0;

  // All parts 0: no version at all.
  bool IsUnset() const { return major == 0 && minor == 0 && build == 0 && revision == 0; }
  // Lexicographic over major, minor, build, revision.
  friend auto operator<=>(const VersionNumber&, const VersionNumber&) = default;
};

// Takes up to four digit runs, whatever separates them. On failure (no digit,
// a part beyond 2147483647) the version is unset and the result false.
bool ParseVersion(const std::wstring& text, VersionNumber& version);
// Short form: trailing parts that are 0 or 65535 dropped, at least two parts kept.
std::wstring FormatVersion(const VersionNumber& version);
// True when a found text lies within the inclusive bounds; unset bounds are
// open. Found texts without a version are skipped; an empty list is never in range.
bool VersionInRange(const std::vector<std::wstring>& found, const std::wstring& verMin, const std::wstring& verMax);

}  // namespace cv
