#include "detection/win/RegistrySearches.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "support/SearchTestSupport.h"
#include "detection/win/WindowsVersion.h"

using namespace cv;
using cvtest::RunSearch;
using cvtest::Search;

namespace {

std::vector<std::wstring> Sorted(std::vector<std::wstring> texts) {
  std::sort(texts.begin(), texts.end());
  return texts;
}

// The same key under HKLM\Software in each view, with different contents, and
// one under HKCU.
class RegistrySearches : public ::testing::Test {
 protected:
  void SetUp() override {
    for (RegistryView view : {RegistryView::k32, RegistryView::k64}) {
      const bool is64 = view == RegistryView::k64;
      Result<RegistryKey> key = RegistryKey::Create(HKEY_LOCAL_MACHINE, path_, view, KEY_ALL_ACCESS);
      ASSERT_TRUE(key.ok()) << key.error();
      ASSERT_EQ(key->WriteString(L"Version", is64 ? L"4.8.1" : L"3.5"), 0u);
      ASSERT_EQ(key->WriteString(is64 ? L"Only64" : L"Only32", L"x"), 0u);
      ASSERT_TRUE(RegistryKey::Create(HKEY_LOCAL_MACHINE, path_ + (is64 ? L"\\5.1" : L"\\2.0"), view).ok());
    }
    Result<RegistryKey> user = RegistryKey::Create(HKEY_CURRENT_USER, path_, RegistryView::k32, KEY_ALL_ACCESS);
    ASSERT_TRUE(user.ok());
    const uint64_t qword = 5000000000ull;
    const uint32_t dword = 200;
    ASSERT_EQ(user->WriteValue(L"Dword", REG_DWORD, &dword, sizeof dword), 0u);
    ASSERT_EQ(user->WriteValue(L"Qword", REG_QWORD, &qword, sizeof qword), 0u);
    ASSERT_EQ(user->WriteValue(L"Multi", REG_MULTI_SZ, L"7.1\0second\0", 12 * sizeof(wchar_t)), 0u);
    ASSERT_EQ(user->WriteValue(L"Binary", REG_BINARY, "6\0.\0" "2\0\0\0x\0", 10), 0u);
    ASSERT_EQ(user->WriteValue(L"Empty", REG_SZ, nullptr, 0), 0u);
    ASSERT_EQ(user->WriteString(L"Hex", L"0x200"), 0u);
    ASSERT_EQ(user->WriteString(L"", L"default 1.0"), 0u);
  }
  void TearDown() override {
    for (RegistryView view : {RegistryView::k64, RegistryView::k32}) {
      RegistryKey::DeleteTree(HKEY_LOCAL_MACHINE, path_, view);
      RegistryKey::DeleteTree(HKEY_CURRENT_USER, path_, view);
    }
  }
  std::wstring path_ = L"Software\\CorvaneSearchTest-" + std::to_wstring(GetCurrentProcessId());
  std::wstring hklm_ = L"HKLM\\" + path_;
  std::wstring hkcu_ = L"HKEY_CURRENT_USER\\" + path_;
};

}  // namespace

TEST_F(RegistrySearches, TheFlagPicksTheView) {
  // The shipped 32-bit program sees the 32-bit view unless the prerequisite
  // asks for the 64-bit one; the 64-bit build must see the same.
  ASSERT_TRUE(Is64BitWindows());
  const struct {
    PrereqSearch search;
    std::vector<std::wstring> found32, found64;
    bool answer32, answer64;
  } cases[] = {
      {Search(kRegistryValueText, hklm_ + L"\\Version"), {L"3.5"}, {L"4.8.1"}, true, true},
      {Search(kRegistryValueText, hklm_ + L"\\Version", L"", L"4"), {L"3.5"}, {L"4.8.1"}, false, true},
      {Search(kRegistrySubkeyNames, hklm_), {L"2.0"}, {L"5.1"}, true, true},
      {Search(kRegistryValueNames, hklm_, L"", L"", L""), {L"Only32", L"Version"}, {L"Only64", L"Version"}, false, false},
      {Search(kRegistryValueExists, hklm_ + L"\\Only64"), {}, {}, false, true},
      {Search(kRegistryValueMissing, hklm_ + L"\\Only64"), {}, {}, true, false},
      {Search(kRegistryValueExists, hklm_ + L"\\Only32"), {}, {}, true, false},
      {Search(kRegistryKeyExists, hklm_ + L"\\5.1"), {}, {}, false, true},
      {Search(kRegistryKeyMissing, hklm_ + L"\\5.1"), {}, {}, true, false},
      {Search(kRegistryValueCompare, hklm_ + L"\\Version", L"S4.8"), {}, {}, false, true},
      {Search(kRegistryValueCompare, L"hklm\\" + path_ + L"\\Version", L"M3.5"), {}, {}, true, false},
  };
  for (const auto& c : cases) {
    SearchRecord record32 = RunSearch(c.search, false);
    SearchRecord record64 = RunSearch(c.search, true);
    EXPECT_EQ(Sorted(record32.foundTexts), c.found32) << c.search.searchType << " " << c.search.searchString;
    EXPECT_EQ(Sorted(record64.foundTexts), c.found64) << c.search.searchType << " " << c.search.searchString;
    // The value-name list holds with any name found: no bounds.
    bool listOfNames = c.search.searchType == kRegistryValueNames;
    EXPECT_EQ(record32.answer, listOfNames || c.answer32) << c.search.searchType << " " << c.search.searchString;
    EXPECT_EQ(record64.answer, listOfNames || c.answer64) << c.search.searchType << " " << c.search.searchString;
  }
}

