// The language condition of a prerequisite: its list of language identifiers
// against the system's default language.
#pragma once
#include <cstdint>
#include <string>

namespace cv {

class ILanguageSource {
 public:
  virtual ~ILanguageSource() = default;
  virtual uint16_t SystemDefaultLanguage() = 0;
  // Told the language each time a non-empty list is evaluated, for the log.
  virtual void ReportSystemLanguage(uint16_t language) = 0;
};

// True for an empty list or one that names the system's default language.
// Only entries followed by ";" count.
bool LanguageAllowed(const std::wstring& languageList, ILanguageSource& source);
// "1033-English (United States)": the identifier and the language's name.
std::wstring FormatLanguageDescription(uint16_t language, const std::wstring& name);

}  // namespace cv
