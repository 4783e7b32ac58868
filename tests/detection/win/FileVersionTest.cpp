#include "detection/win/FileVersion.h"

#include <gtest/gtest.h>

#include <set>

#include "detection/win/WindowsVersion.h"
#include "platform/core/Text.h"
#include "support/WinTestSupport.h"

using namespace cv;
using cvtest::BuiltProgram;

TEST(FileVersion, VersionAndProductNameFromRealResources) {
  struct {
    const wchar_t* helper;
    const wchar_t* version;
    bool hasName;
    const wchar_t* name;
  } cases[] = {
      {L"version_product.exe", L"1.2.3.4", true, L"Version Product Helper"},
      // Without a Translation value the 1033/1250 block is read, never another.
      {L"version_default_codepage.exe", L"65535.0.40000.1", true, L"Default Code Page Helper"},
      // The listed translation's name is empty; other blocks are not tried.
      {L"version_empty_product.exe", L"3.0.0.0", false, L""},
      {L"version_none.exe", L"0.0.0.0", false, L""},
  };
  for (const auto& c : cases) {
    const std::wstring path = BuiltProgram(c.helper);
    EXPECT_EQ(FileVersionText(path), c.version) << c.helper;
    std::wstring name = L"stale";
    EXPECT_EQ(ReadProductName(path, name), c.hasName) << c.helper;
    if (c.hasName) {
      EXPECT_EQ(name, c.name) << c.helper;
    }
  }
}

TEST(FileVersion, ReadFileVersionGivesBothWordsOrTheError) {
  DWORD most = 0, least = 0;
  ASSERT_EQ(ReadFileVersion(BuiltProgram(L"version_product.exe"), most, least), 0u);
  EXPECT_EQ(most, 0x00010002u);
  EXPECT_EQ(least, 0x00030004u);

  for (const wchar_t* helper : {L"version_none.exe", L"no-such-file.exe"}) {
    most = least = 0xDEADBEEF;
    EXPECT_NE(ReadFileVersion(BuiltProgram(helper), most, least), 0u) << helper;
    EXPECT_EQ(most, 0xDEADBEEFu) << helper;
    EXPECT_EQ(least, 0xDEADBEEFu) << helper;
  }
}

namespace {

// Records the names of files created and deleted in a folder meanwhile.
class FolderWatch {
 public:
  explicit FolderWatch(const std::wstring& folder)
      : folder_(CreateFileW(folder.c_str(), FILE_LIST_DIRECTORY, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                            nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OVERLAPPED, nullptr)),
        event_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {
    Arm();
  }
  ~FolderWatch() {
    if (armed_) {
      CancelIo(folder_.get());
      DWORD ignored = 0;
      GetOverlappedResult(folder_.get(), &overlapped_, &ignored, TRUE);
    }
  }
  bool Ok() const { return armed_; }

  // Collects notifications until the deletion of a created file is seen or
  // the time is up.
  void CollectUntilCreatedFileDeleted(DWORD timeoutMs) {
    const ULONGLONG end = GetTickCount64() + timeoutMs;
    while (armed_) {
      bool done = false;
      for (const auto& name : added) done = done || removed.count(name);
      if (done) return;
      const ULONGLONG now = GetTickCount64();
      if (now >= end || WaitForSingleObject(event_.get(), static_cast<DWORD>(end - now)) != WAIT_OBJECT_0) return;
      DWORD bytes = 0;
      armed_ = false;
      if (!GetOverlappedResult(folder_.get(), &overlapped_, &bytes, FALSE)) return;
      for (DWORD offset = 0; bytes > 0;) {
        auto* info = reinterpret_cast<FILE_NOTIFY_INFORMATION*>(buffer_ + offset);
        std::wstring name(info->FileName, info->FileNameLength / sizeof(wchar_t));
        if (info->Action == FILE_ACTION_ADDED || info->Action == FILE_ACTION_RENAMED_NEW_NAME) added.insert(name);
        if (info->Action == FILE_ACTION_REMOVED || info->Action == FILE_ACTION_RENAMED_OLD_NAME) removed.insert(name);
        if (info->NextEntryOffset == 0) break;
        offset += info->NextEntryOffset;
      }
      Arm();
    }
  }

