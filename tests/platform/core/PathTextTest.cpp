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

  std::wstring unc = L"\\\\server\\share\\" + std::wstring(286, L'x');
  EXPECT_EQ(ToLongPath(unc), L"\\\\?\\UNC\\" + unc.substr(2));
  EXPECT_EQ(ToLongPath(L"\\\\?\\UNC\\" + unc.substr(2)), L"\\\\?\\UNC\\" + unc.substr(2));
  std::wstring relative(300, L'r');
  EXPECT_EQ(ToLongPath(relative), relative);

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
  EXPECT_EQ(NormalizePath(L"C:\\a\\"), L"C:\\a\\");
  EXPECT_EQ(NormalizePath(L""), L"");
}

TEST(PathText, VolumeRootAndBackslashes) {
  EXPECT_EQ(GetVolumeRoot(L"C:\\Windows\\x"), L"C:\\");
  EXPECT_EQ(GetVolumeRoot(L"\\\\?\\C:\\Windows"), L"C:\\");
  EXPECT_EQ(GetVolumeRoot(L"\\\\srv\\share\\dir"), L"\\\\srv\\share\\");
  EXPECT_EQ(GetVolumeRoot(L"\\\\srv\\share"), L"");
  EXPECT_EQ(GetVolumeRoot(L"C:"), L"C:");
  std::wstring text = L"a/b/c\\d";
  EXPECT_EQ(ToBackslashes(text), 2u);
  EXPECT_EQ(text, L"a\\b\\c\\d");
}
