// The running Windows, read once per process from the registry.
#pragma once
#include <windows.h>

#include <string>

#include "detection/OsRelease.h"
#include "platform/core/win/Handles.h"
#include "platform/core/win/RegistryKey.h"

namespace cv {

// The detection's facts from the registry's 64-bit view, in both builds. The key paths are
// parameters so that tests can point them at keys of their own.
class RegistryOsFacts : public IOsFacts {
 public:
  RegistryOsFacts();
  RegistryOsFacts(HKEY root, const wchar_t* currentVersionPath, const wchar_t* productOptionsPath);

  bool HasCurrentVersionKey() const override;
  std::optional<uint32_t> CurrentVersionNumber(const wchar_t* name) const override;
  std::optional<std::wstring> CurrentVersionText(const wchar_t* name) const override;
  bool IsWow64() const override;
  std::optional<std::wstring> ProductType() const override;

 private:
  HKEY root_;
  std::wstring productOptionsPath_;
  std::optional<RegistryKey> currentVersion_;
};

// Computed on the first call; thread-safe.
const OsInfo& GetOsInfo();
// The log header's line about this machine.
std::wstring OsLogLine();
bool IsWindowsVersionOrLater(uint32_t major, uint32_t minor, uint32_t servicePack, uint32_t build);
// 64-bit Windows: a 32-bit process under WOW64, or a 64-bit build of this program.
bool Is64BitWindows();
const std::wstring& OsReleaseName();
const std::wstring& OsFamilyName();
bool OsAllowed(const std::wstring& winNTVersions, const std::wstring& winNT64Versions);

using IsWow64Process2Function = BOOL(WINAPI*)(HANDLE, USHORT*, USHORT*);
// IsWow64Process2 is looked up once per process; systems before Windows 10
// 1709 lack it.
NativeMachine QueryNativeMachine();
// The answer given the looked-up function (null when missing).
NativeMachine QueryNativeMachine(IsWow64Process2Function isWow64Process2);

}  // namespace cv
