#include "platform/core/FolderCreation.h"

#include "platform/core/PathText.h"

namespace cv {

uint32_t CreateFolderLevels(const std::wstring& path, bool includeLast, const CreateOneFolder& create,
                            const RemoveOneFolder& remove, std::vector<std::wstring>* created) {
  std::vector<std::wstring> parts = SplitPath(path);
  size_t count = parts.size() - 1;
  if (!includeLast && count > 0) --count;
  // SplitPath gives "\\server" as the root of a network path: level 1 is the share.
  const bool network = IsUncPath(path);
  std::vector<std::wstring> mine;
  std::wstring folder = parts[0];
  for (size_t level = 1; level <= count; ++level) {
    folder += L"\\" + parts[level];
    FolderCreationResult result = create(folder);
    if (result.outcome == FolderOutcome::Created) {
      mine.push_back(folder);
      continue;
    }
    if (result.outcome == FolderOutcome::AlreadyThere || (network && level == 1)) continue;
    // Leave the drive as it was: take back only what this call created.
    if (!network)
      for (auto it = mine.rbegin(); it != mine.rend(); ++it) remove(*it);
    return result.error;
  }
  if (created) created->insert(created->end(), mine.begin(), mine.end());
  return 0;
}

}  // namespace cv
