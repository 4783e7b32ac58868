#include "platform/core/LogFormat.h"

#include <gtest/gtest.h>

using namespace cv;

TEST(LogFormat, TimestampUsesDashesBetweenTimeFields) {
  EXPECT_EQ(FormatLogTimestamp({2024, 3, 7, 14, 5, 9}), L"2024-03-07 14-05-09");
  EXPECT_EQ(FormatLogTimestamp({999, 12, 31, 0, 0, 0}), L"0999-12-31 00-00-00");
}

TEST(LogFormat, HeaderBlockStartsWithAnEmptyLineAndEndsWithOne) {
  EXPECT_EQ(LogHeaderBlock(L"OS Version: 6.1.7601 SP1 (workstation) [x64]", L" Intel(R) Core"),
            L"\r\n<< Corvane (x86) Log >>\r\nOS Version: 6.1.7601 SP1 (workstation) [x64]\r\n"
            L"CPU:  Intel(R) Core\r\n\r\n")
      << "leading blanks of the brand stay";
}

TEST(LogFormat, MessageLineKeepsItsTextUnchanged) {
  EXPECT_EQ(LogLine({2024, 3, 7, 14, 5, 9}, L"Searching for:x"), L"2024-03-07 14-05-09-Searching for:x\r\n");
  EXPECT_EQ(LogLine({2024, 3, 7, 14, 5, 9}, L"end\r\n"), L"2024-03-07 14-05-09-end\r\n\r\n");
  EXPECT_EQ(LogLine({2024, 3, 7, 14, 5, 9}, std::wstring(L"a\0b%s", 5)), std::wstring(L"2024-03-07 14-05-09-a\0b%s\r\n", 27));
}

TEST(LogFormat, CpuBrandFromExtendedFunctions) {
  // "GenuineBrand CPU @ 1GHz" packed little-endian into the registers, then zeros.
  const char text[48] = "GenuineBrand CPU @ 1GHz";
  uint32_t registers[12] = {};
  for (size_t i = 0; i < 48; ++i) registers[i / 4] |= static_cast<uint32_t>(static_cast<uint8_t>(text[i])) << (8 * (i % 4));
  EXPECT_EQ(CpuBrandFromCpuid(0x80000008u, registers), std::string("GenuineBrand CPU @ 1GHz"));
  EXPECT_EQ(CpuBrandFromCpuid(0x80000003u, registers), std::nullopt);

  uint32_t full[12];
  for (uint32_t& r : full) r = 0x41414141;  // no terminating zero: all 48 bytes
  EXPECT_EQ(CpuBrandFromCpuid(0x80000004u, full), std::string(48, 'A'));
}

TEST(LogFormat, LogFileNameReplacesTheExtension) {
  const struct {
    const wchar_t* program;
    const wchar_t* log;
  } cases[] = {
      {L"cvpackagechainer.exe", L"cvpackagechainer.LOG"},
      {L"setup.ver2.exe", L"setup.ver2.LOG"},
      {L"setup", L"setup.LOG"},
      {L"setup.", L"setup.LOG"},
      {L"C:\\pkg\\setup.exe", L"C:\\pkg\\setup.LOG"},
      {L"C:\\pkg.v1\\setup", L"C:\\pkg.v1\\setup.LOG"},
  };
  for (const auto& c : cases) EXPECT_EQ(LogFileNameFor(c.program), c.log) << c.program;
}
