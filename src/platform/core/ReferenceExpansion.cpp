#include "platform/core/ReferenceExpansion.h"

#include "platform/core/Text.h"

namespace cv {

std::wstring ExpandReferences(const std::wstring& text, bool use64, const IReferenceResolver& resolver) {
  std::wstring out;
  size_t pos = 0;
  for (;;) {
    size_t open = text.find_first_of(L"[%!", pos);
    if (open == std::wstring::npos) {
      out.append(text, pos, std::wstring::npos);
      return out;
    }
    out.append(text, pos, open - pos);
    wchar_t opener = text[open];
    size_t close = text.find(opener == L'[' ? L']' : opener, open + 1);
    if (close == std::wstring::npos) {
      out.append(text, open, std::wstring::npos);
      return out;
    }
    std::wstring name = text.substr(open + 1, close - open - 1);
    if (opener == L'[') {
      std::optional<std::wstring> folder = resolver.ResolveFolder(name, use64);
      out += folder ? *folder : L"[" + name + L"]";
    } else if (opener == L'%') {
      out += resolver.EnvironmentValue(name);
    } else {
      out += resolver.RegistryValueText(name, use64);
    }
    pos = close + 1;
  }
}

RegistryRoot ParseRegistryRoot(const std::wstring& path) {
  size_t slash = path.find(L'\\');
  if (slash == std::wstring::npos) return RegistryRoot::None;
  std::wstring name = path.substr(0, slash);
  auto is = [&name](const wchar_t* shortName, const wchar_t* longName) {
    return EqualsIgnoreAsciiCase(name, shortName) || EqualsIgnoreAsciiCase(name, longName);
  };
  if (is(L"HKLM", L"HKEY_LOCAL_MACHINE")) return RegistryRoot::LocalMachine;
  if (is(L"HKCU", L"HKEY_CURRENT_USER")) return RegistryRoot::CurrentUser;
  if (is(L"HKCR", L"HKEY_CLASSES_ROOT")) return RegistryRoot::ClassesRoot;
  if (is(L"HKCC", L"HKEY_CURRENT_CONFIG")) return RegistryRoot::CurrentConfig;
  return RegistryRoot::Users;
}

RegistryValuePath SplitRegistryValuePath(const std::wstring& path) {
  size_t first = path.find(L'\\');
  if (first == std::wstring::npos) return {};
  size_t last = path.rfind(L'\\');
  return {path.substr(first + 1, last > first ? last - first - 1 : 0), path.substr(last + 1)};
}

}  // namespace cv
