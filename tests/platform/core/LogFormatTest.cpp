#include "platform/core/LogFormat.h"

#include <gtest/gtest.h>

using namespace cv;

TEST(LogFormat, TimestampUsesDashesBetweenTimeFields) {
  EXPECT_EQ(FormatLogTimestamp({2024, 3, 7, 14, 5, 9}), L"2024-03-07 14-05-09");
  EXPECT_EQ(FormatLogTimestamp({999, 12, 31, 0, 0, 0}), L"0999-12-31 00-00-00");
}

TEST(LogFormat, OsLineNamesProductTypeAndWindowsBitness) {
  OsInfo xp{5, 1, 2600, 3, false, false};
  EXPECT_EQ(FormatOsLine(xp), L"OS Version: 5.1.2600 SP3 (workstation) [x86]");
  OsInfo server{10, 0, 4294967295u, 0, true, true};
  EXPECT_EQ(FormatOsLine(server), L"OS Version: 10.0.4294967295 SP0 (server) [x64]");
}

TEST(LogFormat, HeaderBlockStartsWithAnEmptyLineAndEndsWithOne) {
  auto pieces = LogHeaderPieces(OsInfo{6, 1, 7601, 1, false, true}, L" Intel(R) Core");
  ASSERT_EQ(pieces.size(), 4u);
  EXPECT_EQ(pieces[0], L"\r\n<< Corvane (x86) Log >>\r\n");
  EXPECT_EQ(pieces[1], L"OS Version: 6.1.7601 SP1 (workstation) [x64]\r\n");
  EXPECT_EQ(pieces[2], L"CPU:  Intel(R) Core\r\n") << "leading blanks of the brand stay";
  EXPECT_EQ(pieces[3], L"\r\n");
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
