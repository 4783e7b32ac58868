#include "platform/core/win/FolderResolution.h"

#include <gtest/gtest.h>
#include <shlobj.h>

#include "platform/core/Text.h"
#include "support/WinTestSupport.h"

using namespace cv;

namespace {

std::wstring SystemFolderForTest(bool native) {
  wchar_t path[MAX_PATH] = {};
  // On 64-bit Windows the 32-bit system folder is the WOW64 one.
  if (!native && GetSystemWow64DirectoryW(path, MAX_PATH)) return EnsureTrailingBackslash(path);
  GetSystemDirectoryW(path, MAX_PATH);
  return EnsureTrailingBackslash(path);
}

// Sets an environment variable for the test's lifetime and restores it after.
class ScopedVariable {
 public:
  ScopedVariable(const wchar_t* name, const wchar_t* value) : name_(name) {
    had_ = GetEnvVar(name, old_);
    SetEnvironmentVariableW(name, value);
  }
  ~ScopedVariable() { SetEnvironmentVariableW(name_, had_ ? old_.c_str() : nullptr); }

 private:
  const wchar_t* name_;
  std::wstring old_;
  bool had_ = false;
};

}  // namespace

TEST(FolderResolution, ExpandsFoldersAndEnvironment) {
  std::wstring windows = EnsureTrailingBackslash(GetWindowsFolder());
  std::wstring systemRoot;
  ASSERT_TRUE(GetEnvVar(L"SystemRoot", systemRoot));
  const struct {
    std::wstring text;
    std::wstring expanded;
  } cases[] = {
      {L"[WindowsFolder]explorer.exe", windows + L"explorer.exe"},
      {L"[windowsfolder]explorer.exe", L"[windowsfolder]explorer.exe"},
      {L"[WindowsVolume]", windows.substr(0, 3)},
      {L"[TempFolder]%SystemRoot%", GetTempFolder() + systemRoot},
      {L"[SETUPEXEDIR]x.exe", cvtest::FolderOfThisProgram() + L"\\x.exe"},
      {L"%SystemRoot%\\x", systemRoot + L"\\x"},
      {L"%CvUndefinedVariable%\\x", L"\\x"},
      {L"[NoSuchFolder]\\x", L"[NoSuchFolder]\\x"},
      {L"100%", L"100%"},
      {L"Hello!", L"Hello!"},
      {L"[WindowsFolder", L"[WindowsFolder"},
  };
  for (const auto& c : cases) EXPECT_EQ(ExpandReferences(c.text, false), c.expanded) << c.text;
}

TEST(FolderResolution, SystemFolderFollowsTheBitnessFlag) {
  std::wstring native = ExpandReferences(L"[SystemFolder]", true);
  std::wstring x86 = ExpandReferences(L"[SystemFolder]", false);
  EXPECT_TRUE(EqualsIgnoreAsciiCase(native, SystemFolderForTest(true))) << native;
  EXPECT_TRUE(EqualsIgnoreAsciiCase(x86, SystemFolderForTest(false))) << x86;
  EXPECT_TRUE(EqualsIgnoreAsciiCase(*ResolveFolder(L"System32Folder", false), SystemFolderForTest(true)));
}

TEST(FolderResolution, EveryKnownNameGivesAFolder) {
  const wchar_t* names[] = {L"ProgramFiles64Folder", L"SystemFolder", L"System32Folder", L"WindowsFolder",
                            L"WindowsVolume", L"TempFolder", L"SETUPEXEDIR", L"ProgramFilesFolder",
                            L"CommonFilesFolder", L"DesktopFolder", L"AllUsersDesktopFolder", L"AppDataFolder",
                            L"FavoritesFolder", L"StartMenuFolder", L"ProgramMenuFolder", L"StartupFolder",
                            L"FontsFolder", L"LocalAppDataFolder", L"CommonAppDataFolder", L"ProgramFiles"};
  for (const wchar_t* name : names) {
    std::optional<std::wstring> folder = ResolveFolder(name, false);
    ASSERT_TRUE(folder.has_value()) << name;
    EXPECT_GE(folder->size(), 3u) << name;
    EXPECT_EQ(folder->back(), L'\\') << name;
    EXPECT_EQ(folder->find(L"\\\\", 1), std::wstring::npos) << *folder;
  }
  EXPECT_EQ(ResolveFolder(L"programfilesfolder", false), std::nullopt);

  wchar_t programFiles[MAX_PATH] = {};
  ASSERT_EQ(SHGetFolderPathW(nullptr, CSIDL_PROGRAM_FILES, nullptr, SHGFP_TYPE_CURRENT, programFiles), S_OK);
  EXPECT_EQ(ResolveFolder(L"ProgramFilesFolder", false), EnsureTrailingBackslash(programFiles));
  {
    ScopedVariable w6432(L"ProgramW6432", L"Q:\\Programs64");
    EXPECT_EQ(ResolveFolder(L"ProgramFiles64Folder", false), L"Q:\\Programs64\\");
  }
  {
    // 32-bit Windows has no ProgramW6432: the program files folder stands in.
    ScopedVariable none(L"ProgramW6432", nullptr);
    EXPECT_EQ(ResolveFolder(L"ProgramFiles64Folder", false), EnsureTrailingBackslash(programFiles));
  }
}

