#include "cleanup/CleanupScriptRunner.h"

#include <algorithm>

namespace cv {

void CleanupScriptRunner::AddPath(const std::wstring& path) {
  if (std::find(paths_.begin(), paths_.end(), path) == paths_.end()) paths_.push_back(path);
}

void CleanupScriptRunner::RemovePath(const std::wstring& path) {
  paths_.erase(std::remove(paths_.begin(), paths_.end(), path), paths_.end());
}

}  // namespace cv
