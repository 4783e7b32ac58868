#include "platform/core/LogFormat.h"

#include <cstring>

#include "platform/core/Text.h"

namespace cv {

const wchar_t kLogBanner[] = L"\r\n<< Corvane (x86) Log >>\r\n";
const wchar_t kLogFooter[] = L"=====================End of Log=====================\r\n";
const wchar_t kUnknownCpu[] = L"UnkownCPU";

std::wstring FormatLogTimestamp(const LogTime& t) {
  return FormatText(L"%04d-%02d-%02d %02d-%02d-%02d", t.year, t.month, t.day, t.hour, t.minute, t.second);
}

std::wstring LogHeaderBlock(const std::wstring& osLine, const std::wstring& cpuBrand) {
  return kLogBanner + osLine + L"\r\nCPU: " + cpuBrand + L"\r\n\r\n";
}

std::wstring LogLine(const LogTime& time, const std::wstring& message) {
  return FormatLogTimestamp(time) + L"-" + message + L"\r\n";
}

std::optional<std::string> CpuBrandFromCpuid(uint32_t highestExtendedFunction, const uint32_t (&registers)[12]) {
  if (highestExtendedFunction < 0x80000004u) return std::nullopt;
  char brand[49] = {};
  for (size_t i = 0; i < 12; ++i)
    for (size_t b = 0; b < 4; ++b) brand[4 * i + b] = static_cast<char>((registers[i] >> (8 * b)) & 0xFF);
  return std::string(brand, strnlen(brand, 48));
}

std::wstring LogFileNameFor(const std::wstring& programPath) {
  size_t slash = programPath.rfind(L'\\');
  size_t nameStart = slash == std::wstring::npos ? 0 : slash + 1;
  size_t dot = programPath.rfind(L'.');
  if (dot == std::wstring::npos || dot < nameStart) return programPath + L".LOG";
  return programPath.substr(0, dot + 1) + L"LOG";
}

}  // namespace cv
