#include "chainer/win/InterbootStore.h"

#include <gtest/gtest.h>

#include "platform/core/win/Handles.h"

using namespace cv;

namespace {

// A key of the test's own, so that no run of the program meets it.
std::string TestKeyName() { return "CorvaneInterbootTest-" + std::to_string(GetCurrentProcessId()); }

bool KeyExists(const std::string& name) {
  UniqueKey key;
  return RegOpenKeyExA(HKEY_CURRENT_USER, name.c_str(), 0, KEY_READ, key.put()) == ERROR_SUCCESS;
}

// What is stored, read past the store: type and text. The store writes the
// characters without a terminating zero; Wine adds one to every REG_SZ it
// stores (measured: 5 bytes written give a 6-byte value through either
// character set), which Windows does not, so a trailing zero is taken off
// here and the absence of the zero is shown on Windows only.
std::string RawValue(const std::string& keyName, const char* name, DWORD& type) {
  UniqueKey key;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, keyName.c_str(), 0, KEY_READ, key.put()) != ERROR_SUCCESS) return "<no key>";
  char data[64] = {};
  DWORD size = sizeof(data);
  if (RegQueryValueExA(key.get(), name, nullptr, &type, reinterpret_cast<BYTE*>(data), &size) != ERROR_SUCCESS)
    return "<no value>";
  std::string text(data, size);
  if (!text.empty() && text.back() == '\0') text.pop_back();
  return text;
}

}  // namespace

TEST(InterbootStore, ReturnCodesAsSignedDecimalTextFirstOneStays) {
  const std::string keyName = TestKeyName();
  {
    InterbootStore store(keyName);
    EXPECT_FALSE(KeyExists(keyName)) << "nothing is written before the first code";
    EXPECT_EQ(store.SetInt(L"VC_RET", static_cast<int32_t>(0xC0000005)), 0u);
    EXPECT_EQ(store.SetInt(L"VC_RET", 0), 3u) << "the first code stays";
    EXPECT_EQ(store.SetInt(L"MSI_RET", 3010), 0u);
    EXPECT_EQ(store.SetInt(L"", 1), 0u) << "an empty name is the default value";

    DWORD type = 0;
    EXPECT_EQ(RawValue(keyName, "VC_RET", type), "-1073741819");
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(RawValue(keyName, "", type), "1");

    int32_t value = 99;
    EXPECT_EQ(store.GetInt(L"MSI_RET", value), 0u);
    EXPECT_EQ(value, 3010);
    EXPECT_EQ(store.GetInt(L"MISSING", value), 0u);
    EXPECT_EQ(value, 0) << "a missing value reads as 0";
    ASSERT_EQ(store.SetString(L"TEXT", "12a"), 0u);
    EXPECT_EQ(store.GetInt(L"TEXT", value), 2u);
    ASSERT_EQ(store.SetString(L"MINUS", "-"), 0u);
    EXPECT_EQ(store.GetInt(L"MINUS", value), 2u);

    std::string text;
    EXPECT_EQ(store.GetString(L"VC_RET", text), 0u);
    EXPECT_EQ(text, "-1073741819");
    EXPECT_EQ(store.DeleteValue(L"TEXT"), 0u);
    EXPECT_NE(store.GetString(L"TEXT", text), 0u);
    EXPECT_EQ(store.Values().size(), 4u);  // VC_RET, MSI_RET, the default value, MINUS
  }
  EXPECT_FALSE(KeyExists(keyName)) << "the key goes with the store";
}

TEST(InterbootStore, KeyKeptForTheRunAfterARestart) {
  const std::string keyName = TestKeyName();
  {
    InterbootStore store(keyName);
    store.SetInt(L"SETUP_RET", 3010);
    store.KeepKey();
  }
  ASSERT_TRUE(KeyExists(keyName));
  {
    // The next run: the earlier code stays, also when the setup runs again.
    InterbootStore store(keyName);
    EXPECT_EQ(store.SetInt(L"SETUP_RET", 0), 3u);
    int32_t value = 0;
    store.GetInt(L"SETUP_RET", value);
    EXPECT_EQ(value, 3010);
    EXPECT_EQ(store.Values(), (std::vector<std::pair<std::string, std::string>>{{"SETUP_RET", "3010"}}));
  }
  EXPECT_FALSE(KeyExists(keyName));
}
