#include "platform/core/PathText.h"

namespace cv {

const wchar_t kLongPathPrefix[] = L"\\\\?\\";
const wchar_t kLongUncPathPrefix[] = L"\\\\?\\UNC\\";

namespace {
constexpr size_t kLongPathThreshold = 248;
}

bool StartsWith(const std::wstring& text, const std::wstring& prefix) {
  return text.compare(0, prefix.size(), prefix) == 0;
}

std::wstring EnsureTrailingBackslash(std::wstring path) {
  if (!path.empty() && path.back() != L'\\') path.push_back(L'\\');
  return path;
}

std::wstring GetParentFolder(const std::wstring& path) {
  size_t slash = path.rfind(L'\\');
  return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
}

std::wstring GetFileName(const std::wstring& path) {
  size_t slash = path.rfind(L'\\');
  return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

bool HasLongPathPrefix(const std::wstring& path) { return StartsWith(path, kLongPathPrefix); }

bool IsUncPath(const std::wstring& path) {
  // "\\server\share" and "\\?\UNC\server\share"; "\\?\C:\" is a drive path.
  if (StartsWith(path, kLongUncPathPrefix)) return true;
  if (HasLongPathPrefix(path)) return false;
  return path.size() >= 2 && path[0] == L'\\' && path[1] == L'\\';
}

bool IsAbsoluteLocation(const std::wstring& path) {
  return path.size() >= 2 && ((path[0] == L'\\' && path[1] == L'\\') || path[1] == L':');
}

std::wstring ToLongPath(const std::wstring& path) {
  if (path.size() < kLongPathThreshold || !IsAbsoluteLocation(path)) return path;
  if (IsUncPath(path)) {
    if (StartsWith(path, kLongUncPathPrefix)) return path;
    return kLongUncPathPrefix + path.substr(2);
  }
  if (HasLongPathPrefix(path)) return path;
  return kLongPathPrefix + path;
}

std::wstring FromLongPath(const std::wstring& path) {
  if (StartsWith(path, kLongUncPathPrefix)) return L"\\\\" + path.substr(8);
  if (HasLongPathPrefix(path)) return path.substr(4);
  return path;
}

std::vector<std::wstring> SplitPath(const std::wstring& path) {
  std::wstring prefix;
  std::wstring rest = path;
  bool unc = false;
  if (StartsWith(path, kLongUncPathPrefix)) {
    prefix = kLongUncPathPrefix;
    rest = path.substr(8);
  } else if (HasLongPathPrefix(path)) {
    prefix = kLongPathPrefix;
    rest = path.substr(4);
  } else {
    unc = rest.size() >= 2 && rest[0] == L'\\' && rest[1] == L'\\';
  }
  size_t rootEnd = rest.find(L'\\', unc ? 2 : 1);
  std::vector<std::wstring> parts;
  if (rootEnd == std::wstring::npos) {
    parts.push_back(prefix + rest);
    return parts;
  }
  parts.push_back(prefix + rest.substr(0, rootEnd));
  size_t start = rootEnd + 1;
  for (;;) {
    size_t slash = rest.find(L'\\', start);
    if (slash == std::wstring::npos) {
      parts.push_back(rest.substr(start));
      break;
    }
    parts.push_back(rest.substr(start, slash - start));
    start = slash + 1;
  }
  return parts;
}

std::wstring NormalizePath(const std::wstring& path) {
  std::wstring result;
  for (std::wstring part : SplitPath(path)) {
    if (!result.empty() && result.back() != L']') result = EnsureTrailingBackslash(std::move(result));
    while (!part.empty() && (part.back() == L' ' || part.back() == L'.')) part.pop_back();
    result += part;
  }
  return result;
}

size_t ToBackslashes(std::wstring& text) {
  size_t count = 0;
  for (wchar_t& c : text) {
    if (c == L'/') {
      c = L'\\';
      ++count;
    }
  }
  return count;
}

std::wstring GetVolumeRoot(const std::wstring& path) {
  std::wstring rest = HasLongPathPrefix(path) ? path.substr(4) : path;
  if (rest.size() >= 2 && rest[0] == L'\\' && rest[1] == L'\\') {
    size_t server = rest.find(L'\\', 2);
    if (server == std::wstring::npos) return std::wstring();
    size_t share = rest.find(L'\\', server + 1);
    if (share == std::wstring::npos) return std::wstring();
    return rest.substr(0, share + 1);
  }
  return rest.substr(0, 3);
}

}  // namespace cv
