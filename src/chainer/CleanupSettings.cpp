#include "chainer/CleanupSettings.h"

#include "platform/core/PathText.h"
#include "platform/core/Text.h"

namespace cv {

void LoadCleanupSettings(const IniDocument& document, const std::wstring& exePath, const std::wstring& iniPath,
                         const PathExistsFunction& exists, CleanupSettings& settings, CleanupScriptRunner& runner) {
  ChainerOptions options;
  if (!LoadChainerOptions(document, options)) return;
  runner.Configure(options.CleanupScript, 10);
  if (!options.CleanupScript.empty()) runner.AddPath(options.CleanupScript);
  settings.cleanupFolders = options.CleanupFolders;
  const std::wstring& root = settings.cleanupFolders;

  for (const std::wstring& file : SplitText(options.CleanupFiles, std::wstring(1, L'\x0001'), true))
    if (exists(file) && StartsWith(file, root)) settings.filesToDelete.push_back(file);
  settings.filesToDelete.push_back(iniPath);

  // A running program cannot delete itself or its folders: the script does.
  runner.AddPath(exePath);
  if (!StartsWith(exePath, root)) return;
  for (std::wstring folder = GetParentFolder(exePath); folder != root && !folder.empty();
       folder = GetParentFolder(folder))
    runner.AddPath(folder);
}

}  // namespace cv
