// Percent-decoding of URL parts.
#pragma once
#include <string>

namespace cv {

// "%XX" with two hex digits becomes the character with that code; anything
// else stays as it is.
std::wstring PercentDecode(const std::wstring& text);

}  // namespace cv
