#include "detection/win/WindowsVersion.h"

#include <utility>

namespace cv {

namespace {

using IsWow64ProcessFunction = BOOL(WINAPI*)(HANDLE, PBOOL);

constexpr wchar_t kCurrentVersionPath[] = L"Software\\Microsoft\\Windows NT\\CurrentVersion";
constexpr wchar_t kProductOptionsPath[] = L"SYSTEM\\CurrentControlSet\\Control\\ProductOptions";

// The release is read from the 64-bit view, where Windows keeps its own keys.
std::optional<RegistryKey> OpenKey(HKEY root, const std::wstring& path) {
  Result<RegistryKey> key = RegistryKey::Open(root, path, RegistryView::k64);
  if (!key) return std::nullopt;
  return std::move(key).value();
}

std::optional<std::wstring> ReadString(const std::optional<RegistryKey>& key, const wchar_t* name) {
  if (!key) return std::nullopt;
  Result<std::wstring> text = key->ReadString(name);
  if (!text) return std::nullopt;
  return std::move(text).value();
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
  Result<uint32_t> value = currentVersion_->ReadDword(name);
  if (!value) return std::nullopt;
  return *value;
}

std::optional<std::wstring> RegistryOsFacts::CurrentVersionText(const wchar_t* name) const {
  return ReadString(currentVersion_, name);
}

bool RegistryOsFacts::IsWow64() const { return DetectWow64(); }

std::optional<std::wstring> RegistryOsFacts::ProductType() const {
  return ReadString(OpenKey(root_, productOptionsPath_), L"ProductType");
}

const OsInfo& GetOsInfo() {
  static const OsInfo info = DetectOsInfo(RegistryOsFacts());
  return info;
}

std::wstring OsLogLine() { return FormatOsLine(GetOsInfo()); }

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
