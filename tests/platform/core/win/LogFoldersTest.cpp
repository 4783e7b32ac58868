// The log's fallback folders: the shared folder's access list, and a
// privileged process that must not write through a link planted there.
#include "platform/core/win/LogFolders.h"

#include <gtest/gtest.h>
#include <sddl.h>

#include <vector>

#include "support/WinTestSupport.h"

using namespace cv;
using cvtest::ScratchFolder;

namespace {

class SimulatedAccount final : public IAccountFacts {
 public:
  SimulatedAccount(bool localSystem, bool elevated) : localSystem_(localSystem), elevated_(elevated) {}
  bool IsLocalSystem() const override { return localSystem_; }
  bool IsElevated() const override { return elevated_; }

 private:
  bool localSystem_, elevated_;
};

const struct {
  const char* who;
  SimulatedAccount account;
  bool privileged;
} kAccounts[] = {
    {"ordinary user", {false, false}, false},
    {"elevated administrator", {false, true}, true},
    {"LocalSystem", {true, false}, true},
};

struct RecordedAce {
  BYTE type;
  BYTE flags;
  DWORD mask;
  std::wstring sid;
};
struct {
  std::wstring folder;
  std::vector<RecordedAce> aces;
} gRecorded;

// Stands in for CreateDirectoryW and keeps the access list it was given.
BOOL WINAPI RecordFolder(LPCWSTR folder, LPSECURITY_ATTRIBUTES attributes) {
  gRecorded = {};
  gRecorded.folder = folder;
  BOOL present = FALSE, defaulted = FALSE;
  PACL acl = nullptr;
  if (!attributes || !GetSecurityDescriptorDacl(attributes->lpSecurityDescriptor, &present, &acl, &defaulted) ||
      !present || !acl)
    return TRUE;
  for (DWORD i = 0; i < acl->AceCount; ++i) {
    void* ace = nullptr;
    if (!GetAce(acl, i, &ace)) continue;
    auto* allowed = static_cast<ACCESS_ALLOWED_ACE*>(ace);
    wchar_t* sid = nullptr;
    ConvertSidToStringSidW(&allowed->SidStart, &sid);
    UniqueLocal owner(sid);
    gRecorded.aces.push_back({allowed->Header.AceType, allowed->Header.AceFlags, allowed->Mask, sid ? sid : L""});
  }
  return TRUE;
}

}  // namespace

// The access list handed to Windows when the folder is created. Wine does
// not keep it: the folder then shows an access list made from its Unix mode.
TEST(LogFolders, SharedFolderGrantsEveryoneBySid) {
  ScratchFolder dir;
  std::wstring folder = dir / L"CORVANE_LOGS";
  ASSERT_TRUE(CreateSharedLogsFolder(folder, RecordFolder));
  EXPECT_EQ(gRecorded.folder, folder);
  ASSERT_EQ(gRecorded.aces.size(), 1u);
  const RecordedAce& ace = gRecorded.aces[0];
  EXPECT_EQ(ace.type, ACCESS_ALLOWED_ACE_TYPE);
  EXPECT_EQ(ace.flags, 0) << "no inheritance";
  EXPECT_EQ(ace.mask, static_cast<DWORD>(GENERIC_ALL));
  EXPECT_EQ(ace.sid, L"S-1-1-0");

  ASSERT_TRUE(CreateSharedLogsFolder(folder));
  EXPECT_TRUE(IsFolder(folder));
  EXPECT_TRUE(CreateSharedLogsFolder(folder)) << "an existing folder is fine";
}

TEST(LogFolders, OnlyPrivilegedProcessesGuardTheSharedFolders) {
  for (const auto& a : kAccounts) {
    SCOPED_TRACE(a.who);
    const bool guarded[] = {a.privileged, false, a.privileged};
    for (int attempt = 0; attempt < kLogFallbackCount; ++attempt) {
      LogLocation location = FallbackLogLocation(attempt, a.account);
      ASSERT_FALSE(location.path.empty()) << attempt;
      EXPECT_EQ(location.guarded, guarded[attempt]) << attempt;
    }
    EXPECT_TRUE(FallbackLogLocation(kLogFallbackCount, a.account).path.empty());
  }
}

