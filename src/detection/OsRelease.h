// Which Windows the program runs on: the detection rule over the registry
// facts, the release and family names that package configurations use, and
// the operating-system condition of a prerequisite.
#pragma once
#include <cstdint>
#include <optional>
#include <string>

#include "detection/OsInfo.h"

namespace cv {

// The registry and process facts the detection reads. Every value is read
// whole; absent or unreadable values are empty.
class IOsFacts {
 public:
  virtual ~IOsFacts() = default;
  // HKLM "Software\Microsoft\Windows NT\CurrentVersion" could be opened.
  virtual bool HasCurrentVersionKey() const = 0;
  // A DWORD or string value of that key.
  virtual std::optional<uint32_t> CurrentVersionNumber(const wchar_t* name) const = 0;
  virtual std::optional<std::wstring> CurrentVersionText(const wchar_t* name) const = 0;
  virtual bool IsWow64() const = 0;
  // "ProductType" of HKLM "SYSTEM\CurrentControlSet\Control\ProductOptions".
  virtual std::optional<std::wstring> ProductType() const = 0;
};

OsInfo DetectOsInfo(const IOsFacts& facts);
// "OS Version: 10.0.19045 SP0 (workstation) [x64]", the log header's line
// about the machine, without line end.
std::wstring FormatOsLine(const OsInfo& info);
// Compares major, minor, then service pack, then build.
bool IsVersionOrLater(const OsInfo& os, uint32_t major, uint32_t minor, uint32_t servicePack, uint32_t build);

// The names below say x64 for 64-bit Windows and x86 otherwise.
std::wstring OsReleaseName(const OsInfo& os, bool is64BitWindows);
std::wstring OsFamilyName(const OsInfo& os, bool is64BitWindows);

struct OsNames {
  std::wstring release;
  std::wstring family;
};

// False when the list for this bitness names the running release or family
// (", "-separated, exact) or is the text that names every Windows.
bool OsAllowed(const std::wstring& winNTVersions, const std::wstring& winNT64Versions, const OsNames& names,
               bool is64BitWindows);

// The machine's own processor architecture, as IsWow64Process2 reports it.
struct NativeMachine {
  enum class Status { Known, CallFailed, FunctionMissing };
  Status status = Status::FunctionMissing;
  uint16_t machine = 0;  // an IMAGE_FILE_MACHINE_* value when Known
};

}  // namespace cv
