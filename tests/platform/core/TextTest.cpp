#include "platform/core/Text.h"

#include <gtest/gtest.h>

using namespace cv;

TEST(Text, ParseInteger) {
  struct {
    const wchar_t* text;
    int32_t value;
  } cases[] = {
      {L"  12abc", 12}, {L"-5", -5}, {L"+", 0}, {L"", 0}, {L"-+7", -7}, {L"+-7", 0}, {L"\t5", 0},
      {L"4294967297", 1}, {L"2147483648", INT32_MIN}, {L"1033;", 1033}, {L" - 3", 0},
  };
  for (const auto& c : cases) EXPECT_EQ(ParseInteger(c.text), c.value) << c.text;
}

TEST(Text, TrimUsesTheUnicodeWhiteSpaceSet) {
  EXPECT_EQ(TrimWhiteSpace(L"\x0085\x00A0\x1680\x2007\x202F\x205F\x3000 x y\t\r\n\v\f"), L"x y");
  EXPECT_EQ(TrimWhiteSpace(L"\x200Bx\xFEFF"), L"\x200Bx\xFEFF") << "zero-width characters are not white space";
  EXPECT_EQ(TrimWhiteSpace(L"   "), L"");
}

TEST(Text, SplitAndCompare) {
  using V = std::vector<std::wstring>;
  EXPECT_EQ(SplitText(L"a, b,, c", L", ", false), (V{L"a", L"b,", L"c"}));
  EXPECT_EQ(SplitText(L"\x0001" L"a\x0001\x0001" L"b\x0001", L"\x0001", true), (V{L"a", L"b"}));
  EXPECT_EQ(SplitText(L"", L";", false), (V{L""}));
  EXPECT_TRUE(EqualsIgnoreAsciiCase(L"TRUE", L"true"));
  EXPECT_FALSE(EqualsIgnoreAsciiCase(L"true ", L"true"));
}

TEST(Text, StringTableTextsAreFilledAlikeInEveryBuild) {
  const struct {
    const wchar_t* pattern;
    std::vector<std::wstring> arguments;
    const wchar_t* filled;
  } cases[] = {
      {L"%s Setup", {L"Corvane \x00C9\x8F6F\x4EF6"}, L"Corvane \x00C9\x8F6F\x4EF6 Setup"},
      {L"Installing %s", {L"100% %s %d"}, L"Installing 100% %s %d"},  // arguments are not scanned again
      {L"%s and %s", {L"a"}, L"a and "},
      {L"50%% of %s%", {L"x", L"unused"}, L"50% of x%"},
      {L"%d %ls %", {L"x"}, L"%d %ls %"},
  };
  for (const auto& c : cases) EXPECT_EQ(FillTextTemplate(c.pattern, c.arguments), c.filled) << c.pattern;
}

TEST(Text, WideFromUtf16LeKeepsCodeUnits) {
  const uint8_t bytes[] = {'A', 0, 0x3D, 0xD8, 0x00, 0xDE, 'z'};
  EXPECT_EQ(WideFromUtf16Le(bytes, sizeof bytes), std::wstring(L"A\xD83D\xDE00"));
  EXPECT_EQ(FormatText(L"%ls-%d", L"abc", 42), L"abc-42");
  EXPECT_EQ(FormatText(L"%ls", std::wstring(1000, L'x').c_str()).size(), 1000u);
}
