#include "platform/core/PathText.h"

#include <gtest/gtest.h>

using namespace cv;

TEST(PathText, TrailingBackslashParentAndFileName) {
  EXPECT_EQ(EnsureTrailingBackslash(L"C:\\Temp"), L"C:\\Temp\\");
  EXPECT_EQ(EnsureTrailingBackslash(L"C:\\Temp\\"), L"C:\\Temp\\");
  EXPECT_EQ(EnsureTrailingBackslash(L""), L"");
  EXPECT_EQ(GetParentFolder(L"setup.exe"), L"");
  EXPECT_EQ(GetParentFolder(L"C:\\a\\b.exe"), L"C:\\a");
  EXPECT_EQ(GetFileName(L"C:\\a\\"), L"");
  EXPECT_EQ(GetFileName(L"b.exe"), L"b.exe");
}

TEST(PathText, LongPathPrefixStartsAt248Characters) {
  std::wstring drive247 = L"C:\\" + std::wstring(244, L'a');
  ASSERT_EQ(drive247.size(), 247u);
  EXPECT_EQ(ToLongPath(drive247), drive247);
  std::wstring drive248 = drive247 + L"b";
  EXPECT_EQ(ToLongPath(drive248), L"\\\\?\\" + drive248);
  EXPECT_EQ(ToLongPath(L"\\\\?\\" + drive248), L"\\\\?\\" + drive248);
  EXPECT_EQ(ToLongPath(drive248 + L"\\"), L"\\\\?\\" + drive248 + L"\\");

  // Network paths at the same length, and never as "\\?\\\server".
  std::wstring unc247 = L"\\\\server\\share\\" + std::wstring(232, L'x');
  ASSERT_EQ(unc247.size(), 247u);
  EXPECT_EQ(ToLongPath(unc247), unc247);
  std::wstring unc = unc247 + L"y";
  EXPECT_EQ(ToLongPath(unc), L"\\\\?\\UNC\\" + unc.substr(2));
  EXPECT_EQ(ToLongPath(L"\\\\?\\UNC\\" + unc.substr(2)), L"\\\\?\\UNC\\" + unc.substr(2));

  // The prefix turns off Win32's clean-up, so the prefixed path is canonical.
  std::wstring a200(200, L'a');
  EXPECT_EQ(ToLongPath(L"C:/" + a200 + L"/./old/../" + a200), L"\\\\?\\C:\\" + a200 + L"\\" + a200);
  std::wstring climbs = L"C:\\" + a200 + L"\\..\\..\\" + a200;
  EXPECT_EQ(ToLongPath(climbs), climbs);

  // Relative, drive-relative and device paths are never prefixed.
  for (const std::wstring& kept : {std::wstring(300, L'r'), L"C:" + std::wstring(300, L'r'),
                                   L"\\" + std::wstring(300, L'r'), L"\\\\.\\pipe\\" + std::wstring(300, L'p')})
    EXPECT_EQ(ToLongPath(kept), kept);

  EXPECT_EQ(FromLongPath(L"\\\\?\\UNC\\srv\\share\\x"), L"\\\\srv\\share\\x");
  EXPECT_EQ(FromLongPath(L"\\\\?\\C:\\x"), L"C:\\x");
  EXPECT_EQ(FromLongPath(L"C:\\x"), L"C:\\x");
}

TEST(PathText, SplitPathRoots) {
  using V = std::vector<std::wstring>;
  EXPECT_EQ(SplitPath(L"C:\\a\\b"), (V{L"C:", L"a", L"b"}));
  EXPECT_EQ(SplitPath(L"\\\\?\\UNC\\srv\\share\\x"), (V{L"\\\\?\\UNC\\srv", L"share", L"x"}));
  EXPECT_EQ(SplitPath(L"\\\\srv\\share\\x"), (V{L"\\\\srv", L"share", L"x"}));
  EXPECT_EQ(SplitPath(L"\\\\?\\C:\\x"), (V{L"\\\\?\\C:", L"x"}));
  EXPECT_EQ(SplitPath(L"C:\\a\\\\b\\"), (V{L"C:", L"a", L"", L"b", L""}));
  EXPECT_EQ(SplitPath(L"name"), (V{L"name"}));
  EXPECT_EQ(SplitPath(L""), (V{L""}));
}

