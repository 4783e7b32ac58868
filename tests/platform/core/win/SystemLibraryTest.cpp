// Libraries come from the system folder only, whatever lies in the program's
// folder or the current one.
#include "platform/core/win/SystemLibrary.h"

#include <gtest/gtest.h>

#include "platform/core/Text.h"
#include "support/WinTestSupport.h"

using namespace cv;

TEST(SystemLibrary, PlantedLibraryIsNotLoaded) {
  cvtest::ScratchFolder dir;
  std::wstring system = EnsureTrailingBackslash(GetSystemFolder());
  // A real library under a name the system folder does not hold.
  ASSERT_TRUE(CopyFileW((system + L"version.dll").c_str(), (dir / L"cvplanted.dll").c_str(), FALSE));
  cvtest::CurrentFolder current(dir.Path());

  // First: a library loaded already is found by its name alone.
  EXPECT_FALSE(LoadSystemLibrary(L"cvplanted.dll"));
  UniqueLibrary bySearch(LoadLibraryW(L"cvplanted.dll"));
  EXPECT_TRUE(bySearch) << "the ordinary search finds a library in the current folder";

  UniqueLibrary version = LoadSystemLibrary(L"version.dll");
  ASSERT_TRUE(version);
  EXPECT_TRUE(EqualsIgnoreAsciiCase(GetParentFolder(GetModulePath(version.get())) + L"\\", system))
      << GetModulePath(version.get()).c_str();
}

TEST(SystemLibrary, RestrictedSearchIgnoresTheProgramAndCurrentFolders) {
  // A planted library beside the program and in the current folder: found by
  // the ordinary search, not once the program has restricted it.
  cvtest::ScratchFolder dir;
  std::wstring program = dir / L"dll_search.exe";
  ASSERT_TRUE(CopyFileW(cvtest::BuiltProgram(L"dll_search.exe").c_str(), program.c_str(), FALSE));
  std::wstring system = EnsureTrailingBackslash(GetSystemFolder());
  ASSERT_TRUE(CopyFileW((system + L"version.dll").c_str(), (dir / L"cvplanted.dll").c_str(), FALSE));
  EXPECT_EQ(cvtest::RunProgram(program, L"cvplanted.dll", 60000, dir.Path()), 1);
  EXPECT_EQ(cvtest::RunProgram(program, L"cvplanted.dll restricted", 60000, dir.Path()), 0);
  EXPECT_EQ(cvtest::RunProgram(program, L"version.dll restricted", 60000, dir.Path()), 1) << "system libraries still load";
}
