#include "platform/core/win/FileSystem.h"

#include <gtest/gtest.h>

#include <optional>

#include "platform/core/PathText.h"
#include "platform/core/win/FileMd5.h"
#include "platform/core/win/Security.h"
#include "support/WinTestSupport.h"

using namespace cv;
using cvtest::ScratchFolder;

TEST(FileSystem, TempFolderAndTempFiles) {
  std::wstring temp = GetTempFolder();
  ASSERT_FALSE(temp.empty());
  EXPECT_EQ(temp.back(), L'\\');
  EXPECT_TRUE(PathExists(temp));

  std::wstring url = CreateTempFile(L"URL", L".url");
  ASSERT_FALSE(url.empty());
  EXPECT_EQ(GetParentFolder(url) + L"\\", temp);
  EXPECT_EQ(GetFileName(url).substr(0, 3), L"URL");
  EXPECT_EQ(url.substr(url.size() - 4), L".url");
  EXPECT_TRUE(PathExists(url));
  std::wstring plain = CreateTempFile(L"CV_");
  EXPECT_EQ(plain.substr(plain.size() - 4), L".tmp");
  for (const auto& f : {url, plain}) DeleteFileLong(f);
}

TEST(FileSystem, LocalSystemWithoutTempPath2UsesAProtectedSystemTemp) {
  ScratchFolder windows;
  std::wstring folder = ComputeTempFolder(true, nullptr, windows.Path());
  EXPECT_EQ(folder, windows.Path() + L"\\SystemTemp\\");
  EXPECT_TRUE(IsFolder(folder));
  EXPECT_EQ(ComputeTempFolder(true, nullptr, windows.Path()), folder) << "an existing folder is kept";
  EXPECT_FALSE(IsLocalSystem()) << "tests run as an ordinary user";
}

TEST(FileSystem, SecurityDescriptorForAccounts) {
  SecurityDescriptorBuilder empty;
  EXPECT_EQ(empty.Build().error(), static_cast<uint32_t>(ERROR_INVALID_PARAMETER));
  SecurityDescriptorBuilder builder;
  EXPECT_EQ(builder.AddAccount(L"S-1-5-18", true), 0u);
  EXPECT_NE(builder.AddAccount(L"not-a-sid", true), 0u);
  EXPECT_NE(builder.AddAccount(L"CorvaneNoSuchAccount", false), 0u);
  Result<PSECURITY_DESCRIPTOR> built = builder.Build();
  ASSERT_TRUE(built.ok()) << built.error();
  PSECURITY_DESCRIPTOR descriptor = *built;
  BOOL present = FALSE, defaulted = FALSE;
  PACL acl = nullptr;
  ASSERT_TRUE(GetSecurityDescriptorDacl(descriptor, &present, &acl, &defaulted));
  EXPECT_TRUE(present);
  ASSERT_NE(acl, nullptr);
  EXPECT_EQ(acl->AceCount, 1);
}

TEST(FileSystem, FileInfoAndExistence) {
  ScratchFolder dir;
  std::wstring file = dir / L"f.bin";
  ASSERT_TRUE(cvtest::WriteBytes(file, "12345"));
  Result<FileInfo> info = GetFileInfo(file);
  ASSERT_TRUE(info.ok()) << info.error();
  EXPECT_EQ(info->size, 5u);
  EXPECT_NE(info->lastWrite.dwHighDateTime, 0u);
  EXPECT_EQ(GetFileInfo(L"").error(), static_cast<uint32_t>(ERROR_INVALID_PARAMETER));
  EXPECT_EQ(GetFileInfo(L"C").error(), static_cast<uint32_t>(ERROR_PATH_NOT_FOUND));
  EXPECT_EQ(GetFileInfo(L"f.bin").error(), static_cast<uint32_t>(ERROR_PATH_NOT_FOUND));
  EXPECT_EQ(GetFileInfo(dir / L"f?bin").error(), static_cast<uint32_t>(ERROR_INVALID_NAME));
  EXPECT_NE(GetFileInfo(dir / L"missing").error(), 0u);
  EXPECT_TRUE(PathExists(dir.Path()));
  EXPECT_TRUE(PathExists(dir.Path() + L"\\"));
  EXPECT_FALSE(PathExists(dir / L"*")) << "wildcards would find other files";

  // A relative path never exists, even where the current folder holds it.
  wchar_t previous[MAX_PATH];
  GetCurrentDirectoryW(MAX_PATH, previous);
  SetCurrentDirectoryW(dir.Path().c_str());
  EXPECT_FALSE(PathExists(L"f.bin"));
  SetCurrentDirectoryW(previous);
}

