// Arbitrary bytes, read as the UTF-16LE configuration text, through the parser.
#include <cstddef>
#include <cstdint>

#include "chainer/IniDocument.h"
#include "platform/core/Text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  cv::IniDocument doc;
  doc.Parse(cv::WideFromUtf16Le(data, size));
  std::vector<std::wstring> names;
  doc.GetSectionNames(names);
  std::wstring value;
  for (const auto& name : names) doc.GetValue(name, L"Options", value);
  return 0;
}
