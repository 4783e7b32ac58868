// The walk that creates a folder tree one level at a time; the creation of a
// single folder is passed in, so the walk is the same on every file system.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace cv {

enum class FolderOutcome { Created, AlreadyThere, Failed };

struct FolderCreationResult {
  FolderOutcome outcome;
  uint32_t error;  // the system's error code when Failed
};

using CreateOneFolder = std::function<FolderCreationResult(const std::wstring& folder)>;
using RemoveOneFolder = std::function<void(const std::wstring& folder)>;

// Creates every level of path after its root (without the last component
// unless includeLast). Returns 0, or the error of the level that failed;
// on a drive the folders created until then are removed again. On a network
// path the share level ("\\server\share") cannot be created and may answer
// with any error: the walk goes on to the levels below it. created receives
// the folders made, in order, when the walk succeeds.
uint32_t CreateFolderLevels(const std::wstring& path, bool includeLast, const CreateOneFolder& create,
                            const RemoveOneFolder& remove, std::vector<std::wstring>* created);

}  // namespace cv