  std::set<std::wstring> added, removed;

 private:
  void Arm() {
    if (!folder_ || !event_) return;
    ResetEvent(event_.get());
    overlapped_ = OVERLAPPED{};
    overlapped_.hEvent = event_.get();
    armed_ = ReadDirectoryChangesW(folder_.get(), buffer_, sizeof(buffer_), FALSE, FILE_NOTIFY_CHANGE_FILE_NAME,
                                   nullptr, &overlapped_, nullptr) != FALSE;
  }

  UniqueFile folder_;
  UniqueHandle event_;
  OVERLAPPED overlapped_{};
  alignas(DWORD) BYTE buffer_[65536];
  bool armed_ = false;
};

bool IsShimCloneName(const std::wstring& name) {
  // GetTempFileNameW keeps the first three characters of the prefix.
  return name.size() > 3 && name.compare(0, 3, L"shi") == 0;
}

}  // namespace

TEST(FileVersion, FilesUnderTheWindowsFolderAreReadThroughATemporaryCopy) {
  // This program's folder stands in for the Windows folder.
  const std::wstring helper = BuiltProgram(L"version_product.exe");
  const std::wstring folder = cvtest::FolderOfThisProgram();
  std::wstring upper = helper;
  for (auto& c : upper) c = (c >= L'a' && c <= L'z') ? c - (L'a' - L'A') : c;
  ASSERT_NE(upper, helper);
  struct {
    std::wstring path;
    FileVersionFacts facts;
    bool throughCopy;
  } cases[] = {
      {helper, {true, folder, false}, true},
      {helper, {true, folder, true}, true},  // with WOW64 redirection switched off around the copy
      {upper, {true, folder, false}, false},  // the folder is compared case-sensitively
      {helper, {false, folder, false}, false},
      {helper, {true, L"C:\\nowhere", false}, false},
      {helper, {true, L"", false}, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.path << " under " << c.facts.windowsFolder << ", windows 10 "
                                      << c.facts.windows10OrLater << ", wow64 " << c.facts.wow64);
    FolderWatch watch(cv::GetTempFolder());
    ASSERT_TRUE(watch.Ok());
    DWORD most = 0, least = 0;
    EXPECT_EQ(ReadFileVersion(c.path, most, least, c.facts), 0u);
    EXPECT_EQ(most, 0x00010002u);
    EXPECT_EQ(least, 0x00030004u);
    watch.CollectUntilCreatedFileDeleted(c.throughCopy ? 5000 : 300);
    std::set<std::wstring> clones;
    for (const auto& added : watch.added)
      if (IsShimCloneName(added)) clones.insert(added);
    if (c.throughCopy) {
      ASSERT_EQ(clones.size(), 1u);
      EXPECT_EQ(watch.removed.count(*clones.begin()), 1u) << "the copy is deleted again";
      EXPECT_FALSE(PathExists(cv::GetTempFolder() + *clones.begin()));
    } else {
      EXPECT_TRUE(clones.empty());
    }
  }
}

TEST(FileVersion, RunningSystemFactsNameTheWindowsFolder) {
  const FileVersionFacts facts = RunningSystemFileVersionFacts();
  EXPECT_EQ(facts.windows10OrLater, IsWindowsVersionOrLater(10, 0, 0, 0));
  EXPECT_EQ(facts.wow64, GetOsInfo().isWow64);
  wchar_t windows[MAX_PATH] = {};
  ASSERT_GT(GetWindowsDirectoryW(windows, MAX_PATH), 0u);
  EXPECT_TRUE(EqualsIgnoreAsciiCase(facts.windowsFolder, windows)) << facts.windowsFolder;
}
