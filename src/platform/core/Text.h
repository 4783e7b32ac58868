// Character classes and small text operations, defined character by character
// so that no locale changes their meaning.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace cv {

// The Unicode White_Space property.
bool IsWhiteSpace(wchar_t c);
bool IsDecimalDigit(wchar_t c);
std::wstring TrimWhiteSpace(const std::wstring& text);
// Case-insensitive for the ASCII letters, exact for everything else.
bool EqualsIgnoreAsciiCase(const std::wstring& a, const std::wstring& b);
bool Contains(const std::wstring& text, const std::wstring& part);
// Pieces between separators; empty pieces are dropped when skipEmpty.
std::vector<std::wstring> SplitText(const std::wstring& text, const std::wstring& separator, bool skipEmpty);
// Each 16-bit little-endian unit becomes one wide character (odd last byte dropped).
std::wstring WideFromUtf16Le(const uint8_t* bytes, size_t size);
// Plain decimal integer; see the configuration's integer convention.
int32_t ParseInteger(const std::wstring& text);
// printf-style formatting into a wide string. Wide strings are "%ls": a bare
// "%s" means a wide string to mingw's library and a narrow one elsewhere.
std::wstring FormatText(const wchar_t* format, ...);
// Fills a text of the program's string table ("%s Setup"): each "%s" takes
// the next argument (nothing once they run out) and "%%" is one percent
// sign; everything else stays as written. The same characters in every build.
std::wstring FillTextTemplate(const std::wstring& pattern, const std::vector<std::wstring>& arguments);

}  // namespace cv
