#include "detection/LanguageCondition.h"

#include <gtest/gtest.h>

using namespace cv;

namespace {

struct FakeLanguage : ILanguageSource {
  explicit FakeLanguage(uint16_t id) : language(id) {}
  uint16_t SystemDefaultLanguage() override {
    ++asked;
    return language;
  }
  void ReportSystemLanguage(uint16_t id) override { reported.push_back(id); }

  uint16_t language;
  int asked = 0;
  std::vector<uint16_t> reported;
};

}  // namespace

TEST(LanguageCondition, EmptyListAllowsWithoutAskingOrReporting) {
  FakeLanguage system(1033);
  EXPECT_TRUE(LanguageAllowed(L"", system));
  EXPECT_EQ(system.asked, 0);
  EXPECT_TRUE(system.reported.empty());
}

TEST(LanguageCondition, OnlyEntriesEndedBySemicolonMatchTheFullLanguageId) {
  struct {
    const wchar_t* list;
    bool allowed;
  } cases[] = {
      {L"1031;1033;", true},
      {L"1031;", false},
      {L"1031;1033", false},  // text after the last ";" is never read
      {L"1033", false},
      {L"2057;", false},      // English, United Kingdom
      {L";1033;", true},
      {L" +1033;", true},
      {L"abc;1033;", true},
      {L"1033x;", true},      // digits up to the first non-digit
      {L"66569;", true},      // 1033 + 65536: only the low 16 bits count
      {L"-64503;", true},     // -64503 modulo 65536 is 1033
      {L"0;", false},
      {L";", false},
  };
  for (const auto& c : cases) {
    FakeLanguage system(1033);
    EXPECT_EQ(LanguageAllowed(c.list, system), c.allowed) << c.list;
    EXPECT_EQ(system.reported, std::vector<uint16_t>{1033}) << c.list;
  }
}

TEST(LanguageCondition, DescriptionIsIdentifierDashName) {
  EXPECT_EQ(FormatLanguageDescription(1033, L"English (United States)"), L"1033-English (United States)");
  EXPECT_EQ(FormatLanguageDescription(65535, L""), L"65535-");
}
