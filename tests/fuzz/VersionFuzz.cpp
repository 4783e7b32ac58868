// Arbitrary bytes, read as UTF-16LE texts separated by "|", through the version
// parser, formatter and range test; checks that a parsed version survives its
// short form.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "detection/VersionNumber.h"
#include "platform/core/Text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<std::wstring> texts = cv::SplitText(cv::WideFromUtf16Le(data, size), L"|", false);
  for (const std::wstring& text : texts) {
    cv::VersionNumber version;
    const bool ok = cv::ParseVersion(text, version);
    if (!ok && !version.IsUnset()) abort();
    if (version.major < 0 || version.minor < 0 || version.build < 0 || version.revision < 0) abort();
    const bool has65535 =
        version.major == 65535 || version.minor == 65535 || version.build == 65535 || version.revision == 65535;
    if (ok && !has65535) {
      cv::VersionNumber again;
      if (!cv::ParseVersion(cv::FormatVersion(version), again) || again != version) abort();
    }
  }
  const std::wstring min = texts.size() > 1 ? texts[0] : std::wstring();
  const std::wstring max = texts.size() > 2 ? texts[1] : std::wstring();
  cv::VersionInRange(texts, min, max);
  return 0;
}
