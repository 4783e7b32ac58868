#include "chainer/CleanupSettings.h"

#include "platform/core/PathText.h"
#include "platform/core/Text.h"

namespace cv {

void LoadCleanupSettings(const IniDocument& document, const std::wstring& exePath, const std::wstring& iniPath,
                         const PathExistsFunction& exists, CleanupSettings& settings, CleanupPlan& plan) {
  ChainerOptions options;
  if (!LoadChainerOptions(document, options)) return;
  plan.Configure(options.CleanupScript, 10);
  if (!options.CleanupScript.empty()) plan.AddPath(options.CleanupScript);
  settings.cleanupFolders = options.CleanupFolders;
  const std::wstring& root = settings.cleanupFolders;

  for (const std::wstring& file : SplitText(options.CleanupFiles, std::wstring(1, L'\x0001'), true))
    if (exists(file) && (root.empty() || IsPathUnder(file, root))) settings.filesToDelete.push_back(file);
  settings.filesToDelete.push_back(iniPath);

  // A running program cannot delete itself or its folders: the script does.
  plan.AddPath(exePath);
  if (root.empty()) {
    // Every ancestor; those that hold other things are dropped before the script runs.
    for (std::wstring folder = GetParentFolder(exePath); !folder.empty(); folder = GetParentFolder(folder))
      plan.AddPath(folder);
    return;
  }
  // Up to the root, which stays; nothing when the program lies elsewhere.
  for (std::wstring folder = GetParentFolder(exePath); IsPathUnder(folder, root); folder = GetParentFolder(folder))
    plan.AddPath(folder);
}

}  // namespace cv