TEST(FileSystem, FolderTreesAreCreatedAndRemoved) {
  ScratchFolder dir;
  std::vector<std::wstring> created;
  EXPECT_EQ(CreateFolderTree(dir / L"a\\b\\file.txt", false, &created), 0u);
  EXPECT_EQ(created, (std::vector<std::wstring>{dir / L"a", dir / L"a\\b"}));
  EXPECT_FALSE(PathExists(dir / L"a\\b\\file.txt"));
  created.clear();
  EXPECT_EQ(CreateFolderTree(dir / L"a\\b\\c", true, &created), 0u);
  EXPECT_EQ(created, (std::vector<std::wstring>{dir / L"a\\b\\c"}));

  // A failure half-way takes back only what this call created.
  created.clear();
  EXPECT_NE(CreateFolderTree(dir / L"a\\n1\\n2\\bad<name\\x", true, &created), 0u);
  EXPECT_TRUE(created.empty());
  EXPECT_FALSE(PathExists(dir / L"a\\n1"));
  EXPECT_TRUE(PathExists(dir / L"a\\b")) << "folders that existed before stay";
  ASSERT_TRUE(cvtest::WriteBytes(dir / L"a\\blocker", "x"));
  EXPECT_NE(CreateFolderTree(dir / L"a\\blocker\\x", true), 0u);
  EXPECT_TRUE(PathExists(dir / L"a\\blocker"));

  // Long paths go through the long-path prefix, from 248 characters on,
  // where creating a folder needs it; listing and removal work there too.
  std::wstring deep = dir.Path();
  while (deep.size() < 300) deep += L"\\" + std::wstring(40, L'd');
  EXPECT_EQ(CreateFolderTree(deep, true), 0u);
  EXPECT_TRUE(PathExists(deep));
  std::wstring at248 = dir.Path() + L"\\";
  at248 += std::wstring(248 - at248.size(), L'e');
  ASSERT_EQ(at248.size(), 248u);
  EXPECT_EQ(CreateFolderTree(at248 + L"\\f\\g.txt", false), 0u);
  ASSERT_TRUE(cvtest::WriteBytes(ToLongPath(at248 + L"\\f\\g.txt"), "x"));
  EXPECT_EQ(CountFolderEntries(at248), 1u);
  EXPECT_EQ(CountFolderEntries(deep), 0u);
  EXPECT_TRUE(IsFolder(at248 + L"\\f"));
  EXPECT_TRUE(DeleteFileLong(at248 + L"\\f\\g.txt"));
  EXPECT_TRUE(RemoveFolder(at248 + L"\\f"));

  ASSERT_TRUE(cvtest::WriteBytes(dir / L"a\\b\\c\\ro.txt", "x"));
  SetFileAttributesW((dir / L"a\\b\\c\\ro.txt").c_str(), FILE_ATTRIBUTE_READONLY);
  DeleteFolderTree(dir.Path());
  EXPECT_TRUE(PathExists(dir.Path()));
  EXPECT_EQ(CountFolderEntries(dir.Path()), 0u);
  EXPECT_EQ(CountFolderEntries(dir / L"missing"), std::nullopt);
}

TEST(FileSystem, RemoveEmptyFoldersStopsAboveTheRoot) {
  ScratchFolder dir;
  std::wstring root = dir / L"root";
  ASSERT_EQ(CreateFolderTree(root + L"\\x\\y", true), 0u);
  ASSERT_EQ(CreateFolderTree(root + L"\\keep\\z", true), 0u);
  RemoveEmptyFolders(root + L"\\x\\y", root + L"\\");
  EXPECT_FALSE(PathExists(root + L"\\x"));
  EXPECT_TRUE(PathExists(root));
  RemoveEmptyFolders(root + L"\\keep\\z", root);
  EXPECT_FALSE(PathExists(root + L"\\keep"));
  EXPECT_TRUE(PathExists(root)) << "the root stays, even when empty";

  // Nothing outside the root: a sibling whose name begins like it, a way out
  // through "..", a root written otherwise.
  ASSERT_EQ(CreateFolderTree(dir / L"root2\\a", true), 0u);
  ASSERT_EQ(CreateFolderTree(dir / L"other\\b", true), 0u);
  RemoveEmptyFolders(dir / L"root2\\a", root);
  RemoveEmptyFolders(root + L"\\..\\other\\b", root);
  EXPECT_TRUE(PathExists(dir / L"root2\\a"));
  EXPECT_TRUE(PathExists(dir / L"other\\b"));
  ASSERT_EQ(CreateFolderTree(root + L"\\c\\d", true), 0u);
  RemoveEmptyFolders(root + L"\\c\\d", dir.Path() + L"/ROOT/");
  EXPECT_FALSE(PathExists(root + L"\\c"));
  EXPECT_TRUE(PathExists(root));
  RemoveEmptyFolders(root, root);
  EXPECT_TRUE(PathExists(root));

  std::vector<std::wstring> subfolders;
  EXPECT_FALSE(ListSubfolders(root, subfolders));
  CreateFolderTree(root + L"\\s1", true);
  cvtest::WriteBytes(root + L"\\file", "x");
  EXPECT_TRUE(ListSubfolders(root, subfolders));
  EXPECT_EQ(subfolders, (std::vector<std::wstring>{root + L"\\s1"}));
}

