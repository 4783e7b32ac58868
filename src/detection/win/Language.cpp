#include "detection/win/Language.h"

#include "detection/LanguageCondition.h"
#include "platform/core/win/Logger.h"

namespace cv {

namespace {

class SystemLanguageSource : public ILanguageSource {
 public:
  uint16_t SystemDefaultLanguage() override { return GetSystemDefaultLangID(); }
  void ReportSystemLanguage(uint16_t language) override {
    if (LoggingEnabled()) WriteLine(L"SystemDefault LangID=" + LanguageDescription(language));
  }
};

}  // namespace

bool LanguageAllowed(const std::wstring& languageList) {
  SystemLanguageSource source;
  return LanguageAllowed(languageList, source);
}

std::wstring LanguageDescription(LANGID language) {
  const LCID locale = MAKELCID(language, SORT_DEFAULT);
  std::wstring name;
  int length = GetLocaleInfoW(locale, LOCALE_SLANGUAGE, nullptr, 0);
  if (length > 0) {
    name.resize(static_cast<size_t>(length));
    length = GetLocaleInfoW(locale, LOCALE_SLANGUAGE, name.data(), length);
    name.resize(length > 0 ? static_cast<size_t>(length) - 1 : 0);  // the count includes the null
  }
  return FormatLanguageDescription(language, name);
}

}  // namespace cv
