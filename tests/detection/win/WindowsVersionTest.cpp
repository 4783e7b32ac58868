#include "detection/win/WindowsVersion.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

using namespace cv;

namespace {

const wchar_t kVersionKey[] = L"Software\\Microsoft\\Windows NT\\CurrentVersion";

// Values of the 64-bit registry view, read independently of the detection.
UniqueKey OpenMachineKey(const wchar_t* key) {
  UniqueKey opened;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, key, 0, KEY_READ | KEY_WOW64_64KEY, opened.put()) != ERROR_SUCCESS)
    opened.release();
  return opened;
}

std::optional<std::wstring> RegistryText(const wchar_t* key, const wchar_t* name) {
  UniqueKey opened = OpenMachineKey(key);
  wchar_t buffer[512] = {};
  DWORD size = sizeof(buffer);
  if (!opened || RegGetValueW(opened.get(), nullptr, name, RRF_RT_REG_SZ, nullptr, buffer, &size) != ERROR_SUCCESS)
    return std::nullopt;
  return std::wstring(buffer);
}

std::optional<DWORD> RegistryNumber(const wchar_t* key, const wchar_t* name) {
  UniqueKey opened = OpenMachineKey(key);
  DWORD value = 0, size = sizeof(value);
  if (!opened || RegGetValueW(opened.get(), nullptr, name, RRF_RT_REG_DWORD, nullptr, &value, &size) != ERROR_SUCCESS)
    return std::nullopt;
  return value;
}

// A throw-away pair of keys under HKEY_CURRENT_USER shaped like the two
// keys the detection reads.
class FakeOsKeys : public ::testing::Test {
 protected:
  void SetUp() override {
    base_ = L"Software\\cvtest-os-" + std::to_wstring(GetCurrentProcessId());
    versionPath_ = base_ + L"\\CurrentVersion";
    optionsPath_ = base_ + L"\\ProductOptions";
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, versionPath_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                              version_.put(), nullptr),
              ERROR_SUCCESS);
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, optionsPath_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                              options_.put(), nullptr),
              ERROR_SUCCESS);
  }
  void TearDown() override {
    version_.reset();
    options_.reset();
    RegDeleteTreeW(HKEY_CURRENT_USER, base_.c_str());
  }

  // Written without the terminating null when asked: readers must not rely on it.
  static void SetText(HKEY key, const wchar_t* name, const std::wstring& text, bool withNull = true) {
    auto bytes = static_cast<DWORD>((text.size() + (withNull ? 1 : 0)) * sizeof(wchar_t));
    ASSERT_EQ(RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()), bytes),
              ERROR_SUCCESS);
  }
  static void SetNumber(HKEY key, const wchar_t* name, DWORD value) {
    ASSERT_EQ(RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof(value)),
              ERROR_SUCCESS);
  }
  OsInfo Detect() const {
    return DetectOsInfo(RegistryOsFacts(HKEY_CURRENT_USER, versionPath_.c_str(), optionsPath_.c_str()));
  }

  std::wstring base_, versionPath_, optionsPath_;
  UniqueKey version_, options_;
};

BOOL WINAPI FailingIsWow64Process2(HANDLE, USHORT*, USHORT*) { return FALSE; }
BOOL WINAPI Arm64IsWow64Process2(HANDLE, USHORT* process, USHORT* native) {
  *process = IMAGE_FILE_MACHINE_I386;
  *native = 0xAA64;
  return TRUE;
}

}  // namespace

TEST_F(FakeOsKeys, OlderWindowsReadFromTexts) {
  SetText(version_.get(), L"CurrentVersion", L"6.1", false);
  SetText(version_.get(), L"CurrentBuildNumber", L"7601", false);
  SetText(version_.get(), L"CSDVersion", L"Service Pack 1");
  SetText(options_.get(), L"ProductType", L"ServerNT");
  OsInfo os = Detect();
  EXPECT_EQ(os.major, 6u);
  EXPECT_EQ(os.minor, 1u);
  EXPECT_EQ(os.build, 7601u);
  EXPECT_EQ(os.servicePack, 1u);
  EXPECT_TRUE(os.isServer);
}

TEST_F(FakeOsKeys, LongTextsAreReadWholeAndWrongTypesIgnored) {
  SetNumber(version_.get(), L"CurrentMajorVersionNumber", 10);
  SetText(version_.get(), L"CurrentMinorVersionNumber", L"3");  // not a DWORD: absent
  SetText(version_.get(), L"CurrentBuildNumber", L"22631" + std::wstring(300, L'.') + L"9");
  SetText(version_.get(), L"CSDVersion", std::wstring(400, L'x') + L"2");
  SetText(options_.get(), L"ProductType", std::wstring(300, L'S'));  // too long to be read: no server
  OsInfo os = Detect();
  EXPECT_EQ(os.major, 11u);
  EXPECT_EQ(os.minor, 0u);
  EXPECT_EQ(os.build, 22631u);
  EXPECT_EQ(os.servicePack, 2u);
  EXPECT_FALSE(os.isServer);

  SetText(options_.get(), L"ProductType", L"WinNT");
  EXPECT_FALSE(Detect().isServer);
}

