// The paths that the package's clean-up script removes after the program exits.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace cv {

class CleanupScriptRunner {
 public:
  void Configure(const std::wstring& scriptPath, int32_t retryCount) {
    scriptPath_ = scriptPath;
    retryCount_ = retryCount;
  }
  // Appends the path unless an equal entry (exact comparison) is there.
  void AddPath(const std::wstring& path);
  // Removes every copy of the path.
  void RemovePath(const std::wstring& path);
  const std::vector<std::wstring>& Paths() const { return paths_; }
  const std::wstring& ScriptPath() const { return scriptPath_; }
  int32_t RetryCount() const { return retryCount_; }

 private:
  std::vector<std::wstring> paths_;
  std::wstring scriptPath_;
  int32_t retryCount_ = 0;
};

}  // namespace cv
