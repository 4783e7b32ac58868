#include "install/AppxPackages.h"

#include "detection/VersionNumber.h"

namespace cv {

std::wstring AppxArchitectureText(int32_t architecture) {
  switch (architecture) {
    case 0: return L"x86";
    case 5: return L"arm";
    case 9: return L"x64";
    case 11: return L"neutral";
    case 12: return L"arm64";
    default: return std::wstring();
  }
}

bool AppxPackageMatches(const AppxPackageIdentity& package, const std::wstring& name, const std::wstring& publisher,
                        const std::wstring& architecture) {
  if (package.name != name) return false;
  if (!publisher.empty() && package.publisher != publisher) return false;
  // A package whose architecture has no text never matches a requested one.
  if (!architecture.empty() && AppxArchitectureText(package.architecture) != architecture) return false;
  return true;
}

std::wstring AppxVersionText(const AppxPackageIdentity& package) {
  return FormatVersion(VersionNumber{package.major, package.minor, package.build, package.revision});
}

std::wstring FindFirstMatchingVersion(IAppxPackageSource& source, const std::wstring& name,
                                      const std::wstring& publisher, const std::wstring& architecture) {
  std::wstring version;
  source.VisitUserPackages([&](const AppxPackageIdentity& package) {
    if (!AppxPackageMatches(package, name, publisher, architecture)) return true;
    version = AppxVersionText(package);
    return false;
  });
  return version;
}

}  // namespace cv