TEST_F(RegistrySearches, CurrentUserSoftwareIsOneKeyForBothViews) {
  // Measured under Wine as on Windows 7 and later: HKCU\Software is shared.
  for (bool use64 : {false, true}) {
    EXPECT_TRUE(RunSearch(Search(kRegistryKeyExists, hkcu_), use64).answer);
    EXPECT_EQ(RunSearch(Search(kRegistryValueText, hkcu_ + L"\\Dword"), use64).foundTexts,
              std::vector<std::wstring>{L"200"});
  }
}

TEST_F(RegistrySearches, ValueTextsOfEveryType) {
  const struct {
    const wchar_t* value;
    std::vector<std::wstring> found;
  } cases[] = {
      {L"Dword", {L"200"}},          // in decimal, not its bytes taken as characters
      {L"Qword", {L"5000000000"}},
      {L"Multi", {L"7.1"}},          // up to the first NUL
      {L"Binary", {L"6.2"}},         // other types: the bytes as UTF-16 up to a NUL
      {L"Empty", {L""}},             // no data: an empty text, still found
      {L"", {L"default 1.0"}},       // the key's default value
      {L"Missing", {}},
  };
  for (const auto& c : cases)
    EXPECT_EQ(RunSearch(Search(kRegistryValueText, hkcu_ + L"\\" + c.value), false).foundTexts, c.found) << c.value;
  // An empty text is found but holds no version.
  EXPECT_FALSE(RunSearch(Search(kRegistryValueText, hkcu_ + L"\\Empty", L"", L"1"), false).answer);
  EXPECT_TRUE(RunSearch(Search(kRegistryValueText, hkcu_ + L"\\Empty"), false).answer);
}

TEST_F(RegistrySearches, ComparisonsReadTextsAndDwordsOnly) {
  const struct {
    const wchar_t* value;
    const wchar_t* ref;
    bool answer;
    std::wstring readText;
  } cases[] = {
      {L"Dword", L"G100", true, L"200"},
      {L"Dword", L"L100", false, L"200"},
      {L"Hex", L"G100", false, L"0x200"},
      {L"Multi", L"S7.1", true, std::wstring(L"7.1\0second", 10)},
      {L"Qword", L"D1", false, L""},   // a type the text read refuses
      {L"Missing", L"D1", false, L""},
      {L"Dword", L"", false, L"200"},
  };
  for (const auto& c : cases) {
    SearchRecord record = RunSearch(Search(kRegistryValueCompare, hkcu_ + L"\\" + c.value, c.ref), false);
    EXPECT_EQ(record.answer, c.answer) << c.value << " " << c.ref;
    EXPECT_EQ(record.readText, c.readText) << c.value;
    EXPECT_TRUE(record.foundTexts.empty());
  }
}

TEST_F(RegistrySearches, PathsThatOpenNothing) {
  const std::wstring texts[] = {L"HKLM", L"", L"HKLM_X\\" + path_, L"HKCU\\" + path_ + L"\\Nope"};
  for (const std::wstring& text : texts) {
    EXPECT_FALSE(RunSearch(Search(kRegistryKeyExists, text), false).answer) << text;
    EXPECT_TRUE(RunSearch(Search(kRegistryKeyMissing, text), false).answer) << text;
    EXPECT_TRUE(RunSearch(Search(kRegistryValueMissing, text + L"\\Dword"), false).answer) << text;
    EXPECT_TRUE(RunSearch(Search(kRegistrySubkeyNames, text), false).foundTexts.empty()) << text;
    EXPECT_TRUE(RunSearch(Search(kRegistryValueNames, text), true).foundTexts.empty()) << text;
  }
  // An unknown root is HKEY_USERS, where a user's hive lies under its SID.
  EXPECT_TRUE(RunSearch(Search(kRegistryKeyExists, L"HKU\\.DEFAULT"), false).answer);
}
