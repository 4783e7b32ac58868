#include "detection/OsRelease.h"

#include <gtest/gtest.h>

#include <map>

using namespace cv;

namespace {

struct FakeOsFacts : IOsFacts {
  bool HasCurrentVersionKey() const override { return hasKey; }
  std::optional<uint32_t> CurrentVersionNumber(const wchar_t* name) const override {
    auto it = numbers.find(name);
    return it == numbers.end() ? std::nullopt : std::optional<uint32_t>(it->second);
  }
  std::optional<std::wstring> CurrentVersionText(const wchar_t* name) const override {
    auto it = texts.find(name);
    return it == texts.end() ? std::nullopt : std::optional<std::wstring>(it->second);
  }
  bool IsWow64() const override { return wow64; }
  std::optional<std::wstring> ProductType() const override { return productType; }

  bool hasKey = true;
  std::map<std::wstring, uint32_t> numbers;
  std::map<std::wstring, std::wstring> texts;
  bool wow64 = false;
  std::optional<std::wstring> productType = L"WinNT";
};

void ExpectOs(const OsInfo& os, uint32_t major, uint32_t minor, uint32_t build, uint32_t servicePack, bool server,
              bool wow64) {
  EXPECT_EQ(os.major, major);
  EXPECT_EQ(os.minor, minor);
  EXPECT_EQ(os.build, build);
  EXPECT_EQ(os.servicePack, servicePack);
  EXPECT_EQ(os.isServer, server);
  EXPECT_EQ(os.isWow64, wow64);
}

}  // namespace

TEST(OsDetection, Windows11ReportsItselfAs10WithAHighBuild) {
  FakeOsFacts facts;
  facts.numbers = {{L"CurrentMajorVersionNumber", 10}, {L"CurrentMinorVersionNumber", 0}};
  facts.texts = {{L"CurrentVersion", L"6.3"}, {L"CurrentBuildNumber", L"22631"}};
  facts.wow64 = true;
  ExpectOs(DetectOsInfo(facts), 11, 0, 22631, 0, false, true);

  facts.texts[L"CurrentBuildNumber"] = L"21999";
  ExpectOs(DetectOsInfo(facts), 10, 0, 21999, 0, false, true);
}

TEST(OsDetection, OlderWindowsFromCurrentVersionTextAndServicePack) {
  FakeOsFacts facts;
  facts.texts = {{L"CurrentVersion", L"6.1"}, {L"CurrentBuildNumber", L"7601"}, {L"CSDVersion", L"Service Pack 1"}};
  ExpectOs(DetectOsInfo(facts), 6, 1, 7601, 1, false, false);

  facts.texts = {{L"CurrentVersion", L"10.0"}, {L"CSDVersion", L""}};  // not three characters
  ExpectOs(DetectOsInfo(facts), 0, 0, 0, 0, false, false);
}

TEST(OsDetection, NothingIsReadWithoutTheVersionKey) {
  FakeOsFacts facts;
  facts.hasKey = false;
  facts.wow64 = true;
  facts.productType = L"ServerNT";
  ExpectOs(DetectOsInfo(facts), 0, 0, 0, 0, false, false);
}

TEST(OsDetection, EveryProductTypeButWorkstationIsAServer) {
  struct {
    std::optional<std::wstring> productType;
    bool server;
  } cases[] = {
      {L"WinNT", false},
      {L"ServerNT", true},
      {L"LanmanNT", true},
      {L"winnt", true},
      {std::nullopt, false},
      {std::wstring(259, L'S'), true},
      {std::wstring(260, L'S'), false},  // longer than the value the detection reads
  };
  for (const auto& c : cases) {
    FakeOsFacts facts;
    facts.productType = c.productType;
    EXPECT_EQ(DetectOsInfo(facts).isServer, c.server) << c.productType.value_or(L"(none)").size();
  }
}

TEST(OsDetection, LogLineNamesProductTypeAndWindowsBitness) {
  OsInfo xp{5, 1, 2600, 3, false, false};
  EXPECT_EQ(FormatOsLine(xp), L"OS Version: 5.1.2600 SP3 (workstation) [x86]");
  OsInfo server{10, 0, 4294967295u, 0, true, true};
  EXPECT_EQ(FormatOsLine(server), L"OS Version: 10.0.4294967295 SP0 (server) [x64]");
}

