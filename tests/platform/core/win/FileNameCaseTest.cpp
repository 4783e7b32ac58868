// The portable upper-case fold against the one Windows uses for file names.
#include "platform/core/FileNameCase.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "platform/core/win/Handles.h"

namespace {

using UpcaseFunction = WCHAR(WINAPI*)(WCHAR);

bool InCommonScripts(unsigned c) {
  const unsigned blocks[][2] = {{0x0000, 0x02AF}, {0x0370, 0x03FF}, {0x0400, 0x04FF}, {0x0530, 0x058F},
                                {0x1E00, 0x1EFF}, {0x1F00, 0x1FFF}, {0xFF00, 0xFF5F}};
  for (const auto& block : blocks)
    if (c >= block[0] && c <= block[1]) return true;
  return false;
}

}  // namespace

TEST(FileNameCase, NeverJoinsWhatWindowsKeepsApartAndCoversTheCommonScripts) {
  auto upcase = cv::FindFunction<UpcaseFunction>(GetModuleHandleW(L"ntdll.dll"), "RtlUpcaseUnicodeChar");
  ASSERT_NE(upcase, nullptr);
  int missed = 0;
  for (unsigned c = 0; c <= 0xFFFF; ++c) {
    wchar_t unit = static_cast<wchar_t>(c);
    wchar_t ours = cv::FileNameUpcase(unit);
    wchar_t windows = upcase(unit);
    // Ours may leave a letter alone; it must never map it elsewhere than Windows does.
    if (ours != unit) {
      ASSERT_EQ(ours, windows) << std::hex << c;
      WCHAR pair[2] = {unit, ours};
      EXPECT_EQ(CompareStringOrdinal(&pair[0], 1, &pair[1], 1, TRUE), CSTR_EQUAL) << std::hex << c;
    }
    if (ours != windows && InCommonScripts(c) && InCommonScripts(windows)) ++missed;
  }
  EXPECT_EQ(missed, 0);
  EXPECT_TRUE(cv::FileNamesEqual(L"C:\\\u00C4pfel\\\u0416", L"c:\\\u00E4PFEL\\\u0436"));
  EXPECT_FALSE(cv::FileNamesEqual(L"\u0131", L"i"));
}
