#include "platform/core/win/RegistryKey.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace cv;

namespace {

class RegistryKeyTest : public ::testing::Test {
 protected:
  void TearDown() override {
    for (RegistryView view : {RegistryView::k64, RegistryView::k32})
      RegistryKey::DeleteTree(HKEY_LOCAL_MACHINE, path_, view);
  }
  std::wstring path_ = L"Software\\CorvaneTestKey-" + std::to_wstring(GetCurrentProcessId());
};

TEST_F(RegistryKeyTest, TypedReadsTakeTheirTypeOnly) {
  Result<RegistryKey> key = RegistryKey::Create(HKEY_LOCAL_MACHINE, path_, RegistryView::k32, KEY_ALL_ACCESS);
  ASSERT_TRUE(key.ok()) << key.error();
  ASSERT_EQ(key->WriteDword(L"Number", 4000000000u), 0u);
  ASSERT_EQ(key->WriteString(L"Text", L"abc"), 0u);
  // Stored without its terminating NUL, and longer than the first read takes.
  std::wstring longText(1000, L'x');
  ASSERT_EQ(key->WriteValue(L"Long", REG_SZ, longText.data(), longText.size() * sizeof(wchar_t)), 0u);
  ASSERT_EQ(key->WriteValue(L"Embedded", REG_EXPAND_SZ, L"a\0b", 3 * sizeof(wchar_t)), 0u);
  ASSERT_EQ(key->WriteValue(L"Short", REG_DWORD, "\x01\x02", 2), 0u);

  EXPECT_EQ(key->ReadDword(L"Number").value_or(0), 4000000000u);
  EXPECT_EQ(key->ReadString(L"Text").value_or(L""), L"abc");
  EXPECT_EQ(key->ReadString(L"Long").value_or(L""), longText);
  EXPECT_EQ(key->ReadString(L"Embedded").value_or(L""), L"a");
  EXPECT_EQ(key->ReadDword(L"Text").error(), static_cast<uint32_t>(ERROR_UNSUPPORTED_TYPE));
  EXPECT_EQ(key->ReadString(L"Number").error(), static_cast<uint32_t>(ERROR_UNSUPPORTED_TYPE));
  EXPECT_EQ(key->ReadDword(L"Short").error(), static_cast<uint32_t>(ERROR_UNSUPPORTED_TYPE));
  EXPECT_EQ(key->ReadValue(L"Missing").error(), static_cast<uint32_t>(ERROR_FILE_NOT_FOUND));
  Result<RegistryValue> raw = key->ReadValue(L"Short");
  ASSERT_TRUE(raw.ok());
  EXPECT_EQ(raw->type, static_cast<DWORD>(REG_DWORD));
  EXPECT_EQ(raw->data, (std::vector<BYTE>{1, 2}));
}

TEST_F(RegistryKeyTest, EnumeratesSubkeysAndValues) {
  Result<RegistryKey> key = RegistryKey::Create(HKEY_LOCAL_MACHINE, path_, RegistryView::k32, KEY_ALL_ACCESS);
  ASSERT_TRUE(key.ok());
  // Key names end at 255 characters, value names go on: longer than the first buffer.
  const std::wstring longKey(255, L'k'), longValue(600, L'v');
  for (const std::wstring& name : {std::wstring(L"a"), std::wstring(L"b"), longKey})
    ASSERT_TRUE(RegistryKey::Create(HKEY_LOCAL_MACHINE, path_ + L"\\" + name, RegistryView::k32).ok());
  for (const std::wstring& name : {std::wstring(L"a"), longValue}) ASSERT_EQ(key->WriteDword(name, 1), 0u);
  auto sorted = [](std::vector<std::wstring> names) {
    std::sort(names.begin(), names.end());
    return names;
  };
  EXPECT_EQ(sorted(key->SubkeyNames()), (std::vector<std::wstring>{L"a", L"b", longKey}));
  EXPECT_EQ(sorted(key->ValueNames()), (std::vector<std::wstring>{L"a", longValue}));
  EXPECT_TRUE(RegistryKey().SubkeyNames().empty());
}

TEST_F(RegistryKeyTest, EachViewHasItsOwnSoftwareKey) {
  // Both builds must see the shipped 32-bit program's keys: a key made in one
  // view of HKLM\Software is not there in the other.
  ASSERT_TRUE(RegistryKey::Create(HKEY_LOCAL_MACHINE, path_, RegistryView::k64).ok());
  EXPECT_TRUE(RegistryKey::Open(HKEY_LOCAL_MACHINE, path_, RegistryView::k64).ok());
  EXPECT_EQ(RegistryKey::Open(HKEY_LOCAL_MACHINE, path_, RegistryView::k32).error(),
            static_cast<uint32_t>(ERROR_FILE_NOT_FOUND));
  EXPECT_TRUE(RegistryKey::Open(HKEY_LOCAL_MACHINE, L"Software\\WOW6432Node", RegistryView::k64).ok());

  EXPECT_EQ(RegistryKey::DeleteTree(HKEY_LOCAL_MACHINE, path_, RegistryView::k64), 0u);
  EXPECT_FALSE(RegistryKey::Open(HKEY_LOCAL_MACHINE, path_, RegistryView::k64).ok());
  EXPECT_EQ(RegistryKey::DeleteTree(HKEY_LOCAL_MACHINE, L"", RegistryView::k64),
            static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

}  // namespace
