// The file and folder searches: versions of files found by name (with a
// depth of subfolders, or at every fixed drive's root), and subfolder names.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "detection/SearchCombination.h"

namespace cv {

// The path of the first entry that matches name (wildcards allowed) in folder
// or, down to depth levels, in its subfolders, depth first in listing order.
// Every folder is listed once; linked folders are not entered.
std::optional<std::wstring> FindFileInFolder(const std::wstring& folder, const std::wstring& name, int32_t depth);
// The roots of the fixed drives ("C:\"), in drive order.
std::vector<std::wstring> FixedDriveRoots();

// The version of the first file found, or nothing found.
SearchOutcome SearchFileVersion(const std::wstring& text, bool use64);
// The names of the folder's subfolders.
SearchOutcome SearchSubfolderNames(const std::wstring& text, bool use64);

}  // namespace cv
