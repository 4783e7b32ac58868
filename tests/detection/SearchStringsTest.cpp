#include "detection/SearchStrings.h"

#include <gtest/gtest.h>

using namespace cv;

TEST(SearchStrings, RegistryPathsSplitIntoRootKeyAndValue) {
  const struct {
    const wchar_t* text;
    RegistryRoot root;
    const wchar_t *key, *valueKey, *value;
  } cases[] = {
      {L"HKLM\\Software\\Corvane\\Version", RegistryRoot::LocalMachine, L"Software\\Corvane\\Version",
       L"Software\\Corvane", L"Version"},
      {L"hklm\\Software\\X", RegistryRoot::LocalMachine, L"Software\\X", L"Software", L"X"},
      {L"HKEY_CURRENT_USER\\Software", RegistryRoot::CurrentUser, L"Software", L"", L"Software"},
      {L"HKLM_X\\Software\\X", RegistryRoot::Users, L"Software\\X", L"Software", L"X"},  // unknown root: HKEY_USERS
      {L"HKCR\\.txt\\", RegistryRoot::ClassesRoot, L".txt\\", L".txt", L""},  // the default value
      {L"HKCC\\", RegistryRoot::CurrentConfig, L"", L"", L""},
      {L"HKLM", RegistryRoot::None, L"", L"", L""},  // no backslash: nothing to open
      {L"", RegistryRoot::None, L"", L"", L""},
  };
  for (const auto& c : cases) {
    RegistrySearchPath key = SplitRegistryKeySearch(c.text);
    EXPECT_EQ(key.root, c.root) << c.text;
    EXPECT_EQ(key.key, c.key) << c.text;
    RegistrySearchPath value = SplitRegistryValueSearch(c.text);
    EXPECT_EQ(value.root, c.root) << c.text;
    EXPECT_EQ(value.key, c.valueKey) << c.text;
    EXPECT_EQ(value.value, c.value) << c.text;
  }
}

TEST(SearchStrings, FileSearchesSplitOffTheirDepthAndKnowBareNames) {
  const struct {
    const wchar_t* text;
    const wchar_t *path, *suffix;
    bool bare;
    int32_t depth;  // of the whole text as one candidate
  } cases[] = {
      {L"kernel32.dll", L"kernel32.dll", L"", true, 0},
      {L"setup.exe?2", L"setup.exe", L"?2", true, 2},
      {L"[SystemFolder]kernel32.dll", L"[SystemFolder]kernel32.dll", L"", false, 0},
      {L"C:\\Program Files\\App\\app.exe?3", L"C:\\Program Files\\App\\app.exe", L"?3", false, 3},
      {L"%ProgramFiles%app.exe", L"%ProgramFiles%app.exe", L"", false, 0},
      {L"!HKLM\\K\\V!app.exe?1", L"!HKLM\\K\\V!app.exe", L"?1", false, 1},
      {L"?app.exe", L"?app.exe", L"", true, 0},  // a "?" at the start is part of the path
      {L"?app.exe?4", L"?app.exe", L"?4", true, 4},
      {L"C:\\a\\*.dll?x", L"C:\\a\\*.dll", L"?x", false, 0},  // no digits: depth 0
      {L"C:\\a\\b.dll?-3", L"C:\\a\\b.dll", L"?-3", false, 0},
      {L"C:\\a\\b.dll? 2", L"C:\\a\\b.dll", L"? 2", false, 2},
      {L"a.dll?1?2", L"a.dll", L"?1?2", true, 1},
      {L"?", L"?", L"", true, 0},
      {L"", L"", L"", true, 0},
  };
  for (const auto& c : cases) {
    FileSearchString search = SplitFileSearchString(c.text);
    EXPECT_EQ(search.path, c.path) << c.text;
    EXPECT_EQ(search.suffix, c.suffix) << c.text;
    EXPECT_EQ(search.bareName, c.bare) << c.text;
    FileSearchTarget target = SplitSearchDepth(c.text);
    EXPECT_EQ(target.path, c.path) << c.text;
    EXPECT_EQ(target.depth, c.depth) << c.text;
  }
  // A bare name becomes a drive root, its name and its suffix again.
  FileSearchString bare = SplitFileSearchString(L"setup.exe?2");
  FileSearchTarget atDrive = SplitSearchDepth(L"D:\\" + bare.path + bare.suffix);
  EXPECT_EQ(atDrive.path, L"D:\\setup.exe");
  EXPECT_EQ(atDrive.depth, 2);
}

TEST(SearchStrings, AppxTriplesSplitAtRunsOfQuestionMarks) {
  const struct {
    const wchar_t *text, *name, *architecture, *publisher;
  } cases[] = {
      {L"Corvane.App", L"Corvane.App", L"", L""},
      {L"Corvane.App?x64?CN=Corvane", L"Corvane.App", L"x64", L"CN=Corvane"},
      {L" Corvane.App ??? x64\t?? CN=Corvane, O=Corvane ", L"Corvane.App", L"x64", L"CN=Corvane, O=Corvane"},
      {L"Corvane.App??CN=Corvane", L"Corvane.App", L"CN=Corvane", L""},  // a run is one separator
      {L"?x64?CN=Corvane", L"", L"x64", L"CN=Corvane"},
      {L"Corvane.App?x64?", L"Corvane.App", L"x64", L""},
      {L"a?b?c?d", L"a", L"b", L"c"},
      {L"a? ?c", L"a", L"", L"c"},
      {L"", L"", L"", L""},
      {L"???", L"", L"", L""},
  };
  for (const auto& c : cases) {
    AppxSearch appx = SplitAppxSearch(c.text);
    EXPECT_EQ(appx.name, c.name) << c.text;
    EXPECT_EQ(appx.architecture, c.architecture) << c.text;
    EXPECT_EQ(appx.publisher, c.publisher) << c.text;
  }
}

TEST(SearchStrings, ComparisonOperators) {
  const struct {
    const wchar_t *value, *ref;
    bool result;
  } cases[] = {
      {L"4.8", L"M4.8", true},
      {L"4.8", L"M4.80", false},
      {L"abc", L"MABC", false},  // case-sensitive
      {L"", L"M", true},
      {L"4.8", L"D4.80", true},
      {L"4.8", L"D4.8", false},
      {L"version 4.8 final", L"C4.8", true},
      {L"version 4.8 final", L"C4.9", false},
      {L"abc", L"C", true},
      {L"abc", L"X", false},  // an empty reference is contained in everything
      {L"abc", L"Xd", true},
      {L"abc", L"Xb", false},
      {L"4.8.1", L"S4.8", true},
      {L"4", L"S4.8", false},
      {L"4.8.1", L"E.1", true},
      {L"1", L"E.1", false},
      {L"200", L"G100", true},
      {L"100", L"G100", false},
      {L"0x200", L"G100", false},  // not digits only
      {L"200", L"G1e2", false},
      {L"", L"G0", false},
      {L"1", L"G", true},  // an empty text is the number 0
      {L"", L"L1", true},
      {L"099", L"L100", true},
      {L"4000000000", L"G2147483647", true},  // beyond 32 bits
      {L"99999999999999999999", L"L100000000000000000000", true},
      {L"-5", L"L0", false},
      {L"4.8", L"m4.8", false},  // unknown operators never hold
      {L"4.8", L"Z4.8", false},
      {L"4.8", L"", false},
  };
  for (const auto& c : cases) EXPECT_EQ(CompareRegistryText(c.value, c.ref), c.result) << c.value << " " << c.ref;
}
