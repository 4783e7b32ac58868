// The text of the log file: header block, time stamps and file names. No I/O.
#pragma once
#include <cstdint>
#include <optional>
#include <string>

namespace cv {

extern const wchar_t kLogBanner[];  // "\r\n<< Corvane (x86) Log >>\r\n"
extern const wchar_t kLogFooter[];  // written as an ordinary message at exit
extern const wchar_t kUnknownCpu[];

struct LogTime {
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
};

// "2024-03-07 14-05-09": the "-" between the time fields is the log's own.
std::wstring FormatLogTimestamp(const LogTime& time);
// The header block that opens each run's part of the file: the banner, the
// machine's line (given without line end), the CPU line and an empty line.
std::wstring LogHeaderBlock(const std::wstring& osLine, const std::wstring& cpuBrand);
// One message line: time stamp, "-", the message unchanged, "\r\n".
std::wstring LogLine(const LogTime& time, const std::wstring& message);

// The brand string of extended CPUID functions 0x80000002..4 (the twelve
// registers EAX, EBX, ECX, EDX of each, in order) up to its first zero;
// nothing when the processor does not offer those functions.
std::optional<std::string> CpuBrandFromCpuid(uint32_t highestExtendedFunction, const uint32_t (&registers)[12]);

// The program's own file name (or full path) with its extension made "LOG":
// setup.exe gives setup.LOG, setup gives setup.LOG. Only the last path
// component counts, so a dot in a folder name is no extension.
std::wstring LogFileNameFor(const std::wstring& programPath);

}  // namespace cv
