// Which version of an AppX/MSIX package the current user has installed.
#pragma once
#include <memory>
#include <string>

#include "install/AppxPackages.h"

namespace cv {

class MsixFinder {
 public:
  // The Windows package manager.
  MsixFinder();
  explicit MsixFinder(std::unique_ptr<IAppxPackageSource> source);

  // The version text of the first installed package that matches, or empty.
  // Publisher and architecture may be empty (any). The packages are walked on
  // a thread of its own in the multithreaded apartment; the caller waits. A
  // crash on that thread finds nothing instead of ending the program.
  std::wstring Find(const std::wstring& name, const std::wstring& publisher, const std::wstring& architecture) const;

 private:
  std::unique_ptr<IAppxPackageSource> source_;
};

}  // namespace cv
