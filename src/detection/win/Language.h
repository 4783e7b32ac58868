// The language condition against the system's default language.
#pragma once
#include <windows.h>

#include <string>

namespace cv {

// Logs "SystemDefault LangID=" with the language when the list is not empty.
bool LanguageAllowed(const std::wstring& languageList);
// "1033-" and the system's name of the language; the name is empty when the
// system does not know it.
std::wstring LanguageDescription(LANGID language);

}  // namespace cv
