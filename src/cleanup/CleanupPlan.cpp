#include "cleanup/CleanupPlan.h"

#include <algorithm>

#include "platform/core/PathText.h"

namespace cv {

void CleanupPlan::AddPath(const std::wstring& path) {
  if (std::find(paths_.begin(), paths_.end(), path) == paths_.end()) paths_.push_back(path);
}

void CleanupPlan::DropPathsStillInUse(const PathProbe& probe) {
  auto staysOnDisk = [&probe](const std::wstring& path) {
    if (!IsBelowVolumeRoot(path)) return true;
    if (!probe.isFolder(path)) return false;
    // A folder on the way out holds at most the one entry that goes before it.
    std::optional<size_t> entries = probe.countEntries(path);
    return !entries || *entries > 1;
  };
  paths_.erase(std::remove_if(paths_.begin(), paths_.end(), staysOnDisk), paths_.end());
}

}  // namespace cv
