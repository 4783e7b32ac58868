#include "platform/core/Text.h"

#include <cstdarg>
#include <cwchar>

namespace cv {

bool IsWhiteSpace(wchar_t c) {
  switch (static_cast<uint32_t>(c)) {
    case 0x0009: case 0x000A: case 0x000B: case 0x000C: case 0x000D:
    case 0x0020: case 0x0085: case 0x00A0: case 0x1680:
    case 0x2000: case 0x2001: case 0x2002: case 0x2003: case 0x2004: case 0x2005:
    case 0x2006: case 0x2007: case 0x2008: case 0x2009: case 0x200A:
    case 0x2028: case 0x2029: case 0x202F: case 0x205F: case 0x3000:
      return true;
    default:
      return false;
  }
}

bool IsDecimalDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

std::wstring TrimWhiteSpace(const std::wstring& text) {
  size_t begin = 0, end = text.size();
  while (begin < end && IsWhiteSpace(text[begin])) ++begin;
  while (end > begin && IsWhiteSpace(text[end - 1])) --end;
  return text.substr(begin, end - begin);
}

static wchar_t AsciiLower(wchar_t c) { return (c >= L'A' && c <= L'Z') ? c + (L'a' - L'A') : c; }

bool EqualsIgnoreAsciiCase(const std::wstring& a, const std::wstring& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
  return true;
}

bool Contains(const std::wstring& text, const std::wstring& part) { return text.find(part) != std::wstring::npos; }

std::vector<std::wstring> SplitText(const std::wstring& text, const std::wstring& separator, bool skipEmpty) {
  std::vector<std::wstring> pieces;
  size_t start = 0;
  for (;;) {
    size_t at = separator.empty() ? std::wstring::npos : text.find(separator, start);
    std::wstring piece = text.substr(start, at == std::wstring::npos ? std::wstring::npos : at - start);
    if (!(skipEmpty && piece.empty())) pieces.push_back(std::move(piece));
    if (at == std::wstring::npos) break;
    start = at + separator.size();
  }
  return pieces;
}

std::wstring WideFromUtf16Le(const uint8_t* bytes, size_t size) {
  std::wstring text(size / 2, L'\0');
  for (size_t i = 0; i < text.size(); ++i)
    text[i] = static_cast<wchar_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8));
  return text;
}

int32_t ParseInteger(const std::wstring& text) {
  size_t i = 0;
  while (i < text.size() && text[i] == L' ') ++i;
  bool negative = false;
  if (i < text.size() && text[i] == L'-') {
    negative = true;
    ++i;
  }
  if (i < text.size() && text[i] == L'+') ++i;
  uint32_t value = 0;  // wraps as 32-bit arithmetic does
  for (; i < text.size() && IsDecimalDigit(text[i]); ++i) value = value * 10u + static_cast<uint32_t>(text[i] - L'0');
  if (negative) value = 0u - value;
  return static_cast<int32_t>(value);
}

std::wstring FormatText(const wchar_t* format, ...) {
  std::wstring out(128, L'\0');
  for (;;) {
    va_list args;
    va_start(args, format);
    int n = vswprintf(out.data(), out.size(), format, args);
    va_end(args);
    if (n >= 0 && static_cast<size_t>(n) < out.size()) {
      out.resize(static_cast<size_t>(n));
      return out;
    }
    out.resize(out.size() * 2);  // vswprintf reports only failure, not the size it needs
    if (out.size() > (1u << 26)) return std::wstring();
  }
}

std::wstring FillTextTemplate(const std::wstring& pattern, const std::vector<std::wstring>& arguments) {
  std::wstring out;
  out.reserve(pattern.size());
  auto next = arguments.begin();
  for (size_t i = 0; i < pattern.size(); ++i) {
    if (pattern[i] == L'%' && i + 1 < pattern.size() && (pattern[i + 1] == L's' || pattern[i + 1] == L'%')) {
      if (pattern[++i] == L'%') {
        out.push_back(L'%');
      } else if (next != arguments.end()) {
        out += *next++;
      }
    } else {
      out.push_back(pattern[i]);
    }
  }
  return out;
}

}  // namespace cv
