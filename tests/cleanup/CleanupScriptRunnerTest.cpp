#include "cleanup/CleanupScriptRunner.h"

#include <gtest/gtest.h>

TEST(CleanupScriptRunner, PathsAreUniqueByExactText) {
  cv::CleanupScriptRunner runner;
  runner.AddPath(L"C:\\a");
  runner.AddPath(L"C:\\a");
  runner.AddPath(L"C:\\A");
  EXPECT_EQ(runner.Paths(), (std::vector<std::wstring>{L"C:\\a", L"C:\\A"}));
  runner.RemovePath(L"C:\\a");
  EXPECT_EQ(runner.Paths(), (std::vector<std::wstring>{L"C:\\A"}));
}
