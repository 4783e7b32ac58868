// The logger is process-wide: this is the only test in the suite that opens it.
// Logging is not switched on, so no footer is added at the suite's exit.
#include "platform/core/win/Logger.h"

#include <gtest/gtest.h>

#include <regex>
#include <thread>

#include "platform/core/Text.h"
#include "support/WinTestSupport.h"

using namespace cv;

TEST(Logger, LinesOfSeveralThreadsStayWholeAndTheFileDoesNotMove) {
  // The open file cannot be deleted before the suite ends; it stays in the temporary folder.
  std::wstring path = GetTempFolder() + L"cvtest-logger-" + std::to_wstring(GetCurrentProcessId()) + L".log";
  std::wstring other = path + L".other";
  DeleteFileW(path.c_str());
  SetLogOsLineSource([] { return std::wstring(L"OS Version: 6.1.7601 SP1 (workstation) [x64]"); });
  SetLogFile(path);

  const std::wstring a(300, L'a'), b(300, L'b');
  constexpr int kLines = 100;
  std::thread first([&] {
    for (int i = 0; i < kLines; ++i) WriteLine(a);
  });
  std::thread second([&] {
    for (int i = 0; i < kLines; ++i) WriteLine(b + L"\r\n");  // leaves an empty line after it
  });
  first.join();
  second.join();
  SetLogFile(other);
  WriteLine(L"last");

  EXPECT_EQ(GetFileAttributesW(other.c_str()), INVALID_FILE_ATTRIBUTES);
  std::string bytes = cvtest::ReadBytes(path);
  ASSERT_GE(bytes.size(), 2u);
  EXPECT_EQ(bytes.substr(0, 2), "\xFF\xFE");
  std::wstring text = WideFromUtf16Le(reinterpret_cast<const uint8_t*>(bytes.data()) + 2, bytes.size() - 2);

  std::wsmatch header;
  ASSERT_TRUE(std::regex_search(text, header,
                                std::wregex(L"^\r\n<< Corvane \\(x86\\) Log >>\r\n"
                                            L"OS Version: 6\\.1\\.7601 SP1 \\(workstation\\) \\[x64\\]\r\n"
                                            L"CPU: [^\r\n]*\r\n\r\n")));
  std::wstring body = header.suffix();
  int as = 0, bs = 0, lasts = 0;
  for (const std::wstring& line : SplitText(body, L"\r\n", false)) {
    if (line.empty()) continue;
    std::wsmatch m;
    ASSERT_TRUE(std::regex_match(line, m, std::wregex(L"\\d{4}-\\d\\d-\\d\\d \\d\\d-\\d\\d-\\d\\d-(.*)")))
        << "a line was torn: " << std::string(line.begin(), line.end()).substr(0, 80);
    std::wstring message = m[1];
    as += message == a;
    bs += message == b;
    lasts += message == L"last";
  }
  EXPECT_EQ(as, kLines);
  EXPECT_EQ(bs, kLines);
  EXPECT_EQ(lasts, 1);
  EXPECT_EQ(text.substr(text.size() - 6), L"last\r\n");
  // Each b message brought its own line end: an empty line follows it.
  EXPECT_EQ(static_cast<int>(SplitText(body, b + L"\r\n\r\n", false).size()) - 1, kLines);
}
