#include "detection/win/Language.h"

#include <gtest/gtest.h>

#include "platform/core/Text.h"
#include "support/WinTestSupport.h"

using namespace cv;

namespace {

size_t CountOccurrences(const std::wstring& text, const std::wstring& part) {
  size_t count = 0;
  for (size_t at = text.find(part); at != std::wstring::npos; at = text.find(part, at + part.size())) ++count;
  return count;
}

}  // namespace

TEST(Language, DescriptionNamesTheLanguage) {
  const std::wstring english = LanguageDescription(1033);
  EXPECT_EQ(english.compare(0, 5, L"1033-"), 0) << english;
  EXPECT_GT(english.size(), 5u) << "the system knows English (United States)";
  // A language the system does not know has an empty name.
  EXPECT_EQ(LanguageDescription(0x03FF), L"1023-");
}

TEST(Language, MatchesTheSystemDefaultLanguage) {
  const LANGID system = GetSystemDefaultLangID();
  const LANGID other = system == 1033 ? 1031 : 1033;
  EXPECT_TRUE(LanguageAllowed(L""));
  EXPECT_TRUE(LanguageAllowed(std::to_wstring(other) + L";" + std::to_wstring(system) + L";"));
  EXPECT_FALSE(LanguageAllowed(std::to_wstring(other) + L";"));
  EXPECT_FALSE(LanguageAllowed(std::to_wstring(other) + L";" + std::to_wstring(system)));
}

TEST(Language, LogsTheSystemLanguageOncePerNonEmptyList) {
  cvtest::ScratchFolder scratch;
  const std::wstring log = scratch / L"language.log";
  const int64_t exitCode =
      cvtest::RunProgram(cvtest::BuiltProgram(L"log_language.exe"), L"\"" + log + L"\" 1; \"\" 2;3;");
  ASSERT_EQ(exitCode, 0);

  const std::string bytes = cvtest::ReadBytes(log);
  ASSERT_GE(bytes.size(), 2u);
  const std::wstring text = WideFromUtf16Le(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
  const std::wstring line = L"-SystemDefault LangID=" + LanguageDescription(GetSystemDefaultLangID()) + L"\r\n";
  EXPECT_EQ(CountOccurrences(text, line), 2u) << "two of the three lists are not empty";
  EXPECT_EQ(CountOccurrences(text, L"SystemDefault LangID="), 2u);
}
