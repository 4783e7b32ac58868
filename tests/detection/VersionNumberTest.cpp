#include "detection/VersionNumber.h"

#include <gtest/gtest.h>

using namespace cv;

TEST(VersionNumber, ParseTakesUpToFourDigitRunsWhateverSeparatesThem) {
  struct {
    const wchar_t* text;
    bool ok;
    VersionNumber version;
  } cases[] = {
      {L"", false, {}},
      {L"abc", false, {}},
      {L"ver10", true, {10, 0, 0, 0}},
      {L"4.8.03761", true, {4, 8, 3761, 0}},
      {L"1.2.3.4.5", true, {1, 2, 3, 4}},
      {L"1-2-3", true, {1, 2, 3, 0}},
      {L"ver1 build 2 rev 3", true, {1, 2, 3, 0}},
      {L"1..2", true, {1, 2, 0, 0}},
      {L"10.0.19041.1 (WinBuild)", true, {10, 0, 19041, 1}},
      {L"214748364", true, {214748364, 0, 0, 0}},
      {L"2147483647", true, {2147483647, 0, 0, 0}},
      {L"2147483648", false, {}},
      {L"1.2.99999999999", false, {}},           // overflow in a later part clears all
      {L"1.2.3.4.99999999999", true, {1, 2, 3, 4}},  // a fifth run is never read
      {L"0.0", true, {}},
      {L"\x0661.2", true, {2, 0, 0, 0}},  // only "0"..."9" are digits
  };
  for (const auto& c : cases) {
    VersionNumber version{7, 7, 7, 7};
    EXPECT_EQ(ParseVersion(c.text, version), c.ok) << c.text;
    EXPECT_EQ(version, c.version) << c.text;
  }
}

TEST(VersionNumber, ComparisonIsLexicographicAndIgnoresWrittenLength) {
  VersionNumber a, b;
  ParseVersion(L"4.8", a);
  ParseVersion(L"4.8.0.0", b);
  EXPECT_EQ(a, b);
  EXPECT_LT((VersionNumber{4, 7, 65535, 65535}), (VersionNumber{4, 8, 0, 0}));
  EXPECT_LT((VersionNumber{1, 2, 3, 4}), (VersionNumber{1, 2, 3, 5}));
  EXPECT_GT((VersionNumber{2, 0, 0, 0}), (VersionNumber{1, 99, 99, 99}));
}

TEST(VersionNumber, FormatKeepsAtLeastTwoPartsAndDropsEmptyTail) {
  struct {
    VersionNumber version;
    const wchar_t* text;
  } cases[] = {
      {{1, 0, 0, 0}, L"1.0"},
      {{3, 0, 0, 0}, L"3.0"},
      {{4, 8, 0, 0}, L"4.8"},
      {{1, 2, 65535, 65535}, L"1.2"},
      {{0, 0, 0, 5}, L"0.0.0.5"},
      {{10, 0, 19041, 0}, L"10.0.19041"},
      {{0, 0, 0, 0}, L"0.0.0.0"},
      {{65535, 65535, 65535, 65535}, L"0.0.0.0"},
      {{1, 65535, 3, 0}, L"1.65535.3"},
      {{65535, 0, 0, 0}, L"0.0.0.0"},  // 65535 counts as empty, even in front
  };
  for (const auto& c : cases) EXPECT_EQ(FormatVersion(c.version), c.text) << c.text;
}

TEST(VersionNumber, InRangeTakesTheFirstFoundValueWithinInclusiveBounds) {
  using List = std::vector<std::wstring>;
  struct {
    List found;
    const wchar_t* min;
    const wchar_t* max;
    bool inRange;
  } cases[] = {
      {{}, L"", L"", false},
      {{}, L"1.0", L"", false},
      {{L"abc"}, L"", L"", true},
      {{L"abc"}, L"0.0", L"99999999999", true},  // bounds that are zeros or do not parse are open
      {{L"4.7.9"}, L"4.8", L"", false},
      {{L"4.8"}, L"4.8", L"", true},
      {{L"4.8.0.1"}, L"4.8", L"", true},
      {{L"5.0.0.0"}, L"", L"5", true},
      {{L"5.0.0.1"}, L"", L"5", false},
      {{L"abc", L"4.9"}, L"4.8", L"", true},
      {{L"0.0"}, L"", L"5", false},  // an all-zero found value is no version
      {{L"6.0", L"4.7", L"4.9"}, L"4.8", L"5", true},
      {{L"6.0", L"4.7"}, L"4.8", L"5", false},
  };
  for (const auto& c : cases) {
    std::wstring found;
    for (const auto& text : c.found) found += text + L"|";
    EXPECT_EQ(VersionInRange(c.found, c.min, c.max), c.inRange) << found << " [" << c.min << ", " << c.max << "]";
  }
}
