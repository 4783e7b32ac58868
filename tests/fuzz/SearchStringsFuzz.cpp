// Arbitrary bytes, read as UTF-16LE texts separated by "|", through the
// splitters of search strings and the registry text comparisons; checks the
// pieces fit back into the text they came from.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "detection/SearchStrings.h"
#include "platform/core/Text.h"

namespace {

void Check(bool condition) {
  if (!condition) abort();
}

bool IsPartOf(const std::wstring& text, const std::wstring& part) { return text.find(part) != std::wstring::npos; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<std::wstring> texts = cv::SplitText(cv::WideFromUtf16Le(data, size), L"|", false);
  for (const std::wstring& text : texts) {
    cv::RegistrySearchPath key = cv::SplitRegistryKeySearch(text);
    cv::RegistrySearchPath value = cv::SplitRegistryValueSearch(text);
    Check(key.root == value.root);
    Check(IsPartOf(text, key.key) && IsPartOf(text, value.key) && IsPartOf(text, value.value));
    if (key.root != cv::RegistryRoot::None) Check(value.key.size() + value.value.size() <= key.key.size());

    cv::FileSearchString file = cv::SplitFileSearchString(text);
    Check(file.path + file.suffix == text);
    cv::FileSearchTarget target = cv::SplitSearchDepth(text);
    Check(target.path == file.path && target.depth >= 0);

    cv::AppxSearch appx = cv::SplitAppxSearch(text);
    for (const std::wstring* part : {&appx.name, &appx.architecture, &appx.publisher}) {
      Check(part->find(L'?') == std::wstring::npos && IsPartOf(text, *part));
      Check(cv::TrimWhiteSpace(*part) == *part);
    }

    // Equal texts: M holds, D does not; every text contains itself.
    Check(cv::CompareRegistryText(text, L"M" + text) && !cv::CompareRegistryText(text, L"D" + text));
    Check(cv::CompareRegistryText(text, L"C" + text) && cv::CompareRegistryText(text, L"S" + text));
    Check(!cv::CompareRegistryText(text, L"G" + text) && !cv::CompareRegistryText(text, L"L" + text));
  }
  if (texts.size() >= 2) {
    // Greater and less are exclusive.
    const std::wstring& a = texts[0];
    const std::wstring& b = texts[1];
    Check(!(cv::CompareRegistryText(a, L"G" + b) && cv::CompareRegistryText(a, L"L" + b)));
    Check(cv::CompareRegistryText(a, L"G" + b) == cv::CompareRegistryText(b, L"L" + a));
    Check(cv::CompareRegistryText(a, L"C" + b) != cv::CompareRegistryText(a, L"X" + b) || b.empty());
  }
  return 0;
}
