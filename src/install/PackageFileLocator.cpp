#include "install/PackageFileLocator.h"

#include "platform/core/PathText.h"

namespace cv {

void PackageFileLocator::Configure(const std::wstring& packageFile, const std::wstring& extractionFolder) {
  packageFile_ = packageFile;
  packageFolder_ = EnsureTrailingBackslash(GetParentFolder(packageFile));
  extractionFolder_ = EnsureTrailingBackslash(extractionFolder);
}

std::wstring PackageFileLocator::LocateSetupFile(const std::wstring& setupFile) const {
  if (IsAbsoluteLocation(setupFile)) return setupFile;
  return GetPackageFile(setupFile);
}

std::wstring PackageFileLocator::GetPackageFile(const std::wstring& name) const {
  return EnsureTrailingBackslash(extractionFolder_.empty() ? packageFolder_ : extractionFolder_) + name;
}

}  // namespace cv
