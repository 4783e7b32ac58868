#include "detection/LanguageCondition.h"

#include "platform/core/Text.h"

namespace cv {

bool LanguageAllowed(const std::wstring& languageList, ILanguageSource& source) {
  if (languageList.empty()) return true;
  const uint16_t language = source.SystemDefaultLanguage();
  source.ReportSystemLanguage(language);
  size_t start = 0;
  for (size_t end = languageList.find(L';'); end != std::wstring::npos; end = languageList.find(L';', start)) {
    const auto entry = static_cast<uint16_t>(ParseInteger(languageList.substr(start, end - start)));
    if (entry == language) return true;
    start = end + 1;
  }
  return false;
}

std::wstring FormatLanguageDescription(uint16_t language, const std::wstring& name) {
  return std::to_wstring(language) + L"-" + name;
}

}  // namespace cv
