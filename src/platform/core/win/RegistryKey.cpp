#include "platform/core/win/RegistryKey.h"

#include <cstring>

namespace cv {

namespace {

REGSAM ViewFlag(RegistryView view) { return view == RegistryView::k64 ? KEY_WOW64_64KEY : KEY_WOW64_32KEY; }

// Calls enumerate(index, buffer, length) for each index until it reports
// ERROR_NO_MORE_ITEMS; a name longer than the buffer grows it.
template <typename Enumerate>
std::vector<std::wstring> EnumerateNames(Enumerate enumerate) {
  std::vector<std::wstring> names;
  std::wstring buffer(256, L'\0');
  for (DWORD index = 0;;) {
    auto length = static_cast<DWORD>(buffer.size());
    LSTATUS status = enumerate(index, buffer.data(), &length);
    if (status == ERROR_MORE_DATA && buffer.size() < 32768) {
      buffer.resize(buffer.size() * 2);
      continue;
    }
    if (status != ERROR_SUCCESS) break;
    names.emplace_back(buffer.data(), length);
    ++index;
  }
  return names;
}

}  // namespace

Result<RegistryKey> RegistryKey::Open(HKEY root, const std::wstring& path, RegistryView view, REGSAM access) {
  HKEY key = nullptr;
  LSTATUS status = RegOpenKeyExW(root, path.c_str(), 0, access | ViewFlag(view), &key);
  if (status != ERROR_SUCCESS) return Failure{static_cast<uint32_t>(status)};
  return RegistryKey(key);
}

Result<RegistryKey> RegistryKey::Create(HKEY root, const std::wstring& path, RegistryView view, REGSAM access) {
  HKEY key = nullptr;
  LSTATUS status = RegCreateKeyExW(root, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, access | ViewFlag(view),
                                   nullptr, &key, nullptr);
  if (status != ERROR_SUCCESS) return Failure{static_cast<uint32_t>(status)};
  return RegistryKey(key);
}

DWORD RegistryKey::DeleteTree(HKEY root, const std::wstring& path, RegistryView view) {
  if (path.empty()) return ERROR_INVALID_PARAMETER;  // never the whole root
  Result<RegistryKey> key = Open(root, path, view, DELETE | KEY_ENUMERATE_SUB_KEYS | KEY_QUERY_VALUE | KEY_SET_VALUE);
  if (!key) return key.error();
  LSTATUS status = RegDeleteTreeW(key->Handle(), nullptr);
  if (status != ERROR_SUCCESS) return static_cast<DWORD>(status);
  return static_cast<DWORD>(RegDeleteKeyExW(root, path.c_str(), ViewFlag(view), 0));
}

Result<RegistryValue> RegistryKey::ReadValue(const std::wstring& name) const {
  RegistryValue value;
  value.data.resize(256);
  // The value may grow between two queries; a few rounds are enough for that.
  for (int attempt = 0; attempt < 8; ++attempt) {
    auto size = static_cast<DWORD>(value.data.size());
    LSTATUS status = RegQueryValueExW(key_.get(), name.c_str(), nullptr, &value.type, value.data.data(), &size);
    if (status == ERROR_MORE_DATA) {
      value.data.resize(static_cast<size_t>(size) + sizeof(wchar_t));
      continue;
    }
    if (status != ERROR_SUCCESS) return Failure{static_cast<uint32_t>(status)};
    value.data.resize(size);
    return value;
  }
  return Failure{ERROR_MORE_DATA};
}

Result<uint32_t> RegistryKey::ReadDword(const std::wstring& name) const {
  Result<RegistryValue> value = ReadValue(name);
  if (!value) return Failure{value.error()};
  if (value->type != REG_DWORD || value->data.size() != sizeof(uint32_t)) return Failure{ERROR_UNSUPPORTED_TYPE};
  uint32_t number = 0;
  std::memcpy(&number, value->data.data(), sizeof(number));
  return number;
}

Result<std::wstring> RegistryKey::ReadString(const std::wstring& name) const {
  Result<RegistryValue> value = ReadValue(name);
  if (!value) return Failure{value.error()};
  if (value->type != REG_SZ && value->type != REG_EXPAND_SZ) return Failure{ERROR_UNSUPPORTED_TYPE};
  std::wstring text(value->data.size() / sizeof(wchar_t), L'\0');
  if (!text.empty()) std::memcpy(text.data(), value->data.data(), text.size() * sizeof(wchar_t));
  size_t end = text.find(L'\0');
  if (end != std::wstring::npos) text.resize(end);
  return text;
}

DWORD RegistryKey::WriteValue(const std::wstring& name, DWORD type, const void* data, size_t size) const {
  return static_cast<DWORD>(
      RegSetValueExW(key_.get(), name.c_str(), 0, type, static_cast<const BYTE*>(data), static_cast<DWORD>(size)));
}

DWORD RegistryKey::WriteDword(const std::wstring& name, uint32_t value) const {
  return WriteValue(name, REG_DWORD, &value, sizeof(value));
}

DWORD RegistryKey::WriteString(const std::wstring& name, const std::wstring& text) const {
  return WriteValue(name, REG_SZ, text.c_str(), (text.size() + 1) * sizeof(wchar_t));
}

std::vector<std::wstring> RegistryKey::SubkeyNames() const {
  return EnumerateNames([this](DWORD index, wchar_t* buffer, DWORD* length) {
    return RegEnumKeyExW(key_.get(), index, buffer, length, nullptr, nullptr, nullptr, nullptr);
  });
}

std::vector<std::wstring> RegistryKey::ValueNames() const {
  return EnumerateNames([this](DWORD index, wchar_t* buffer, DWORD* length) {
    return RegEnumValueW(key_.get(), index, buffer, length, nullptr, nullptr, nullptr, nullptr);
  });
}

}  // namespace cv
