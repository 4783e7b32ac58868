// Full paths of the setup files that the package carries in its extraction folder.
#pragma once
#include <string>

namespace cv {

class PackageFileLocator {
 public:
  // packageFile: this program's own path; extractionFolder may be empty.
  void Configure(const std::wstring& packageFile, const std::wstring& extractionFolder);

  // Drive and network paths stay as they are; others are taken relative to
  // the extraction folder, or to the program's folder without one.
  std::wstring LocateSetupFile(const std::wstring& setupFile) const;
  std::wstring GetPackageFile(const std::wstring& name) const;

  const std::wstring& PackageFolder() const { return packageFolder_; }
  const std::wstring& ExtractionFolder() const { return extractionFolder_; }

 private:
  std::wstring packageFile_;
  std::wstring packageFolder_;
  std::wstring extractionFolder_;
};

}  // namespace cv
