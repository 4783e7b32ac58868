#include "chainer/win/InterbootStore.h"

#include "platform/core/Text.h"
#include "platform/core/win/CodePage.h"
#include "platform/core/win/Handles.h"

namespace cv {

namespace {

// HKEY_CURRENT_USER has one view; it is named all the same, as every open is.
constexpr REGSAM kView = KEY_WOW64_32KEY;

UniqueKey OpenStoreKey(const std::string& keyName, REGSAM access) {
  UniqueKey key;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, keyName.c_str(), 0, access | kView, key.put()) != ERROR_SUCCESS) key.release();
  return key;
}

// The whole value's data as 8-bit text.
LSTATUS ReadText(HKEY key, const char* name, std::string& text) {
  std::string data(260, '\0');
  for (int attempt = 0; attempt < 8; ++attempt) {
    auto size = static_cast<DWORD>(data.size());
    LSTATUS status = RegQueryValueExA(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(data.data()), &size);
    if (status == ERROR_MORE_DATA) {
      data.resize(size + 1);
      continue;
    }
    if (status != ERROR_SUCCESS) return status;
    data.resize(size);
    while (!data.empty() && data.back() == '\0') data.pop_back();  // a value written by someone else
    text = std::move(data);
    return ERROR_SUCCESS;
  }
  return ERROR_MORE_DATA;
}

// Value names go to the 8-bit registry functions in the ANSI code page.
std::string ValueName(const std::wstring& name) { return CodePageFromWide(name, CP_ACP); }

}  // namespace

InterbootStore::~InterbootStore() {
  if (deleteOnDestruction_) RegDeleteKeyExA(HKEY_CURRENT_USER, keyName_.c_str(), kView, 0);
}

DWORD InterbootStore::SetInt(const std::wstring& name, int32_t value) {
  return SetString(name, std::to_string(value));
}

DWORD InterbootStore::SetString(const std::wstring& name, const std::string& text) {
  std::string existing;
  if (GetString(name, existing) == ERROR_SUCCESS) return ERROR_PATH_NOT_FOUND;  // 3: the first code stays
  UniqueKey key;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, keyName_.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_SET_VALUE | kView,
                      nullptr, key.put(), nullptr) != ERROR_SUCCESS)
    return ERROR_SUCCESS;  // not reported: the value is simply missing
  // The characters only, without a terminating zero.
  RegSetValueExA(key.get(), ValueName(name).c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.data()),
                 static_cast<DWORD>(text.size()));
  return ERROR_SUCCESS;
}

DWORD InterbootStore::GetString(const std::wstring& name, std::string& text) const {
  UniqueKey key = OpenStoreKey(keyName_, KEY_QUERY_VALUE);
  if (!key) return ERROR_FILE_NOT_FOUND;
  return static_cast<DWORD>(ReadText(key.get(), ValueName(name).c_str(), text));
}

DWORD InterbootStore::GetInt(const std::wstring& name, int32_t& value) const {
  value = 0;
  std::string text;
  if (GetString(name, text) != ERROR_SUCCESS) return ERROR_SUCCESS;
  size_t digits = text.size() > 0 && text[0] == '-' ? 1 : 0;
  if (digits == text.size()) return ERROR_FILE_NOT_FOUND;  // 2: no number
  for (size_t i = digits; i < text.size(); ++i)
    if (text[i] < '0' || text[i] > '9') return ERROR_FILE_NOT_FOUND;
  value = ParseInteger(std::wstring(text.begin(), text.end()));
  return ERROR_SUCCESS;
}

DWORD InterbootStore::DeleteValue(const std::wstring& name) {
  UniqueKey key = OpenStoreKey(keyName_, KEY_SET_VALUE);
  if (!key) return ERROR_FILE_NOT_FOUND;
  return static_cast<DWORD>(RegDeleteValueA(key.get(), ValueName(name).c_str()));
}

std::vector<std::pair<std::string, std::string>> InterbootStore::Values() const {
  std::vector<std::pair<std::string, std::string>> values;
  UniqueKey key = OpenStoreKey(keyName_, KEY_QUERY_VALUE);
  if (!key) return values;
  std::string name(16384, '\0');
  for (DWORD index = 0;; ++index) {
    auto length = static_cast<DWORD>(name.size());
    if (RegEnumValueA(key.get(), index, name.data(), &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
      break;
    std::string valueName(name.data(), length), text;
    if (ReadText(key.get(), valueName.c_str(), text) == ERROR_SUCCESS) values.emplace_back(valueName, text);
  }
  return values;
}

}  // namespace cv
