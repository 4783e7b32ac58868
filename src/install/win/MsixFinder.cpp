#include "install/win/MsixFinder.h"

#include <objbase.h>

#include "install/win/WinRtPackageSource.h"
#include "platform/core/win/ExceptionHandling.h"
#include "platform/core/win/Handles.h"

namespace cv {

MsixFinder::MsixFinder() : source_(std::make_unique<WinRtPackageSource>()) {}

MsixFinder::MsixFinder(std::unique_ptr<IAppxPackageSource> source) : source_(std::move(source)) {}

std::wstring MsixFinder::Find(const std::wstring& name, const std::wstring& publisher,
                              const std::wstring& architecture) const {
  std::wstring found;
  bool completed = RunOnGuardedThread([&] {
    ComScope com(COINIT_MULTITHREADED);
    found = FindFirstMatchingVersion(*source_, name, publisher, architecture);
  });
  return completed ? found : std::wstring();
}

}  // namespace cv