TEST_F(FakeOsKeys, MissingVersionKeyLeavesEverythingUnknown) {
  SetText(options_.get(), L"ProductType", L"ServerNT");
  const std::wstring missing = base_ + L"\\Missing";
  OsInfo os = DetectOsInfo(RegistryOsFacts(HKEY_CURRENT_USER, missing.c_str(), optionsPath_.c_str()));
  EXPECT_EQ(os.major, 0u);
  EXPECT_EQ(os.build, 0u);
  EXPECT_FALSE(os.isServer);
  EXPECT_FALSE(os.isWow64);
}

TEST(WindowsVersion, RunningSystemMatchesItsRegistry) {
  const OsInfo& os = GetOsInfo();
  const std::optional<DWORD> major = RegistryNumber(kVersionKey, L"CurrentMajorVersionNumber");
  const std::optional<std::wstring> build = RegistryText(kVersionKey, L"CurrentBuildNumber");
  ASSERT_TRUE(build.has_value());
  EXPECT_EQ(os.build, static_cast<uint32_t>(_wtoi(build->c_str())));
  if (major) {
    EXPECT_EQ(os.major, *major == 10 && os.build >= 22000 ? 11u : *major);
  } else {
    const std::optional<std::wstring> version = RegistryText(kVersionKey, L"CurrentVersion");
    ASSERT_TRUE(version.has_value());
    EXPECT_EQ(std::to_wstring(os.major) + L"." + std::to_wstring(os.minor), *version);
  }
  EXPECT_GE(os.major, 6u) << "Wine reports a recent Windows";

  BOOL wow64 = FALSE;
  ASSERT_TRUE(IsWow64Process(GetCurrentProcess(), &wow64));
  EXPECT_EQ(os.isWow64, wow64 != FALSE);
  EXPECT_EQ(Is64BitWindows(), wow64 || sizeof(void*) == 8);

  const std::optional<std::wstring> productType =
      RegistryText(L"SYSTEM\\CurrentControlSet\\Control\\ProductOptions", L"ProductType");
  EXPECT_EQ(os.isServer, productType && *productType != L"WinNT");
}

TEST(WindowsVersion, ComputedOnceForAllThreads) {
  std::vector<const OsInfo*> seen(4, nullptr);
  std::vector<std::thread> threads;
  for (auto& slot : seen) threads.emplace_back([&slot] { slot = &GetOsInfo(); });
  for (auto& thread : threads) thread.join();
  for (const OsInfo* info : seen) EXPECT_EQ(info, &GetOsInfo());
  EXPECT_EQ(&OsReleaseName(), &OsReleaseName());
}

TEST(WindowsVersion, NamesAndConditionFollowTheRunningSystem) {
  const std::wstring& family = OsFamilyName();
  ASSERT_FALSE(family.empty());
  if (family != L"OsNotIdentified") {
    EXPECT_EQ(family.substr(family.size() - 4), Is64BitWindows() ? L" x64" : L" x86");
  }
  EXPECT_TRUE(OsAllowed(L"", L""));
  EXPECT_FALSE(OsAllowed(family, family));
  EXPECT_FALSE(OsAllowed(L"Windows 95, " + OsReleaseName(), L"Windows 95, " + OsReleaseName()));
  EXPECT_TRUE(OsAllowed(family + L" ", family + L" "));
  EXPECT_TRUE(IsWindowsVersionOrLater(GetOsInfo().major, GetOsInfo().minor, 0, 0));
  EXPECT_FALSE(IsWindowsVersionOrLater(GetOsInfo().major + 1, 0, 0, 0));
}

TEST(WindowsVersion, NativeMachineAnswers) {
  EXPECT_EQ(QueryNativeMachine(nullptr).status, NativeMachine::Status::FunctionMissing);
  EXPECT_EQ(QueryNativeMachine(&FailingIsWow64Process2).status, NativeMachine::Status::CallFailed);
  NativeMachine arm = QueryNativeMachine(&Arm64IsWow64Process2);
  EXPECT_EQ(arm.status, NativeMachine::Status::Known);
  EXPECT_EQ(arm.machine, 0xAA64);

  const bool present = GetProcAddress(GetModuleHandleW(L"kernel32"), "IsWow64Process2") != nullptr;
  NativeMachine real = QueryNativeMachine();
  if (!present) {
    EXPECT_EQ(real.status, NativeMachine::Status::FunctionMissing);
  } else {
    ASSERT_EQ(real.status, NativeMachine::Status::Known);
    // This process is x86 or x64 code, which runs natively on x64 or emulated on ARM64.
    EXPECT_TRUE(real.machine == IMAGE_FILE_MACHINE_AMD64 || real.machine == 0xAA64) << real.machine;
  }
  EXPECT_EQ(QueryNativeMachine().status, real.status);
}
