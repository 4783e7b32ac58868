// Path text handling: no file-system access.
#pragma once
#include <optional>
#include <string>
#include <vector>

namespace cv {

extern const wchar_t kLongPathPrefix[];     // "\\?\"
extern const wchar_t kLongUncPathPrefix[];  // "\\?\UNC\"

std::wstring EnsureTrailingBackslash(std::wstring path);
std::wstring GetParentFolder(const std::wstring& path);
std::wstring GetFileName(const std::wstring& path);
bool HasLongPathPrefix(const std::wstring& path);
// The form to hand to Win32: a drive or network path of 248 characters or
// more gets "\\?\" or "\\?\UNC\" (248 is the limit for creating folders, the
// smallest of the Win32 limits). The prefix turns off Win32's own clean-up,
// so a prefixed path is also canonical; a path that cannot be made canonical
// and relative paths stay as they are.
std::wstring ToLongPath(const std::wstring& path);
std::wstring FromLongPath(const std::wstring& path);
// Root first, then every component (empty ones kept).
std::vector<std::wstring> SplitPath(const std::wstring& path);
// Rebuilds the path from its components without trailing blanks and dots.
// A leading folder reference ("[TempFolder]") stays joined to the component
// after it: its value brings its own backslash.
std::wstring NormalizePath(const std::wstring& path);
size_t ToBackslashes(std::wstring& text);
// Drive path ("C:...") or network path ("\\...").
bool IsAbsoluteLocation(const std::wstring& path);
bool IsUncPath(const std::wstring& path);
bool StartsWith(const std::wstring& text, const std::wstring& prefix);

// A drive path ("C:\...", "C:") or network path ("\\server\share...") with
// "/" taken as "\", no long-path prefix, one backslash between components,
// "." segments dropped and ".." applied, no trailing backslash. Nothing for
// any other path, and for one whose ".." climbs above its drive or share.
std::optional<std::wstring> CanonicalPath(const std::wstring& path);
// True when path lies strictly below root: after canonicalisation the root,
// then a backslash. Letters compare as Windows compares file names. A
// component ending in a dot or blank, which Win32 would trim, makes the
// answer false.
bool IsPathUnder(const std::wstring& path, const std::wstring& root);
// True when the path names something strictly below a drive or share; false
// for the drive or share itself ("C:", "C:\", "\\server\share"), a bare
// server, a relative path and one whose ".." climbs above its root.
bool IsBelowVolumeRoot(const std::wstring& path);

}  // namespace cv
