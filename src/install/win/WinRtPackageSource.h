// The current user's packages from the Windows package manager
// (Windows.Management.Deployment.PackageManager), reached through Windows
// Runtime activation. The runtime's functions are looked up at run time:
// Windows before 8 has none, and their library is not a KnownDLL.
#pragma once
#include "install/AppxPackages.h"

namespace cv {

class WinRtPackageSource : public IAppxPackageSource {
 public:
  // Call on a thread with COM initialised.
  int32_t VisitUserPackages(const std::function<bool(const AppxPackageIdentity&)>& visit) override;
};

}  // namespace cv