TEST(FileSystem, EnvironmentAndFinalPath) {
  std::wstring value;
  SetEnvironmentVariableW(L"CV_TEST_EMPTY", L"");
  EXPECT_TRUE(GetEnvVar(L"CV_TEST_EMPTY", value));
  EXPECT_EQ(value, L"");
  std::wstring longValue(5000, L'v');
  SetEnvironmentVariableW(L"CV_TEST_LONG", longValue.c_str());
  EXPECT_TRUE(GetEnvVar(L"CV_TEST_LONG", value));
  EXPECT_EQ(value, longValue);
  EXPECT_FALSE(GetEnvVar(L"CV_TEST_UNDEFINED_VARIABLE", value));

  ScratchFolder dir;
  std::wstring file = dir / L"final.txt";
  cvtest::WriteBytes(file, "x");
  std::wstring final = GetFinalPath(file);
  EXPECT_TRUE(HasLongPathPrefix(final)) << std::string(final.begin(), final.end());
  EXPECT_EQ(GetFinalPath(dir / L"missing"), dir / L"missing");
}

TEST(FileMd5, DigestsOfFiles) {
  ScratchFolder dir;
  char digest[33] = "junk";
  EXPECT_FALSE(ComputeFileMd5(dir / L"missing", digest));
  EXPECT_STREQ(digest, "");
  cvtest::WriteBytes(dir / L"empty", "");
  EXPECT_FALSE(ComputeFileMd5(dir / L"empty", digest)) << "an empty file has no digest";
  cvtest::WriteBytes(dir / L"abc", "abc");
  EXPECT_TRUE(ComputeFileMd5(dir / L"abc", digest));
  EXPECT_STREQ(digest, "900150983cd24fb0d6963f7d28e17f72");
  cvtest::WriteBytes(dir / L"block", std::string(65536, 'a'));
  EXPECT_TRUE(ComputeFileMd5(dir / L"block", digest));
  EXPECT_STREQ(digest, "2d61aa54b58c2e94403fb092c3dbc027");
  cvtest::WriteBytes(dir / L"twoblocks", std::string(65536 + 3, 'a'));
  EXPECT_TRUE(ComputeFileMd5(dir / L"twoblocks", digest));
  EXPECT_STREQ(digest, "aec0625ae52063a8311cf47d39ac58a1");
}

TEST(FileSystem, SizesAbove4GiB) {
  // Zeros up to 4 GiB, then "tail": 4 in the low 32 bits. The file is sparse,
  // so it costs no disk. Hashing all of it takes about 18 s under Wine here,
  // so the hash of such a size is tested on the portable reading loop.
  ScratchFolder dir;
  std::wstring path = dir / L"big.bin";
  const uint64_t zeros = 4ull << 30;
  {
    UniqueFile file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(file);
    DWORD ignored = 0;
    DeviceIoControl(file.get(), FSCTL_SET_SPARSE, nullptr, 0, nullptr, 0, &ignored, nullptr);
    LARGE_INTEGER at{};
    at.QuadPart = static_cast<LONGLONG>(zeros);
    ASSERT_TRUE(SetFilePointerEx(file.get(), at, nullptr, FILE_BEGIN));
    DWORD written = 0;
    ASSERT_TRUE(WriteFile(file.get(), "tail", 4, &written, nullptr));
  }
  Result<FileInfo> info = GetFileInfo(path);
  ASSERT_TRUE(info.ok()) << info.error();
  EXPECT_EQ(info->size, zeros + 4);
}
