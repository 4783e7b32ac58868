// Letter case in file names as Windows compares them: one code unit upper-cased
// at a time, by the system's upper-case table, without locale.
#pragma once
#include <string_view>

namespace cv {

// The upper-case form Windows gives c, for Latin, Greek, Cyrillic, Armenian
// and full-width Latin letters. Other letters stay as they are: treating two
// names as different when Windows takes them as one only keeps us from
// deleting something; the reverse could delete the wrong thing.
wchar_t FileNameUpcase(wchar_t c);
bool FileNamesEqual(std::wstring_view a, std::wstring_view b);

}  // namespace cv
