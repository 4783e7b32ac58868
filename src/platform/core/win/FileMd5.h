#pragma once
#include <string>

namespace cv {

// The MD5 of a file as 32 lowercase hex characters in digestText (33 chars
// of room). False, with an empty text, for a missing, locked or empty file.
bool ComputeFileMd5(const std::wstring& path, char* digestText);

}  // namespace cv