TEST(PathText, NormalizePathTrimsComponentsAndKeepsFolderProperties) {
  EXPECT_EQ(NormalizePath(L"C:\\Program Files \\App.\\sub"), L"C:\\Program Files\\App\\sub");
  EXPECT_EQ(NormalizePath(L"[TempFolder]\\x"), L"[TempFolder]x");
  EXPECT_EQ(NormalizePath(L"[TempFolder]\\a]\\b"), L"[TempFolder]a]\\b");
  // Only a leading folder reference is joined: brackets elsewhere are names.
  EXPECT_EQ(NormalizePath(L"C:\\Builds [x64]\\pkg"), L"C:\\Builds [x64]\\pkg");
  EXPECT_EQ(NormalizePath(L"[a][b]\\c"), L"[a][b]\\c");
  EXPECT_EQ(NormalizePath(L"C:\\a\\"), L"C:\\a\\");
  EXPECT_EQ(NormalizePath(L""), L"");
}

TEST(PathText, Backslashes) {
  std::wstring text = L"a/b/c\\d";
  EXPECT_EQ(ToBackslashes(text), 2u);
  EXPECT_EQ(text, L"a\\b\\c\\d");
}

TEST(PathText, CanonicalPaths) {
  struct Case {
    const wchar_t* path;
    const wchar_t* canonical;  // null: none
  } cases[] = {
      {L"C:\\a\\b", L"C:\\a\\b"},
      {L"C:/a//b/./c/../d\\", L"C:\\a\\b\\d"},
      {L"C:\\", L"C:"},
      {L"C:", L"C:"},
      {L"\\\\?\\C:\\a\\..", L"C:"},
      {L"\\\\?\\UNC\\srv\\share\\a", L"\\\\srv\\share\\a"},
      {L"//srv/share/a/../b", L"\\\\srv\\share\\b"},
      {L"C:\\Builds [x64]\\...\\x. ", L"C:\\Builds [x64]\\...\\x. "},
      {L"C:\\..", nullptr},
      {L"C:\\a\\..\\..\\b", nullptr},
      {L"\\\\srv\\share\\..\\other", nullptr},
      {L"\\\\srv", nullptr},
      {L"\\\\srv\\", nullptr},
      {L"\\\\.\\C:\\x", nullptr},
      {L"C:a\\b", nullptr},
      {L"\\a\\b", nullptr},
      {L"a\\b", nullptr},
      {L"", nullptr},
  };
  for (const Case& c : cases) {
    std::optional<std::wstring> canonical = CanonicalPath(c.path);
    if (c.canonical) {
      ASSERT_TRUE(canonical.has_value()) << testing::PrintToString(std::wstring(c.path));
      EXPECT_EQ(*canonical, c.canonical);
    } else {
      EXPECT_FALSE(canonical.has_value()) << testing::PrintToString(std::wstring(c.path));
    }
  }
}

