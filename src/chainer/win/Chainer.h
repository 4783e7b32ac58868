// The application object: turns one start of the program into an exit code.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "chainer/CleanupSettings.h"
#include "chainer/IniDocument.h"
#include "chainer/PackageConfiguration.h"
#include "cleanup/CleanupPlan.h"
#include "install/PackageFileLocator.h"

namespace cv {

class Chainer {
 public:
  Chainer() = default;
  ~Chainer();
  Chainer(const Chainer&) = delete;
  Chainer& operator=(const Chainer&) = delete;

  void Run();
  int32_t ExitCode() const { return exitCode_; }

 private:
  // Reads the UTF-16LE configuration file; false when there is none.
  bool ReadConfiguration(IniDocument& document);
  int32_t ProcessPrerequisites(PackageConfiguration& configuration);
  void DeleteCleanupFiles();

  int32_t exitCode_ = 0;
  bool silent_ = false;
  PackageFileLocator locator_;
  CleanupSettings cleanup_;
  CleanupPlan cleanupPlan_;
  std::wstring exePath_;
  std::wstring iniPath_;
  std::wstring exeFolder_;
};

}  // namespace cv
