// Arbitrary configuration text through the whole loader.
#include <cstddef>
#include <cstdint>

#include "chainer/CleanupSettings.h"
#include "chainer/PackageConfiguration.h"
#include "platform/core/Text.h"

namespace {
class Environment : public cv::IConfigurationEnvironment {
 public:
  std::wstring ExpandReferences(const std::wstring& text) const override { return text; }
  std::wstring TempFolder() const override { return L"C:\\Temp\\"; }
  std::wstring LoadText(unsigned) const override { return L"text"; }
};
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  cv::IniDocument doc;
  doc.Parse(cv::WideFromUtf16Le(data, size));
  Environment environment;
  cv::PackageConfiguration configuration(environment);
  cv::LoadPrerequisites(doc, configuration);
  configuration.GetDownloadFolder();
  configuration.ResolveExtractionFolder();
  cv::CleanupSettings settings;
  cv::CleanupPlan plan;
  cv::LoadCleanupSettings(doc, L"C:\\pkg\\bin\\setup.exe", L"C:\\pkg\\bin\\setup.ini",
                          [](const std::wstring& p) { return p.size() % 2 == 0; }, settings, plan);
  return 0;
}
