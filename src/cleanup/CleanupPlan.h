// What the package's clean-up script is to remove after the program exits:
// its paths, the script and the retry count it is started with.
#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace cv {

// What the plan needs to know about a path on this machine.
struct PathProbe {
  std::function<bool(const std::wstring& path)> isFolder;
  // Entries other than "." and ".."; nothing when the folder cannot be listed.
  std::function<std::optional<size_t>(const std::wstring& folder)> countEntries;
};

class CleanupPlan {
 public:
  void Configure(const std::wstring& scriptPath, int32_t retryCount) {
    scriptPath_ = scriptPath;
    retryCount_ = retryCount;
  }
  // Appends the path unless an equal entry (exact comparison) is there.
  void AddPath(const std::wstring& path);
  // Drops what the script must not remove: a drive or share itself (and any
  // path that names nothing below one), a folder that holds more than the
  // one entry on its way out, and a folder whose entries cannot be seen.
  // Files stay.
  void DropPathsStillInUse(const PathProbe& probe);
  const std::vector<std::wstring>& Paths() const { return paths_; }
  const std::wstring& ScriptPath() const { return scriptPath_; }
  int32_t RetryCount() const { return retryCount_; }

 private:
  std::vector<std::wstring> paths_;
  std::wstring scriptPath_;
  int32_t retryCount_ = 0;
};

}  // namespace cv
