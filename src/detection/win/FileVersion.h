// Versions and product names from the version resources of files.
#pragma once
#include <windows.h>

#include <string>

namespace cv {

// Fills the file version's most and least significant words from the fixed
// file information; they stay untouched when the resource has none. Returns
// 0, or the error of the failing version-resource call.
DWORD ReadFileVersion(const std::wstring& path, DWORD& mostSignificant, DWORD& leastSignificant);
// The machine facts that decide whether a file is read through a copy.
struct FileVersionFacts {
  bool windows10OrLater = false;
  std::wstring windowsFolder;
  bool wow64 = false;
};
FileVersionFacts RunningSystemFileVersionFacts();
// The rule behind ReadFileVersion, with the machine facts passed in.
DWORD ReadFileVersion(const std::wstring& path, DWORD& mostSignificant, DWORD& leastSignificant,
                      const FileVersionFacts& facts);
// "major.minor.build.revision", or "0.0.0.0" without a readable version resource.
std::wstring FileVersionText(const std::wstring& path);
// The "ProductName" string of the file's first translation (1033/1250 when
// none is listed); false when it is missing or empty.
bool ReadProductName(const std::wstring& path, std::wstring& productName);

}  // namespace cv
