#include "platform/core/FolderCreation.h"

#include <gtest/gtest.h>

#include <map>

using namespace cv;

namespace {

using V = std::vector<std::wstring>;
constexpr uint32_t kAccessDenied = 5;
constexpr uint32_t kBadNetworkName = 67;
constexpr uint32_t kPathNotFound = 3;

// A file system whose answers are set per folder; others are created.
struct FakeFolders {
  std::map<std::wstring, FolderCreationResult> answers;
  V attempted;
  V removed;

  uint32_t Create(const std::wstring& path, bool includeLast, V* created) {
    return CreateFolderLevels(
        path, includeLast,
        [this](const std::wstring& folder) {
          attempted.push_back(folder);
          auto it = answers.find(folder);
          return it == answers.end() ? FolderCreationResult{FolderOutcome::Created, 0} : it->second;
        },
        [this](const std::wstring& folder) { removed.push_back(folder); }, created);
  }
};

}  // namespace

TEST(FolderCreation, LevelsOnDrivesAndShares) {
  const FolderCreationResult exists{FolderOutcome::AlreadyThere, 183};
  struct Case {
    const wchar_t* name;
    std::wstring path;
    bool includeLast;
    std::map<std::wstring, FolderCreationResult> answers;
    uint32_t result;
    V created;
    V removed;
  } cases[] = {
      {L"drive, file name left out", L"C:\\a\\b\\file.txt", false, {{L"C:\\a", exists}}, 0, {L"C:\\a\\b"}, {}},
      {L"drive, failure takes back what this call made", L"C:\\a\\b\\c\\d", true,
       {{L"C:\\a", exists}, {L"C:\\a\\b\\c", {FolderOutcome::Failed, kAccessDenied}}}, kAccessDenied, {},
       {L"C:\\a\\b"}},
      {L"share level refuses, deeper levels are made", L"\\\\srv\\share\\a\\b", true,
       {{L"\\\\srv\\share", {FolderOutcome::Failed, kAccessDenied}}}, 0, {L"\\\\srv\\share\\a", L"\\\\srv\\share\\a\\b"},
       {}},
      {L"long-path share level refuses", L"\\\\?\\UNC\\srv\\share\\a", true,
       {{L"\\\\?\\UNC\\srv\\share", {FolderOutcome::Failed, kBadNetworkName}}}, 0, {L"\\\\?\\UNC\\srv\\share\\a"}, {}},
      {L"missing share: the level below reports it", L"\\\\srv\\gone\\a\\b", true,
       {{L"\\\\srv\\gone", {FolderOutcome::Failed, kBadNetworkName}},
        {L"\\\\srv\\gone\\a", {FolderOutcome::Failed, kBadNetworkName}}},
       kBadNetworkName, {}, {}},
      {L"network failures below the share are not undone", L"\\\\srv\\share\\a\\b", true,
       {{L"\\\\srv\\share", exists}, {L"\\\\srv\\share\\a\\b", {FolderOutcome::Failed, kPathNotFound}}}, kPathNotFound,
       {}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << testing::PrintToString(std::wstring(c.name)));
    FakeFolders folders;
    folders.answers = c.answers;
    V created;
    EXPECT_EQ(folders.Create(c.path, c.includeLast, &created), c.result);
    EXPECT_EQ(created, c.created);
    EXPECT_EQ(folders.removed, c.removed);
  }
}

TEST(FolderCreation, EveryLevelIsTriedOnce) {
  FakeFolders folders;
  folders.answers[L"\\\\srv\\share"] = {FolderOutcome::Failed, kAccessDenied};
  EXPECT_EQ(folders.Create(L"\\\\srv\\share\\a\\b", true, nullptr), 0u);
  EXPECT_EQ(folders.attempted, (V{L"\\\\srv\\share", L"\\\\srv\\share\\a", L"\\\\srv\\share\\a\\b"}));
}