TEST(PathText, PathUnderRoot) {
  struct Case {
    const wchar_t* path;
    const wchar_t* root;
    bool under;
  } cases[] = {
      {L"C:\\pkg\\x", L"C:\\pkg", true},
      {L"C:\\pkg\\sub\\x", L"C:\\pkg\\", true},
      {L"C:\\pkg2\\x", L"C:\\pkg", false},  // a longer name is no child
      {L"C:\\pkg\\..\\Windows\\x.dll", L"C:\\pkg", false},
      {L"C:\\pkg\\a\\..\\..\\Windows\\x.dll", L"C:\\pkg", false},
      {L"C:\\pkg\\a\\..\\x", L"C:\\pkg", true},
      {L"C:\\pkg\\.\\x", L"C:\\pkg", true},
      {L"C:\\pkg\\\\x", L"C:\\pkg", true},
      {L"C:/pkg/x", L"C:\\pkg", true},
      {L"C:\\pkg\\x", L"C:/pkg/", true},
      {L"C:\\pkg", L"C:\\pkg", false},  // the root itself is not below it
      {L"C:\\pkg\\", L"C:\\pkg", false},
      {L"C:\\pkg\\x\\..", L"C:\\pkg", false},
      {L"C:\\..\\pkg\\x", L"C:\\pkg", false},  // climbs above the drive
      {L"C:\\pkg\\x", L"C:\\pkg\\..\\..", false},
      {L"\\\\?\\C:\\pkg\\x", L"C:\\pkg", true},
      {L"C:\\pkg\\x", L"\\\\?\\c:\\PKG", true},
      {L"D:\\pkg\\x", L"C:\\pkg", false},
      {L"C:\\x", L"C:\\", true},
      {L"\\\\srv\\share\\x", L"\\\\srv\\share", true},
      {L"\\\\?\\UNC\\srv\\share\\x", L"\\\\SRV\\Share\\", true},
      {L"\\\\srv\\share2\\x", L"\\\\srv\\share", false},
      {L"\\\\srv\\share\\..\\other\\x", L"\\\\srv\\share", false},
      {L"pkg\\x", L"pkg", false},  // relative paths have no fixed place
      {L"C:pkg\\x", L"C:pkg", false},
      {L"C:\\pkg\\x", L"", false},
      // Win32 trims trailing dots and blanks, and ".. " may climb.
      {L"C:\\pkg\\.. \\Windows\\x.dll", L"C:\\pkg", false},
      {L"C:\\pkg\\x.\\y", L"C:\\pkg", false},
      {L"C:\\pkg \\x", L"C:\\pkg", false},
      // Letters compare as Windows compares file names, beyond ASCII too.
      {L"c:\\PKG\\x", L"C:\\pkg", true},
      {L"C:\\\u00C4PFEL\\x", L"C:\\\u00E4pfel", true},
      {L"C:\\\u041F\u0410\u041A\u0415\u0422\\x", L"C:\\\u043F\u0430\u043A\u0435\u0442", true},
      {L"C:\\\u03A6\u0386\u039A\u0395\u039B\u039F\u03A3\\x", L"C:\\\u03C6\u03AC\u03BA\u03B5\u03BB\u03BF\u03C3", true},
      {L"C:\\\uFF30\uFF2B\uFF27\\x", L"C:\\\uFF50\uFF4B\uFF47", true},  // full-width
      {L"C:\\I\\x", L"C:\\\u0131", false},    // dotless i is no i for Windows
      {L"C:\\\u1E9E\\x", L"C:\\\u00DF", false},  // nor the capital sharp s an ß
      {L"C:\\\u00C4\\x", L"C:\\A", false},
  };
  for (const Case& c : cases)
    EXPECT_EQ(IsPathUnder(c.path, c.root), c.under)
        << testing::PrintToString(std::wstring(c.path)) << " under " << testing::PrintToString(std::wstring(c.root));
}

TEST(PathText, BelowVolumeRoot) {
  for (const wchar_t* below : {L"C:\\x", L"c:/x/", L"\\\\?\\C:\\x", L"\\\\srv\\share\\x", L"C:\\x\\y\\.."})
    EXPECT_TRUE(IsBelowVolumeRoot(below)) << testing::PrintToString(std::wstring(below));
  for (const wchar_t* root : {L"C:", L"C:\\", L"C:/", L"\\\\?\\C:\\", L"C:\\x\\..", L"C:\\..", L"\\\\srv\\share",
                              L"\\\\srv\\share\\", L"\\\\?\\UNC\\srv\\share", L"\\\\srv", L"x", L"\\x", L""})
    EXPECT_FALSE(IsBelowVolumeRoot(root)) << testing::PrintToString(std::wstring(root));
}
