// The Windows Installer searches, through msi.dll from the system folder.
#pragma once
#include <string>

#include "detection/SearchCombination.h"

namespace cv {

// The product's version string; nothing when it is not installed.
SearchOutcome SearchMsiProductVersion(const std::wstring& productCode);
// The version strings of every product related by the upgrade code.
SearchOutcome SearchMsiRelatedProductVersions(const std::wstring& upgradeCode);
// found: installed locally or to run from source (not advertised, not absent).
SearchOutcome SearchMsiComponentInstalled(const std::wstring& componentCode);

}  // namespace cv
