#include "install/PackageFileLocator.h"

#include <gtest/gtest.h>

using cv::PackageFileLocator;

TEST(PackageFileLocator, RelativeNamesJoinTheExtractionFolder) {
  PackageFileLocator locator;
  locator.Configure(L"C:\\pkg\\setup.exe", L"C:\\Temp\\{code}\\");
  EXPECT_EQ(locator.LocateSetupFile(L"redist\\vc_redist.x86.exe"), L"C:\\Temp\\{code}\\redist\\vc_redist.x86.exe");
  EXPECT_EQ(locator.LocateSetupFile(L"D:\\media\\setup.exe"), L"D:\\media\\setup.exe");
  EXPECT_EQ(locator.LocateSetupFile(L"\\\\server\\share\\setup.exe"), L"\\\\server\\share\\setup.exe");
  EXPECT_EQ(locator.LocateSetupFile(L"x"), L"C:\\Temp\\{code}\\x");
  EXPECT_EQ(locator.LocateSetupFile(L"\\x.exe"), L"C:\\Temp\\{code}\\\\x.exe");
  EXPECT_EQ(locator.GetPackageFile(L"D:\\abs.exe"), L"C:\\Temp\\{code}\\D:\\abs.exe");
}

TEST(PackageFileLocator, WithoutExtractionFolderTheProgramFolderIsTheBase) {
  PackageFileLocator locator;
  locator.Configure(L"C:\\pkg\\setup.exe", L"");
  EXPECT_EQ(locator.LocateSetupFile(L"redist\\a.msi"), L"C:\\pkg\\redist\\a.msi");
}
