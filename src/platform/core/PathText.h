// Path text handling: no file-system access.
#pragma once
#include <string>
#include <vector>

namespace cv {

extern const wchar_t kLongPathPrefix[];     // "\\?\"
extern const wchar_t kLongUncPathPrefix[];  // "\\?\UNC\"

std::wstring EnsureTrailingBackslash(std::wstring path);
std::wstring GetParentFolder(const std::wstring& path);
std::wstring GetFileName(const std::wstring& path);
bool HasLongPathPrefix(const std::wstring& path);
// Prefixes absolute paths of 248 characters or more so Win32 accepts them.
std::wstring ToLongPath(const std::wstring& path);
std::wstring FromLongPath(const std::wstring& path);
// Root first, then every component (empty ones kept).
std::vector<std::wstring> SplitPath(const std::wstring& path);
// Rebuilds the path from its components without trailing blanks and dots.
std::wstring NormalizePath(const std::wstring& path);
size_t ToBackslashes(std::wstring& text);
std::wstring GetVolumeRoot(const std::wstring& path);
// Drive path ("C:...") or network path ("\\...").
bool IsAbsoluteLocation(const std::wstring& path);
bool IsUncPath(const std::wstring& path);
bool StartsWith(const std::wstring& text, const std::wstring& prefix);

}  // namespace cv
