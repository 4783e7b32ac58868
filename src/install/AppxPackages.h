// Installed AppX/MSIX packages as the lookup sees them, and the rules that
// decide which one a search means.
#pragma once
#include <cstdint>
#include <functional>
#include <string>

namespace cv {

// The identity of an installed package, as the package manager reports it.
struct AppxPackageIdentity {
  std::wstring name;
  std::wstring publisher;
  int32_t architecture = -1;  // the platform's processor-architecture value
  uint16_t major = 0, minor = 0, build = 0, revision = 0;
};

// "x86", "arm", "x64", "neutral", "arm64"; empty for any other value.
std::wstring AppxArchitectureText(int32_t architecture);
// The name must be equal (case-sensitive); publisher and architecture only when given.
bool AppxPackageMatches(const AppxPackageIdentity& package, const std::wstring& name, const std::wstring& publisher,
                        const std::wstring& architecture);
// The short version form ("1.2.3" for 1.2.3.0).
std::wstring AppxVersionText(const AppxPackageIdentity& package);

// The packages installed for the current user.
class IAppxPackageSource {
 public:
  virtual ~IAppxPackageSource() = default;
  // Calls visit for each package in the platform's order until it answers
  // false. Returns 0, or the failing HRESULT when the platform could not be asked.
  virtual int32_t VisitUserPackages(const std::function<bool(const AppxPackageIdentity&)>& visit) = 0;
};

// The version of the first matching package; empty when none matches or the
// packages cannot be listed.
std::wstring FindFirstMatchingVersion(IAppxPackageSource& source, const std::wstring& name,
                                      const std::wstring& publisher, const std::wstring& architecture);

}  // namespace cv
