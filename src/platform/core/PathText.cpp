#include "platform/core/PathText.h"

#include "platform/core/FileNameCase.h"

namespace cv {

const wchar_t kLongPathPrefix[] = L"\\\\?\\";
const wchar_t kLongUncPathPrefix[] = L"\\\\?\\UNC\\";

namespace {

constexpr size_t kLongPathThreshold = 248;

struct CanonicalText {
  std::wstring text;
  size_t rootLength;  // of "C:" or "\\server\share"
};

bool IsAsciiLetter(wchar_t c) { return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z'); }

// The next backslash-separated piece of text from pos; pos moves past it.
std::wstring NextPiece(const std::wstring& text, size_t& pos) {
  size_t end = text.find(L'\\', pos);
  if (end == std::wstring::npos) end = text.size();
  std::wstring piece = text.substr(pos, end - pos);
  pos = end < text.size() ? end + 1 : end;
  return piece;
}

std::optional<CanonicalText> Canonicalize(const std::wstring& path) {
  std::wstring text = FromLongPath(path);
  ToBackslashes(text);

  CanonicalText result;
  size_t pos = 0;
  if (text.size() >= 2 && IsAsciiLetter(text[0]) && text[1] == L':') {
    // "C:name" is relative to the drive's current folder.
    if (text.size() > 2 && text[2] != L'\\') return std::nullopt;
    result.text = text.substr(0, 2);
    pos = 2;
  } else if (StartsWith(text, L"\\\\")) {
    pos = 2;
    std::wstring server = NextPiece(text, pos);
    std::wstring share = NextPiece(text, pos);
    // "\\?\" and "\\.\" name devices, not servers.
    if (server.empty() || server == L"?" || server == L"." || share.empty() || share == L"." || share == L"..")
      return std::nullopt;
    result.text = L"\\\\" + server + L"\\" + share;
  } else {
    return std::nullopt;
  }
  result.rootLength = result.text.size();

  while (pos < text.size()) {
    std::wstring piece = NextPiece(text, pos);
    if (piece.empty() || piece == L".") continue;
    if (piece == L"..") {
      if (result.text.size() == result.rootLength) return std::nullopt;
      result.text.erase(result.text.rfind(L'\\'));
      continue;
    }
    result.text += L'\\';
    result.text += piece;
  }
  return result;
}

// Win32 trims trailing dots and blanks from components, and not always the
// same way (".. " may or may not climb): such a path has no reliable place.
bool HasTrimmableComponent(const CanonicalText& path) {
  for (size_t end = path.text.size(); end > path.rootLength;) {
    size_t slash = path.text.rfind(L'\\', end - 1);
    wchar_t last = path.text[end - 1];
    if (last == L'.' || last == L' ') return true;
    end = slash;
  }
  return false;
}

// "[TempFolder]": a folder reference whose value ends with a backslash.
bool IsFolderReference(const std::wstring& text) {
  return text.size() >= 3 && text.front() == L'[' && text.back() == L']' &&
         text.find_first_of(L"[]", 1) == text.size() - 1;
}

}  // namespace

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
  if (path.size() < kLongPathThreshold || HasLongPathPrefix(path)) return path;
  std::optional<CanonicalText> canonical = Canonicalize(path);
  if (!canonical) return path;
  std::wstring& text = canonical->text;
  if (text.size() == canonical->rootLength || path.back() == L'\\' || path.back() == L'/') text += L'\\';
  return IsUncPath(text) ? kLongUncPathPrefix + text.substr(2) : kLongPathPrefix + text;
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
  std::vector<std::wstring> parts = SplitPath(path);
  bool joinFirst = IsFolderReference(parts[0]);
  std::wstring result;
  for (size_t i = 0; i < parts.size(); ++i) {
    std::wstring& part = parts[i];
    if (!result.empty() && !(i == 1 && joinFirst)) result = EnsureTrailingBackslash(std::move(result));
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

std::optional<std::wstring> CanonicalPath(const std::wstring& path) {
  std::optional<CanonicalText> canonical = Canonicalize(path);
  if (!canonical) return std::nullopt;
  return std::move(canonical->text);
}

bool IsPathUnder(const std::wstring& path, const std::wstring& root) {
  std::optional<CanonicalText> below = Canonicalize(path);
  std::optional<CanonicalText> above = Canonicalize(root);
  if (!below || !above || HasTrimmableComponent(*below) || HasTrimmableComponent(*above)) return false;
  const std::wstring& p = below->text;
  const std::wstring& r = above->text;
  return p.size() > r.size() && p[r.size()] == L'\\' && FileNamesEqual(std::wstring_view(p).substr(0, r.size()), r);
}

bool IsBelowVolumeRoot(const std::wstring& path) {
  std::optional<CanonicalText> canonical = Canonicalize(path);
  return canonical && canonical->text.size() > canonical->rootLength;
}

}  // namespace cv
