// The AppX lookup on its own thread: through a package list where Wine has no
// package manager, and the real Windows package manager, which Wine lacks.
#include "install/win/MsixFinder.h"

#include <gtest/gtest.h>
#include <objbase.h>

#include <thread>
#include <vector>

#include "platform/core/win/Handles.h"

#include "install/win/WinRtPackageSource.h"

namespace cv {
namespace {

// What the lookup thread saw, for the checks on the calling thread.
struct Observed {
  DWORD threadId = 0;
  HRESULT apartmentProbe = S_OK;
};

class ListedPackages : public IAppxPackageSource {
 public:
  ListedPackages(std::vector<AppxPackageIdentity> packages, Observed& observed)
      : packages_(std::move(packages)), observed_(observed) {}
  int32_t VisitUserPackages(const std::function<bool(const AppxPackageIdentity&)>& visit) override {
    observed_.threadId = GetCurrentThreadId();
    // Asking for a single-threaded apartment fails on a thread already in the
    // multithreaded one.
    observed_.apartmentProbe = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    if (SUCCEEDED(observed_.apartmentProbe)) CoUninitialize();
    for (const AppxPackageIdentity& package : packages_)
      if (!visit(package)) break;
    return 0;
  }

 private:
  std::vector<AppxPackageIdentity> packages_;
  Observed& observed_;
};

volatile uintptr_t nullAddress = 0;

// A package manager that crashes half-way through its list.
class CrashingPackages : public IAppxPackageSource {
 public:
  int32_t VisitUserPackages(const std::function<bool(const AppxPackageIdentity&)>& visit) override {
    visit({L"Before", L"", 9, 1});
    *reinterpret_cast<volatile int*>(nullAddress) = 1;
    visit({L"Contoso.App", L"", 9, 1});
    return 0;
  }
};

TEST(MsixFinder, FindsOnAThreadOfItsOwnInTheMultithreadedApartment) {
  Observed observed;
  MsixFinder finder(std::make_unique<ListedPackages>(
      std::vector<AppxPackageIdentity>{{L"Contoso.App", L"CN=B", 0, 1, 2, 3, 0}, {L"Contoso.App", L"CN=A", 9, 2}},
      observed));
  EXPECT_EQ(finder.Find(L"Contoso.App", L"", L""), L"1.2.3");
  EXPECT_NE(observed.threadId, 0u);
  EXPECT_NE(observed.threadId, GetCurrentThreadId());
  EXPECT_EQ(observed.apartmentProbe, RPC_E_CHANGED_MODE);
  EXPECT_EQ(finder.Find(L"Contoso.App", L"CN=A", L"x64"), L"2.0");
  EXPECT_EQ(finder.Find(L"contoso.app", L"", L""), L"");
}

TEST(MsixFinder, ACrashOnTheLookupThreadFindsNothing) {
  MsixFinder finder(std::make_unique<CrashingPackages>());
  EXPECT_EQ(finder.Find(L"Contoso.App", L"", L""), L"");
  // The process and the finder go on working.
  EXPECT_EQ(finder.Find(L"Contoso.App", L"", L""), L"");
}

// Wine has no Windows package manager: activating it fails (REGDB_E_CLASSNOTREG
// under Wine 8) and the lookup finds nothing. On Windows 8 and later the same
// code lists the user's packages.
TEST(MsixFinder, WindowsPackageManagerFailsCleanlyWhereItIsMissing) {
  HRESULT result = S_OK;
  int visited = 0;
  std::thread([&] {
    ComScope com(COINIT_MULTITHREADED);
    result = WinRtPackageSource().VisitUserPackages([&](const AppxPackageIdentity&) {
      ++visited;
      return true;
    });
  }).join();
  EXPECT_TRUE(FAILED(result)) << std::hex << result;
  EXPECT_EQ(visited, 0);
  EXPECT_EQ(MsixFinder().Find(L"Microsoft.VCLibs.140.00", L"", L""), L"");
}

}  // namespace
}  // namespace cv