TEST(OsDetection, VersionOrLaterComparesServicePackBeforeBuild) {
  OsInfo win10{10, 0, 19045, 0, false, false};
  EXPECT_TRUE(IsVersionOrLater(win10, 10, 0, 0, 0));
  EXPECT_TRUE(IsVersionOrLater(win10, 6, 1, 0, 0));
  EXPECT_TRUE(IsVersionOrLater(win10, 10, 0, 0, 19045));
  EXPECT_FALSE(IsVersionOrLater(win10, 10, 0, 0, 19046));
  EXPECT_FALSE(IsVersionOrLater(win10, 11, 0, 0, 0));
  OsInfo win7sp1{6, 1, 7601, 1, false, false};
  EXPECT_TRUE(IsVersionOrLater(win7sp1, 6, 1, 0, 9999));
  EXPECT_FALSE(IsVersionOrLater(win7sp1, 6, 1, 2, 0));
  EXPECT_FALSE(IsVersionOrLater(win7sp1, 6, 2, 0, 0));
  EXPECT_FALSE(IsVersionOrLater(win7sp1, 10, 0, 0, 0));
}

namespace {

constexpr bool WS = false, SRV = true, X86 = false, X64 = true;

struct NameCase {
  uint32_t major, minor, build, servicePack;
  bool server, is64;
  const wchar_t* release;
  const wchar_t* family;
};

// Every row of both name tables, with the bitness and server variants that
// change the answer.
const NameCase kNameCases[] = {
    {11, 1, 22631, 0, WS, X64, L"OsNotIdentified", L"OsNotIdentified"},
    {11, 0, 22000, 0, WS, X64, L"Windows 11 version 21H2 x64", L"Windows 11 x64"},
    {11, 0, 22000, 0, WS, X86, L"Windows 11 version 21H2 x64", L"Windows 11 x64"},
    {11, 0, 22621, 0, SRV, X64, L"Windows 11 version 22H2 x64", L"Windows Server x64"},
    {11, 0, 22631, 0, WS, X64, L"Windows 11 version 23H2 x64", L"Windows 11 x64"},
    {11, 0, 26100, 0, WS, X64, L"Windows 11 x64", L"Windows 11 x64"},
    {11, 0, 26100, 0, SRV, X86, L"Windows 11 x64", L"Windows 11 x64"},
    {11, 0, 26100, 0, SRV, X64, L"Windows Server x64", L"Windows Server x64"},
    {10, 1, 19045, 0, WS, X64, L"OsNotIdentified", L"OsNotIdentified"},
    {10, 0, 10240, 0, WS, X86, L"Windows 10 version 1507 x86", L"Windows 10 x86"},
    {10, 0, 10240, 0, WS, X64, L"Windows 10 version 1507 x64", L"Windows 10 x64"},
    {10, 0, 10586, 0, SRV, X64, L"Windows 10 version 1511 x64", L"Windows Server x64"},
    {10, 0, 14393, 0, WS, X64, L"Windows 10 version 1607 x64", L"Windows 10 x64"},
    {10, 0, 14393, 0, SRV, X86, L"Windows 10 version 1607 x86", L"Windows 10 x86"},
    {10, 0, 14393, 0, SRV, X64, L"Windows Server 2016 x64", L"Windows Server x64"},
    {10, 0, 15063, 0, WS, X86, L"Windows 10 version 1703 x86", L"Windows 10 x86"},
    {10, 0, 16299, 0, WS, X64, L"Windows 10 version 1709 x64", L"Windows 10 x64"},
    {10, 0, 17134, 0, WS, X86, L"Windows 10 version 1803 x86", L"Windows 10 x86"},
    {10, 0, 17763, 0, WS, X64, L"Windows 10 version 1809 x64", L"Windows 10 x64"},
    {10, 0, 17763, 0, SRV, X64, L"Windows Server 2019 x64", L"Windows Server x64"},
    {10, 0, 18362, 0, WS, X86, L"Windows 10 version 1903 x86", L"Windows 10 x86"},
    {10, 0, 18363, 0, WS, X64, L"Windows 10 version 1909 x64", L"Windows 10 x64"},
    {10, 0, 19041, 0, WS, X86, L"Windows 10 version 2004 x86", L"Windows 10 x86"},
    {10, 0, 19042, 0, WS, X64, L"Windows 10 version 20H2 x64", L"Windows 10 x64"},
    {10, 0, 19043, 0, WS, X86, L"Windows 10 version 21H1 x86", L"Windows 10 x86"},
    {10, 0, 19044, 0, WS, X64, L"Windows 10 version 21H2 x64", L"Windows 10 x64"},
    {10, 0, 19045, 0, WS, X86, L"Windows 10 version 22H2 x86", L"Windows 10 x86"},
    {10, 0, 19045, 0, SRV, X64, L"Windows 10 version 22H2 x64", L"Windows Server x64"},
    {10, 0, 20348, 0, SRV, X64, L"Windows Server 2022 x64", L"Windows Server x64"},
    {10, 0, 20348, 0, WS, X64, L"Windows 10 version 21H2 x64", L"Windows 10 x64"},
    {10, 0, 20348, 0, SRV, X86, L"Windows 10 version 21H2 x86", L"Windows 10 x86"},
    {10, 0, 19999, 0, WS, X86, L"Windows 10 x86", L"Windows 10 x86"},
    {10, 0, 19999, 0, SRV, X64, L"Windows Server x64", L"Windows Server x64"},
    {6, 3, 9600, 0, WS, X64, L"Windows 8.1 x64", L"Windows 8.1 x64"},
    {6, 3, 9600, 0, SRV, X86, L"Windows 8.1 x86", L"Windows 8.1 x86"},
    {6, 3, 9600, 0, SRV, X64, L"Windows Server 2012 R2 x64", L"Windows Server 2012 R2 x64"},
    {6, 2, 9200, 0, WS, X86, L"Windows 8 x86", L"Windows 8 x86"},
    {6, 2, 9200, 0, SRV, X64, L"Windows Server 2012 x64", L"Windows Server 2012 x64"},
    {6, 1, 7600, 0, WS, X64, L"Windows 7 RTM x64", L"Windows 7 x64"},
    {6, 1, 7601, 1, WS, X86, L"Windows 7 SP1 x86", L"Windows 7 x86"},
    {6, 1, 7601, 2, WS, X64, L"Windows 7 x64", L"Windows 7 x64"},
    {6, 1, 7601, 1, SRV, X86, L"Windows 7 SP1 x86", L"Windows 7 x86"},
    {6, 1, 7600, 0, SRV, X64, L"Windows Server 2008 R2 RTM x64", L"Windows Server 2008 R2 x64"},
    {6, 1, 7601, 1, SRV, X64, L"Windows Server 2008 R2 SP1 x64", L"Windows Server 2008 R2 x64"},
    {6, 1, 7601, 3, SRV, X64, L"Windows Server 2008 R2 x64", L"Windows Server 2008 R2 x64"},
    {6, 0, 6000, 0, WS, X86, L"Windows Vista RTM x86", L"Windows Vista x86"},
    {6, 0, 6001, 1, WS, X64, L"Windows Vista SP1 x64", L"Windows Vista x64"},
    {6, 0, 6002, 2, WS, X86, L"Windows Vista SP2 x86", L"Windows Vista x86"},
    {6, 0, 6003, 3, WS, X64, L"Windows Vista x64", L"Windows Vista x64"},
    {6, 0, 6001, 0, SRV, X86, L"Windows Server 2008 RTM x86", L"Windows Server 2008 x86"},
    {6, 0, 6001, 1, SRV, X64, L"Windows Server 2008 RTM x64", L"Windows Server 2008 x64"},
    {6, 0, 6002, 2, SRV, X86, L"Windows Server 2008 SP2 x86", L"Windows Server 2008 x86"},
    {6, 0, 6003, 3, SRV, X64, L"Windows Server 2008 x64", L"Windows Server 2008 x64"},
    {6, 4, 9841, 0, WS, X64, L"OsNotIdentified", L"OsNotIdentified"},
    {5, 2, 3790, 1, SRV, X86, L"Windows Server 2003 SP1 x86", L"Windows Server 2003 x86"},
    {5, 2, 3790, 2, SRV, X64, L"Windows Server 2003 SP2 x64", L"Windows Server 2003 x64"},
    {5, 2, 3790, 0, SRV, X64, L"Windows Server 2003 x64", L"Windows Server 2003 x64"},
    {5, 2, 3790, 1, WS, X64, L"Windows XP SP1 x64", L"Windows XP x64"},
    {5, 2, 3790, 2, WS, X64, L"Windows XP SP2 x64", L"Windows XP x64"},
    {5, 2, 3790, 3, WS, X86, L"Windows XP x64", L"Windows XP x64"},
    {5, 1, 2600, 1, WS, X86, L"Windows XP SP1 x86", L"Windows XP x86"},
    {5, 1, 2600, 2, WS, X86, L"Windows XP SP2 x86", L"Windows XP x86"},
    {5, 1, 2600, 3, SRV, X64, L"Windows XP SP3 x86", L"Windows XP x86"},
    {5, 1, 2600, 0, WS, X86, L"Windows XP x86", L"Windows XP x86"},
    {5, 1, 2600, 4, WS, X86, L"Windows XP x86", L"Windows XP x86"},
    {5, 0, 2195, 4, SRV, X86, L"OsNotIdentified", L"OsNotIdentified"},
    {4, 0, 1381, 6, WS, X86, L"OsNotIdentified", L"OsNotIdentified"},
    {12, 0, 30000, 0, WS, X64, L"OsNotIdentified", L"OsNotIdentified"},
    {0, 0, 0, 0, WS, X86, L"OsNotIdentified", L"OsNotIdentified"},
};

}  // namespace