class RegistryReferences : public ::testing::Test {
 protected:
  void SetUp() override {
    Result<RegistryKey> key = RegistryKey::Create(HKEY_CURRENT_USER, keyPath_, RegistryView::k32, KEY_ALL_ACCESS);
    ASSERT_TRUE(key.ok()) << key.error();
    key_ = std::move(key).value();
  }
  void TearDown() override {
    key_ = RegistryKey();
    RegistryKey::DeleteTree(HKEY_CURRENT_USER, keyPath_, RegistryView::k32);
  }
  void Set(const wchar_t* name, DWORD type, const void* data, size_t size) {
    ASSERT_EQ(key_.WriteValue(name, type, data, size), 0u);
  }
  void SetText(const wchar_t* name, DWORD type, const std::wstring& text) {
    Set(name, type, text.c_str(), (text.size() + 1) * sizeof(wchar_t));
  }

  std::wstring keyPath_ = L"Software\\CorvaneTest-" + std::to_wstring(GetCurrentProcessId());
  RegistryKey key_;
};

TEST_F(RegistryReferences, ValuesAsText) {
  SetText(L"Dir", REG_SZ, L"C:\\Some Where");
  DWORD five = 5, big = 4000000000u;
  Set(L"Count", REG_DWORD, &five, sizeof(five));
  Set(L"Big", REG_DWORD, &big, sizeof(big));
  std::wstring longText(300, L'L');  // more than the first 200-byte read takes
  SetText(L"Long", REG_SZ, longText);
  SetText(L"Expand", REG_EXPAND_SZ, L"%TEMP%\\x");
  Set(L"Multi", REG_MULTI_SZ, L"a\0b\0\0", 5 * sizeof(wchar_t));
  Set(L"Nuls", REG_SZ, L"\0\0\0", 3 * sizeof(wchar_t));
  Set(L"Binary", REG_BINARY, "\x01\x02", 2);
  Set(L"Short", REG_DWORD, "\x01\x02", 2);

  const struct {
    const wchar_t* name;
    std::optional<std::wstring> text;
  } cases[] = {
      {L"Dir", L"C:\\Some Where"},
      {L"Count", L"5"},
      {L"Big", L"4000000000"},
      {L"Long", longText},
      {L"Expand", L"%TEMP%\\x"},
      {L"Multi", std::wstring(L"a\0b", 3)},
      {L"Nuls", L""},
      {L"Binary", std::nullopt},
      {L"Short", std::nullopt},
      {L"Missing", std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(ReadRegistryValueText(key_, c.name), c.text) << c.name;
}

TEST_F(RegistryReferences, ExpandsRegistryReferences) {
  SetText(L"Dir", REG_SZ, L"C:\\Some Where");
  DWORD five = 5;
  Set(L"Count", REG_DWORD, &five, sizeof(five));
  std::wstring base = L"HKCU\\" + keyPath_;
  EXPECT_EQ(ExpandReferences(L"!" + base + L"\\Dir!\\bin", false), L"C:\\Some Where\\bin");
  EXPECT_EQ(ExpandReferences(L"v!HKEY_CURRENT_USER\\" + keyPath_ + L"\\Count!", true), L"v5");
  EXPECT_EQ(ExpandReferences(L"[" + base + L"\\Dir]", false), L"[" + base + L"\\Dir]");
  EXPECT_EQ(ExpandReferences(L"<!" + base + L"\\Missing!>", false), L"<>");
  EXPECT_EQ(ExpandReferences(L"<!HKCU\\Software\\CorvaneNoSuchKey\\Dir!>", false), L"<>");
  EXPECT_EQ(ExpandReferences(L"<!HKCU!>", false), L"<>");
  EXPECT_EQ(RegistryRootFromPath(base), HKEY_CURRENT_USER);
  EXPECT_EQ(RegistryRootFromPath(L"HKLM\\x"), HKEY_LOCAL_MACHINE);
  EXPECT_EQ(RegistryRootFromPath(L"HKCU"), nullptr);
}

TEST(FolderResolution, BitnessFlagChoosesTheRegistryView) {
  // HKLM\Software has one key per view on 64-bit Windows: each value below is
  // seen only through its own view, whichever build reads it.
  const std::wstring path = L"Software\\CorvaneTestView-" + std::to_wstring(GetCurrentProcessId());
  for (RegistryView view : {RegistryView::k64, RegistryView::k32}) {
    Result<RegistryKey> key = RegistryKey::Create(HKEY_LOCAL_MACHINE, path, view, KEY_ALL_ACCESS);
    ASSERT_TRUE(key.ok()) << key.error();
    ASSERT_EQ(key->WriteDword(view == RegistryView::k64 ? L"Only64" : L"Only32", 7), 0u);
  }
  const std::wstring base = L"!HKLM\\" + path;
  EXPECT_EQ(ExpandReferences(base + L"\\Only64!", true), L"7");
  EXPECT_EQ(ExpandReferences(base + L"\\Only64!", false), L"");
  EXPECT_EQ(ExpandReferences(base + L"\\Only32!", false), L"7");
  EXPECT_EQ(ExpandReferences(base + L"\\Only32!", true), L"");
  for (RegistryView view : {RegistryView::k64, RegistryView::k32})
    EXPECT_EQ(RegistryKey::DeleteTree(HKEY_LOCAL_MACHINE, path, view), 0u);
}
