#include "detection/win/FileSearches.h"

#include "detection/SearchStrings.h"
#include "detection/VersionNumber.h"
#include "detection/win/FileVersion.h"
#include "detection/win/WindowsVersion.h"
#include "platform/core/PathText.h"
#include "platform/core/win/FileSystem.h"
#include "platform/core/win/FolderResolution.h"
#include "platform/core/win/Handles.h"

namespace cv {

namespace {

bool IsDotEntry(const wchar_t* name) {
  return name[0] == L'.' && (name[1] == 0 || (name[1] == L'.' && name[2] == 0));
}

std::optional<std::wstring> FindBelow(const std::wstring& folder, const std::wstring& name, int32_t depth) {
  WIN32_FIND_DATAW data;
  {
    UniqueFind match(FindFirstFileW((folder + name).c_str(), &data));
    // The matched entry's own name: with wildcards the name is a pattern, not a file.
    if (match) return folder + data.cFileName;
  }
  if (depth < 1) return std::nullopt;
  UniqueFind listing(FindFirstFileW((folder + L"*").c_str(), &data));
  if (!listing) return std::nullopt;
  do {
    // Linked folders are not entered: a junction back to a parent would have
    // the walk go round until the depth runs out.
    if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) ||
        IsDotEntry(data.cFileName))
      continue;
    if (auto found = FindBelow(folder + data.cFileName + L"\\", name, depth - 1)) return found;
  } while (FindNextFileW(listing.get(), &data));
  return std::nullopt;
}

}  // namespace

std::optional<std::wstring> FindFileInFolder(const std::wstring& folder, const std::wstring& name, int32_t depth) {
  if (name.empty()) return std::nullopt;
  return FindBelow(EnsureTrailingBackslash(folder), name, depth);
}

std::vector<std::wstring> FixedDriveRoots() {
  std::vector<std::wstring> roots;
  wchar_t strings[512] = {};
  DWORD length = GetLogicalDriveStringsW(static_cast<DWORD>(std::size(strings)), strings);
  if (length == 0 || length >= std::size(strings)) return roots;
  for (const wchar_t* drive = strings; *drive; drive += wcslen(drive) + 1)
    if (GetDriveTypeW(drive) == DRIVE_FIXED) roots.emplace_back(drive);
  return roots;
}

SearchOutcome SearchFileVersion(const std::wstring& text, bool use64) {
  SearchOutcome outcome;
  FileSearchString search = SplitFileSearchString(text);
  std::vector<std::wstring> candidates;
  if (search.bareName) {
    for (const std::wstring& root : FixedDriveRoots()) candidates.push_back(root + search.path + search.suffix);
  } else {
    candidates.push_back(text);
  }
  FileSystemRedirectionOff nativeFiles(use64 && Is64BitWindows());
  for (const std::wstring& candidate : candidates) {
    FileSearchTarget target = SplitSearchDepth(candidate);
    std::wstring path = ExpandReferences(target.path, use64);
    size_t slash = path.rfind(L'\\');
    std::wstring folder = slash == std::wstring::npos ? std::wstring() : path.substr(0, slash + 1);
    std::wstring name = slash == std::wstring::npos ? path : path.substr(slash + 1);
    if (std::optional<std::wstring> file = FindFileInFolder(folder, name, target.depth)) {
      VersionNumber version;
      ParseVersion(FileVersionText(*file), version);
      outcome.foundTexts.push_back(FormatVersion(version));
      outcome.found = true;
      break;
    }
  }
  return outcome;
}

SearchOutcome SearchSubfolderNames(const std::wstring& text, bool use64) {
  SearchOutcome outcome;
  std::wstring folder = EnsureTrailingBackslash(ExpandReferences(text, use64));
  std::vector<std::wstring> subfolders;
  {
    FileSystemRedirectionOff nativeFiles(use64 && Is64BitWindows());
    ListSubfolders(folder, subfolders);
  }
  for (const std::wstring& path : subfolders) outcome.foundTexts.push_back(GetFileName(path));
  return outcome;
}

}  // namespace cv
