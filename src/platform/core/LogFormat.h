// The text of the log file: header block, time stamps and file names. No I/O.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "detection/OsInfo.h"

namespace cv {

extern const wchar_t kLogBanner[];  // "\r\n<< Corvane (x86) Log >>\r\n"
extern const wchar_t kLogFooter[];  // written as an ordinary message at exit
extern const wchar_t kUnknownCpu[];

struct LogTime {
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
};

// "2024-03-07 14-05-09": the "-" between the time fields is the log's own.
std::wstring FormatLogTimestamp(const LogTime& time);
// "OS Version: 10.0.19045 SP0 (workstation) [x64]", without line end.
std::wstring FormatOsLine(const OsInfo& info);
// The pieces of the header block in the order they are written.
std::vector<std::wstring> LogHeaderPieces(const OsInfo& info, const std::wstring& cpuBrand);

// The brand string of extended CPUID functions 0x80000002..4 (the twelve
// registers EAX, EBX, ECX, EDX of each, in order) up to its first zero;
// nothing when the processor does not offer those functions.
std::optional<std::string> CpuBrandFromCpuid(uint32_t highestExtendedFunction, const uint32_t (&registers)[12]);

// The program's own file name (or full path) with its extension made "LOG":
// setup.exe gives setup.LOG, setup gives setup.LOG. Only the last path
// component counts, so a dot in a folder name is no extension.
std::wstring LogFileNameFor(const std::wstring& programPath);

}  // namespace cv
