#include "detection/win/WindowsVersion.h"

#include <vector>

namespace cv {

namespace {

using IsWow64ProcessFunction = BOOL(WINAPI*)(HANDLE, PBOOL);

constexpr wchar_t kCurrentVersionPath[] = L"Software\\Microsoft\\Windows NT\\CurrentVersion";
constexpr wchar_t kProductOptionsPath[] = L"SYSTEM\\CurrentControlSet\\Control\\ProductOptions";
constexpr REGSAM kRead64 = KEY_READ | KEY_WOW64_64KEY;

template <typename Function>
Function FindKernel32Function(const char* name) {
  return FindFunction<Function>(GetModuleHandleW(L"kernel32"), name);
}

UniqueKey OpenKey(HKEY root, const wchar_t* path) {
  UniqueKey key;
  if (RegOpenKeyExW(root, path, 0, kRead64, key.put()) != ERROR_SUCCESS) key.release();
  return key;
}

// The whole string value, however long; REG_SZ data need not end with a null.
std::optional<std::wstring> ReadString(HKEY key, const wchar_t* name) {
  if (!key) return std::nullopt;
  std::vector<BYTE> data(64);
  for (int attempt = 0; attempt < 8; ++attempt) {
    DWORD type = 0;
    auto size = static_cast<DWORD>(data.size());
    LSTATUS status = RegQueryValueExW(key, name, nullptr, &type, data.data(), &size);
    if (status == ERROR_MORE_DATA) {
      data.resize(size + sizeof(wchar_t));  // the value may grow between the calls
      continue;
    }
    if (status != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) return std::nullopt;
    std::wstring text(reinterpret_cast<const wchar_t*>(data.data()), size / sizeof(wchar_t));
    size_t end = text.find(L'\0');
    if (end != std::wstring::npos) text.resize(end);
    return text;
  }
  return std::nullopt;
}

bool DetectWow64() {
  static const auto isWow64Process = FindKernel32Function<IsWow64ProcessFunction>("IsWow64Process");
  BOOL wow64 = FALSE;
  return isWow64Process && isWow64Process(GetCurrentProcess(), &wow64) && wow64;
}

}  // namespace

RegistryOsFacts::RegistryOsFacts() : RegistryOsFacts(HKEY_LOCAL_MACHINE, kCurrentVersionPath, kProductOptionsPath) {}

RegistryOsFacts::RegistryOsFacts(HKEY root, const wchar_t* currentVersionPath, const wchar_t* productOptionsPath)
    : root_(root), productOptionsPath_(productOptionsPath), currentVersion_(OpenKey(root, currentVersionPath)) {}

bool RegistryOsFacts::HasCurrentVersionKey() const { return static_cast<bool>(currentVersion_); }

std::optional<uint32_t> RegistryOsFacts::CurrentVersionNumber(const wchar_t* name) const {
  if (!currentVersion_) return std::nullopt;
  DWORD type = 0, value = 0, size = sizeof(value);
  if (RegQueryValueExW(currentVersion_.get(), name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) !=
          ERROR_SUCCESS ||
      type != REG_DWORD || size != sizeof(value))
    return std::nullopt;
  return value;
}

std::optional<std::wstring> RegistryOsFacts::CurrentVersionText(const wchar_t* name) const {
  return ReadString(currentVersion_.get(), name);
}

bool RegistryOsFacts::IsWow64() const { return DetectWow64(); }

std::optional<std::wstring> RegistryOsFacts::ProductType() const {
  UniqueKey key = OpenKey(root_, productOptionsPath_.c_str());
  return ReadString(key.get(), L"ProductType");
}

const OsInfo& GetOsInfo() {
  static const OsInfo info = DetectOsInfo(RegistryOsFacts());
  return info;
}

bool IsWindowsVersionOrLater(uint32_t major, uint32_t minor, uint32_t servicePack, uint32_t build) {
  return IsVersionOrLater(GetOsInfo(), major, minor, servicePack, build);
}

bool Is64BitWindows() { return GetOsInfo().isWow64 || sizeof(void*) == 8; }

const std::wstring& OsReleaseName() {
  static const std::wstring name = OsReleaseName(GetOsInfo(), Is64BitWindows());
  return name;
}

const std::wstring& OsFamilyName() {
  static const std::wstring name = OsFamilyName(GetOsInfo(), Is64BitWindows());
  return name;
}

bool OsAllowed(const std::wstring& winNTVersions, const std::wstring& winNT64Versions) {
  static const OsNames names{OsReleaseName(), OsFamilyName()};
  return OsAllowed(winNTVersions, winNT64Versions, names, Is64BitWindows());
}

NativeMachine QueryNativeMachine() {
  static const auto isWow64Process2 = FindKernel32Function<IsWow64Process2Function>("IsWow64Process2");
  return QueryNativeMachine(isWow64Process2);
}

NativeMachine QueryNativeMachine(IsWow64Process2Function isWow64Process2) {
  NativeMachine answer;
  if (!isWow64Process2) return answer;
  USHORT processMachine = 0, nativeMachine = 0;
  if (!isWow64Process2(GetCurrentProcess(), &processMachine, &nativeMachine)) {
    answer.status = NativeMachine::Status::CallFailed;
    return answer;
  }
  answer.status = NativeMachine::Status::Known;
  answer.machine = nativeMachine;
  return answer;
}

}  // namespace cv
