#include "platform/core/ReferenceExpansion.h"

#include <gtest/gtest.h>

#include <map>

using namespace cv;

namespace {

// Knows a few folders, variables and registry values; records what it was asked.
class FakeResolver : public IReferenceResolver {
 public:
  std::optional<std::wstring> ResolveFolder(const std::wstring& name, bool use64) const override {
    asked += L"[" + name + (use64 ? L"|64]" : L"]");
    if (name == L"SystemFolder") return use64 ? L"C:\\Windows\\System32\\" : L"C:\\Windows\\SysWOW64\\";
    if (name == L"OddFolder") return L"C:\\%PATH%\\!HKLM\\x!\\[TempFolder]\\";
    if (name == L"TempFolder") return L"C:\\Temp\\";
    return std::nullopt;
  }
  std::wstring EnvironmentValue(const std::wstring& name) const override {
    asked += L"%" + name + L"%";
    auto it = variables.find(name);
    return it == variables.end() ? std::wstring() : it->second;
  }
  std::wstring RegistryValueText(const std::wstring& reference, bool use64) const override {
    asked += L"!" + reference + (use64 ? L"|64!" : L"!");
    return reference == L"HKLM\\Software\\App\\Dir" ? L"D:\\App" : L"";
  }

  std::map<std::wstring, std::wstring> variables{{L"SystemRoot", L"C:\\Windows"}, {L"Odd", L"[TempFolder]%SystemRoot%"}};
  mutable std::wstring asked;
};

}  // namespace

TEST(ReferenceExpansion, ReplacesEachForm) {
  const struct {
    const wchar_t* text;
    const wchar_t* expanded;
  } cases[] = {
      {L"", L""},
      {L"C:\\plain\\path.exe /q", L"C:\\plain\\path.exe /q"},
      {L"[SystemFolder]msiexec.exe", L"C:\\Windows\\SysWOW64\\msiexec.exe"},
      {L"%SystemRoot%\\x", L"C:\\Windows\\x"},
      {L"%Undefined%\\x", L"\\x"},
      {L"!HKLM\\Software\\App\\Dir!\\bin", L"D:\\App\\bin"},
      {L"!HKLM\\Software\\Missing\\Dir!\\bin", L"\\bin"},
      {L"[TempFolder]%SystemRoot%", L"C:\\Temp\\C:\\Windows"},
      {L"a[TempFolder]b[TempFolder]c", L"aC:\\Temp\\bC:\\Temp\\c"},
      // Unknown and case-different names stay literally.
      {L"[systemfolder]x", L"[systemfolder]x"},
      {L"[Nope][TempFolder]", L"[Nope]C:\\Temp\\"},
      {L"[]", L"[]"},
      {L"%%", L""},
      // Without a closer the rest stays as it is.
      {L"50%", L"50%"},
      {L"Hello!", L"Hello!"},
      {L"[TempFolder]x [open", L"C:\\Temp\\x [open"},
      {L"x]y", L"x]y"},
      // The first opener decides; another opener inside the name is plain text.
      {L"%a[b%c]", L"c]"},
      {L"[%SystemRoot%]", L"[%SystemRoot%]"},
  };
  FakeResolver resolver;
  for (const auto& c : cases) EXPECT_EQ(ExpandReferences(c.text, false, resolver), c.expanded) << c.text;
}

TEST(ReferenceExpansion, ReplacedTextIsNotScannedAgain) {
  FakeResolver resolver;
  EXPECT_EQ(ExpandReferences(L"[OddFolder]x", false, resolver), L"C:\\%PATH%\\!HKLM\\x!\\[TempFolder]\\x");
  EXPECT_EQ(ExpandReferences(L"%Odd%!", false, resolver), L"[TempFolder]%SystemRoot%!");
  EXPECT_EQ(resolver.asked, L"[OddFolder]%Odd%");
}

TEST(ReferenceExpansion, PassesTheBitnessToFoldersAndRegistry) {
  FakeResolver resolver;
  EXPECT_EQ(ExpandReferences(L"[SystemFolder]!HKLM\\Software\\App\\Dir!", true, resolver),
            L"C:\\Windows\\System32\\D:\\App");
  EXPECT_EQ(resolver.asked, L"[SystemFolder|64]!HKLM\\Software\\App\\Dir|64!");
}

TEST(ReferenceExpansion, RegistryRootNames) {
  const struct {
    const wchar_t* path;
    RegistryRoot root;
  } cases[] = {
      {L"HKLM\\Software", RegistryRoot::LocalMachine},
      {L"hkey_local_machine\\Software\\x", RegistryRoot::LocalMachine},
      {L"HkCu\\x", RegistryRoot::CurrentUser},
      {L"HKEY_CURRENT_USER\\x", RegistryRoot::CurrentUser},
      {L"HKCR\\.txt", RegistryRoot::ClassesRoot},
      {L"HKEY_CLASSES_ROOT\\.txt", RegistryRoot::ClassesRoot},
      {L"HKCC\\x", RegistryRoot::CurrentConfig},
      {L"HKEY_CURRENT_CONFIG\\x", RegistryRoot::CurrentConfig},
      {L"HKU\\.DEFAULT", RegistryRoot::Users},
      {L"anything\\x", RegistryRoot::Users},
      {L"\\x", RegistryRoot::Users},
      {L"HKLM", RegistryRoot::None},
      {L"", RegistryRoot::None},
  };
  for (const auto& c : cases) EXPECT_EQ(ParseRegistryRoot(c.path), c.root) << c.path;
}

TEST(ReferenceExpansion, RegistryPathSplitsAtFirstAndLastBackslash) {
  RegistryValuePath deep = SplitRegistryValuePath(L"HKLM\\Software\\Vendor\\App\\Version");
  EXPECT_EQ(deep.key, L"Software\\Vendor\\App");
  EXPECT_EQ(deep.value, L"Version");
  RegistryValuePath shallow = SplitRegistryValuePath(L"HKCU\\Value");
  EXPECT_EQ(shallow.key, L"");
  EXPECT_EQ(shallow.value, L"Value");
  RegistryValuePath defaultValue = SplitRegistryValuePath(L"HKCU\\Software\\App\\");
  EXPECT_EQ(defaultValue.key, L"Software\\App");
  EXPECT_EQ(defaultValue.value, L"");
}