TEST(OsNames, ReleaseAndFamilyNamesOfEveryRelease) {
  for (const NameCase& c : kNameCases) {
    OsInfo os{c.major, c.minor, c.build, c.servicePack, c.server, c.is64};
    EXPECT_EQ(OsReleaseName(os, c.is64), c.release) << c.release << " / " << c.family;
    EXPECT_EQ(OsFamilyName(os, c.is64), c.family) << c.release << " / " << c.family;
  }
}

TEST(OsNames, ListsExcludeByExactReleaseOrFamilyName) {
  const OsNames win10x64{L"Windows 10 version 22H2 x64", L"Windows 10 x64"};
  struct {
    const wchar_t* list;
    bool allowed;
  } cases[] = {
      {L"", true},
      {L"Windows XP/Vista/Windows 7/Windows 8 x64/Windows 8.1 x64/Windows 10 x64/Windows 11 x64", false},
      {L"Windows 10 x64", false},
      {L"Windows 7 x64, Windows 10 version 22H2 x64", false},
      {L"Windows 10 x64, Windows 11 x64", false},
      {L"Windows 10 version 1809 x64", true},
      {L"windows 10 x64", true},
      {L"Windows 10 x64 ", true},
      {L"Windows 11 x64,Windows 10 x64", true},  // only ", " separates
      {L"Windows 10 x86", true},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(OsAllowed(L"Windows 10 x64", c.list, win10x64, true), c.allowed) << c.list;
    EXPECT_TRUE(OsAllowed(c.list, L"", win10x64, true)) << "the 32-bit list does not count: " << c.list;
  }

  const OsNames win10x86{L"Windows 10 version 22H2 x86", L"Windows 10 x86"};
  EXPECT_FALSE(OsAllowed(L"Windows 9x/ME/NT/2000/XP/Vista/Windows 7/Windows 8 x86/Windows 8.1 x86/Windows 10 x86",
                         L"", win10x86, false));
  EXPECT_FALSE(OsAllowed(L"Windows 8 x86, Windows 10 x86", L"", win10x86, false));
  EXPECT_TRUE(OsAllowed(L"", L"Windows 10 x86", win10x86, false));
  EXPECT_TRUE(OsAllowed(L"Windows XP/Vista/Windows 7/Windows 8 x64/Windows 8.1 x64/Windows 10 x64/Windows 11 x64",
                        L"", win10x86, false));
}

TEST(OsNames, TheTwoFamiliesExcludeEvery64BitWindows10And11Workstation) {
  for (const NameCase& c : kNameCases) {
    if (c.major < 10 || c.major > 11 || c.minor != 0 || c.server) continue;
    OsInfo os{c.major, c.minor, c.build, c.servicePack, c.server, true};
    const OsNames names{OsReleaseName(os, true), OsFamilyName(os, true)};
    EXPECT_FALSE(OsAllowed(L"", L"Windows 10 x64, Windows 11 x64", names, true)) << names.release;
  }
}