// The attack itself: another user plants a hard link in the common logs
// folder, named as this program's log, to a file only privileged accounts
// may change. Wine makes hard links; its CreateSymbolicLinkW returns TRUE
// and creates nothing, and it refuses junctions (FSCTL_SET_REPARSE_POINT
// fails with ERROR_NOT_SUPPORTED), so reparse points are checked below on
// the attributes alone.
TEST(LogFolders, PrivilegedProcessRefusesALinkPlantedInTheCommonLogsFolder) {
  ScratchFolder dir;
  std::wstring victim = dir / L"victim.dat";
  ASSERT_TRUE(cvtest::WriteBytes(victim, "system data"));
  std::wstring planted = FallbackLogLocation(0, kAccounts[0].account).path;
  ASSERT_FALSE(planted.empty());
  ASSERT_EQ(GetFileAttributesW(planted.c_str()), INVALID_FILE_ATTRIBUTES) << "left over from an earlier run";
  ASSERT_TRUE(CreateHardLinkW(planted.c_str(), victim.c_str(), nullptr));

  for (const auto& a : kAccounts) {
    SCOPED_TRACE(a.who);
    LogLocation location = FallbackLogLocation(0, a.account);
    EXPECT_EQ(location.path, planted);
    DWORD state = 0;
    UniqueFile file = OpenLogFile(location, state);
    // An ordinary user could only write to what the user may write anyway.
    EXPECT_EQ(static_cast<bool>(file), !a.privileged);
  }
  DeleteFileW(planted.c_str());
  EXPECT_EQ(cvtest::ReadBytes(victim), "system data");
}

TEST(LogFolders, GuardedOpenTakesPlainFilesOnly) {
  ScratchFolder dir;
  std::wstring existing = dir / L"existing.LOG", linked = dir / L"linked.LOG", fresh = dir / L"fresh.LOG";
  ASSERT_TRUE(cvtest::WriteBytes(existing, "x"));
  ASSERT_TRUE(cvtest::WriteBytes(dir / L"elsewhere.dat", "y"));
  ASSERT_TRUE(CreateHardLinkW(linked.c_str(), (dir / L"elsewhere.dat").c_str(), nullptr));

  DWORD state = 0;
  EXPECT_TRUE(OpenLogFile({fresh, true}, state));
  EXPECT_EQ(state, static_cast<DWORD>(ERROR_SUCCESS)) << "a new file is reported as created";
  EXPECT_TRUE(OpenLogFile({existing, true}, state));
  EXPECT_EQ(state, static_cast<DWORD>(ERROR_ALREADY_EXISTS)) << "an existing file is reported as reused";
  EXPECT_FALSE(OpenLogFile({linked, true}, state));
  EXPECT_TRUE(OpenLogFile({linked, false}, state)) << "unguarded opens are unchanged";
  EXPECT_FALSE(OpenLogFile({dir / L"missing\\x.LOG", true}, state));

  const struct {
    DWORD attributes;
    DWORD links;
    bool plain;
  } cases[] = {
      {FILE_ATTRIBUTE_NORMAL, 1, true},
      {FILE_ATTRIBUTE_ARCHIVE, 2, false},
      {FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_REPARSE_POINT, 1, false},  // symbolic link to a file
      {FILE_ATTRIBUTE_DIRECTORY, 1, true},
      {FILE_ATTRIBUTE_DIRECTORY, 3, true},  // a folder's link count says nothing
      {FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT, 1, false},  // junction
  };
  for (const auto& c : cases)
    EXPECT_EQ(IsPlainFileSystemEntry(c.attributes, c.links), c.plain) << c.attributes << " " << c.links;
}
