#include "detection/win/RegistrySearches.h"

#include <cstring>

#include "detection/SearchStrings.h"
#include "detection/win/WindowsVersion.h"
#include "platform/core/Text.h"
#include "platform/core/win/FolderResolution.h"

namespace cv {

namespace {

Result<RegistryKey> OpenKey(const RegistrySearchPath& path, RegistryView view) {
  HKEY root = RegistryRootKey(path.root);
  if (!root) return Failure{ERROR_FILE_NOT_FOUND};
  return RegistryKey::Open(root, path.key, view, KEY_READ);
}

template <typename Number>
std::wstring DecimalText(const std::vector<BYTE>& data) {
  Number number = 0;
  std::memcpy(&number, data.data(), sizeof(number));
  return std::to_wstring(number);
}

}  // namespace

RegistryView SearchRegistryView(bool use64) { return use64 && Is64BitWindows() ? RegistryView::k64 : RegistryView::k32; }

SearchOutcome SearchRegistrySubkeyNames(const std::wstring& text, RegistryView view) {
  SearchOutcome outcome;
  if (Result<RegistryKey> key = OpenKey(SplitRegistryKeySearch(text), view)) outcome.foundTexts = key->SubkeyNames();
  return outcome;
}

SearchOutcome SearchRegistryValueText(const std::wstring& text, RegistryView view) {
  SearchOutcome outcome;
  RegistrySearchPath path = SplitRegistryValueSearch(text);
  Result<RegistryKey> key = OpenKey(path, view);
  if (!key) return outcome;
  Result<RegistryValue> value = key->ReadValue(path.value);
  if (!value) return outcome;
  const std::vector<BYTE>& data = value->data;
  // Numbers as the digits a version bound can be compared with, not their
  // bytes taken as characters.
  if (value->type == REG_DWORD && data.size() == sizeof(uint32_t)) {
    outcome.foundTexts.push_back(DecimalText<uint32_t>(data));
  } else if (value->type == REG_QWORD && data.size() == sizeof(uint64_t)) {
    outcome.foundTexts.push_back(DecimalText<uint64_t>(data));
  } else {
    std::wstring textValue = WideFromUtf16Le(data.data(), data.size());
    size_t end = textValue.find(L'\0');
    if (end != std::wstring::npos) textValue.resize(end);
    outcome.foundTexts.push_back(std::move(textValue));
  }
  return outcome;
}

SearchOutcome SearchRegistryKeyExists(const std::wstring& text, RegistryView view) {
  SearchOutcome outcome;
  outcome.found = OpenKey(SplitRegistryKeySearch(text), view).ok();
  return outcome;
}

SearchOutcome SearchRegistryValueExists(const std::wstring& text, RegistryView view) {
  SearchOutcome outcome;
  RegistrySearchPath path = SplitRegistryValueSearch(text);
  if (Result<RegistryKey> key = OpenKey(path, view))
    outcome.found = RegQueryValueExW(key->Handle(), path.value.c_str(), nullptr, nullptr, nullptr, nullptr) == 0;
  return outcome;
}

SearchOutcome SearchRegistryValueRead(const std::wstring& text, RegistryView view) {
  SearchOutcome outcome;
  RegistrySearchPath path = SplitRegistryValueSearch(text);
  Result<RegistryKey> key = OpenKey(path, view);
  if (!key) return outcome;
  if (std::optional<std::wstring> value = ReadRegistryValueText(*key, path.value)) {
    outcome.found = true;
    outcome.readText = std::move(*value);
  }
  return outcome;
}

SearchOutcome SearchRegistryValueNames(const std::wstring& text, RegistryView view) {
  SearchOutcome outcome;
  if (Result<RegistryKey> key = OpenKey(SplitRegistryKeySearch(text), view)) outcome.foundTexts = key->ValueNames();
  return outcome;
}

}  // namespace cv
