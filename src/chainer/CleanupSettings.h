// What the program deletes at exit and what it leaves to the clean-up script.
#pragma once
#include <functional>
#include <string>
#include <vector>

#include "chainer/PackageConfiguration.h"
#include "cleanup/CleanupPlan.h"

namespace cv {

struct CleanupSettings {
  std::vector<std::wstring> filesToDelete;
  std::wstring cleanupFolders;
};

using PathExistsFunction = std::function<bool(const std::wstring&)>;

// Fills settings and plan from the PREREQ_CHAINER options; does nothing
// without that section. Only what lies strictly below CleanupFolders is
// deleted or planned (everything when it is empty).
void LoadCleanupSettings(const IniDocument& document, const std::wstring& exePath, const std::wstring& iniPath,
                         const PathExistsFunction& exists, CleanupSettings& settings, CleanupPlan& plan);

}  // namespace cv
