#include "cleanup/CleanupPlan.h"

#include <gtest/gtest.h>

#include <map>

using cv::CleanupPlan;
using V = std::vector<std::wstring>;

TEST(CleanupPlan, PathsAreUniqueByExactText) {
  CleanupPlan plan;
  plan.AddPath(L"C:\\a");
  plan.AddPath(L"C:\\a");
  plan.AddPath(L"C:\\A");
  EXPECT_EQ(plan.Paths(), (V{L"C:\\a", L"C:\\A"}));
}

TEST(CleanupPlan, OnlyWhatHoldsNothingElseIsLeftToTheScript) {
  struct Entry {
    bool folder;
    std::optional<size_t> entries;  // nothing: cannot be listed
    bool kept;
  };
  const std::map<std::wstring, Entry> machine = {
      {L"C:\\pkg\\clean.ps1", {false, std::nullopt, true}},
      {L"C:\\pkg\\bin\\setup.exe", {false, std::nullopt, true}},
      {L"C:\\pkg\\gone.txt", {false, std::nullopt, true}},  // neither file nor folder any more
      {L"C:\\pkg\\bin", {true, 1, true}},                    // just the program, which goes first
      {L"C:\\pkg\\empty", {true, 0, true}},
      {L"C:\\pkg", {true, 2, false}},                        // holds other things
      {L"C:\\locked", {true, std::nullopt, false}},          // what it holds cannot be seen
      {L"C:", {true, 1, false}},                             // a drive never goes
      {L"D:\\", {true, 0, false}},
      {L"\\\\srv\\share", {true, 0, false}},
      {L"\\\\srv\\share\\pkg", {true, 1, true}},
      {L"C:\\pkg\\..\\..", {true, 0, false}},
      {L"clean.ps1", {false, std::nullopt, false}},          // relative: no fixed place
  };
  CleanupPlan plan;
  V expected;
  for (const auto& [path, entry] : machine) {
    plan.AddPath(path);
    if (entry.kept) expected.push_back(path);
  }
  V counted;
  plan.DropPathsStillInUse({[&](const std::wstring& p) { return machine.at(p).folder; },
                            [&](const std::wstring& p) {
                              counted.push_back(p);
                              return machine.at(p).entries;
                            }});
  EXPECT_EQ(plan.Paths(), expected);
  for (const std::wstring& path : counted) EXPECT_TRUE(machine.at(path).folder) << "files are never listed";
}
