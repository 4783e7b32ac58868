#include "detection/OsRelease.h"

#include "platform/core/Text.h"

namespace cv {

namespace {

constexpr uint32_t kFirstWindows11Build = 22000;
// Longest values the detection accepts, in bytes with the terminating null;
// longer texts count as absent rather than being cut.
constexpr size_t kCurrentVersionMaxBytes = 32;
constexpr size_t kProductTypeMaxBytes = 520;

const wchar_t kAllVersions64[] =
    L"Windows XP/Vista/Windows 7/Windows 8 x64/Windows 8.1 x64/Windows 10 x64/Windows 11 x64";
const wchar_t kAllVersions32[] =
    L"Windows 9x/ME/NT/2000/XP/Vista/Windows 7/Windows 8 x86/Windows 8.1 x86/Windows 10 x86";
const wchar_t kNotIdentified[] = L"OsNotIdentified";

bool FitsIn(const std::optional<std::wstring>& text, size_t maxBytes) {
  return text && (text->size() + 1) * sizeof(char16_t) <= maxBytes;
}

std::wstring Arch(bool is64BitWindows) { return is64BitWindows ? L" x64" : L" x86"; }

// Releases of Windows 10 and 11 named by their build; the server name, where
// one is given, applies to 64-bit servers.
struct BuildRelease {
  uint32_t build;
  const wchar_t* version;
  const wchar_t* serverName;
};

constexpr BuildRelease kWindows10Releases[] = {
    {10240, L"1507", nullptr}, {10586, L"1511", nullptr},
    {14393, L"1607", L"Windows Server 2016 x64"}, {15063, L"1703", nullptr},
    {16299, L"1709", nullptr}, {17134, L"1803", nullptr},
    {17763, L"1809", L"Windows Server 2019 x64"}, {18362, L"1903", nullptr},
    {18363, L"1909", nullptr}, {19041, L"2004", nullptr},
    {19042, L"20H2", nullptr}, {19043, L"21H1", nullptr},
    {19044, L"21H2", nullptr}, {19045, L"22H2", nullptr},
    {20348, L"21H2", L"Windows Server 2022 x64"},
};

constexpr BuildRelease kWindows11Releases[] = {
    {22000, L"21H2", nullptr}, {22621, L"22H2", nullptr}, {22631, L"23H2", nullptr}};

template <size_t N>
const BuildRelease* FindBuild(const BuildRelease (&releases)[N], uint32_t build) {
  for (const BuildRelease& release : releases)
    if (release.build == build) return &release;
  return nullptr;
}

// "name RTM", "name SP1", ... for the service packs listed, else "name".
std::wstring WithServicePack(const std::wstring& name, uint32_t servicePack, uint32_t lastNamed, bool rtm) {
  if (servicePack == 0 && rtm) return name + L" RTM";
  if (servicePack >= 1 && servicePack <= lastNamed) return name + L" SP" + std::to_wstring(servicePack);
  return name;
}

}  // namespace

OsInfo DetectOsInfo(const IOsFacts& facts) {
  OsInfo os;
  if (!facts.HasCurrentVersionKey()) return os;
  os.major = facts.CurrentVersionNumber(L"CurrentMajorVersionNumber").value_or(0);
  os.minor = facts.CurrentVersionNumber(L"CurrentMinorVersionNumber").value_or(0);
  if (os.major == 0) {
    // Before Windows 10 only the text "6.1" tells.
    std::optional<std::wstring> version = facts.CurrentVersionText(L"CurrentVersion");
    if (FitsIn(version, kCurrentVersionMaxBytes) && version->size() == 3) {
      os.major = static_cast<uint32_t>((*version)[0] - L'0');
      os.minor = static_cast<uint32_t>((*version)[2] - L'0');
    }
  }
  if (std::optional<std::wstring> build = facts.CurrentVersionText(L"CurrentBuildNumber"))
    os.build = static_cast<uint32_t>(ParseInteger(*build));
  // Windows 11 still calls itself 10.0.
  if (os.major == 10 && os.build >= kFirstWindows11Build) os.major = 11;
  std::optional<std::wstring> servicePack = facts.CurrentVersionText(L"CSDVersion");
  if (servicePack && !servicePack->empty()) os.servicePack = static_cast<uint32_t>(servicePack->back() - L'0');
  os.isWow64 = facts.IsWow64();
  std::optional<std::wstring> productType = facts.ProductType();
  // Anything but a workstation is a server; a domain controller says "LanmanNT".
  if (FitsIn(productType, kProductTypeMaxBytes)) os.isServer = *productType != L"WinNT";
  return os;
}

bool IsVersionOrLater(const OsInfo& os, uint32_t major, uint32_t minor, uint32_t servicePack, uint32_t build) {
  if (os.major != major) return os.major > major;
  if (os.minor != minor) return os.minor > minor;
  if (os.servicePack != servicePack) return os.servicePack > servicePack;
  return os.build >= build;
}

std::wstring FormatOsLine(const OsInfo& info) {
  return FormatText(L"OS Version: %u.%u.%u SP%u (%ls) [%ls]", static_cast<unsigned>(info.major),
                    static_cast<unsigned>(info.minor), static_cast<unsigned>(info.build),
                    static_cast<unsigned>(info.servicePack), info.isServer ? L"server" : L"workstation",
                    info.isWow64 ? L"x64" : L"x86");
}

std::wstring OsReleaseName(const OsInfo& os, bool is64BitWindows) {
  const std::wstring arch = Arch(is64BitWindows);
  const bool server64 = os.isServer && is64BitWindows;
  const uint32_t sp = os.servicePack;
  switch (os.major) {
    case 11:
      if (os.minor != 0) return kNotIdentified;
      if (const BuildRelease* release = FindBuild(kWindows11Releases, os.build))
        return std::wstring(L"Windows 11 version ") + release->version + L" x64";
      return server64 ? L"Windows Server x64" : L"Windows 11 x64";
    case 10:
      if (os.minor != 0) return kNotIdentified;
      if (const BuildRelease* release = FindBuild(kWindows10Releases, os.build)) {
        if (server64 && release->serverName) return release->serverName;
        return std::wstring(L"Windows 10 version ") + release->version + arch;
      }
      return server64 ? L"Windows Server x64" : L"Windows 10" + arch;
    case 6:
      switch (os.minor) {
        case 3: return server64 ? L"Windows Server 2012 R2 x64" : L"Windows 8.1" + arch;
        case 2: return server64 ? L"Windows Server 2012 x64" : L"Windows 8" + arch;
        case 1:
          return server64 ? WithServicePack(L"Windows Server 2008 R2", sp, 1, true) + L" x64"
                          : WithServicePack(L"Windows 7", sp, 1, true) + arch;
        case 0:
          // Here a 32-bit server is a server too.
          if (!os.isServer) return WithServicePack(L"Windows Vista", sp, 2, true) + arch;
          // Server 2008 was released with the first service pack already in.
          return WithServicePack(L"Windows Server 2008", sp == 1 ? 0 : sp, 2, true) + arch;
        default: return kNotIdentified;
      }
    case 5:
      if (os.minor == 2) {
        if (os.isServer) return WithServicePack(L"Windows Server 2003", sp, 2, false) + arch;
        return WithServicePack(L"Windows XP", sp, 2, false) + L" x64";
      }
      if (os.minor == 1) return WithServicePack(L"Windows XP", sp, 3, false) + L" x86";
      return kNotIdentified;
    default:
      return kNotIdentified;
  }
}

std::wstring OsFamilyName(const OsInfo& os, bool is64BitWindows) {
  const std::wstring arch = Arch(is64BitWindows);
  const bool server64 = os.isServer && is64BitWindows;
  switch (os.major) {
    case 11:
      if (os.minor != 0) return kNotIdentified;
      return server64 ? L"Windows Server x64" : L"Windows 11 x64";
    case 10:
      if (os.minor != 0) return kNotIdentified;
      return server64 ? L"Windows Server x64" : L"Windows 10" + arch;
    case 6:
      switch (os.minor) {
        case 3: return server64 ? L"Windows Server 2012 R2 x64" : L"Windows 8.1" + arch;
        case 2: return server64 ? L"Windows Server 2012 x64" : L"Windows 8" + arch;
        case 1: return server64 ? L"Windows Server 2008 R2 x64" : L"Windows 7" + arch;
        case 0: return (os.isServer ? L"Windows Server 2008" : L"Windows Vista") + arch;
        default: return kNotIdentified;
      }
    case 5:
      if (os.minor == 2) return os.isServer ? L"Windows Server 2003" + arch : L"Windows XP x64";
      if (os.minor == 1) return L"Windows XP x86";
      return kNotIdentified;
    default:
      return kNotIdentified;
  }
}

bool OsAllowed(const std::wstring& winNTVersions, const std::wstring& winNT64Versions, const OsNames& names,
               bool is64BitWindows) {
  const std::wstring& list = is64BitWindows ? winNT64Versions : winNTVersions;
  if (list == (is64BitWindows ? kAllVersions64 : kAllVersions32)) return false;
  if (list.empty()) return true;
  for (const std::wstring& piece : SplitText(list, L", ", false))
    if (piece == names.release || piece == names.family) return false;
  return true;
}

}  // namespace cv
