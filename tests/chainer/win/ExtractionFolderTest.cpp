// The extraction and download folders through the real loader: references
// expanded by this machine, then the locator.
#include <gtest/gtest.h>

#include "chainer/PackageConfiguration.h"
#include "chainer/win/WindowsEnvironment.h"
#include "install/PackageFileLocator.h"

using namespace cv;

namespace {

struct Resolved {
  std::wstring extraction;
  std::wstring download;
  std::wstring setupFile;
};

Resolved Resolve(const std::wstring& folder) {
  IniDocument document;
  document.Parse(L"[GeneralOptions]\r\nDefaultProdCode={P}\r\nExtractionFolder=" + folder +
                 L"\r\nDownloadFolder=" + folder + L"\r\n");
  WindowsEnvironment environment;
  PackageConfiguration configuration(environment);
  LoadPrerequisites(document, configuration);
  PackageFileLocator locator;
  locator.Configure(L"C:\\pkg\\setup.exe", configuration.ResolveExtractionFolder());
  return {configuration.ResolveExtractionFolder(), configuration.GetDownloadFolder(),
          locator.LocateSetupFile(L"redist\\x.exe")};
}

}  // namespace

TEST(ExtractionFolder, ReferencesThatExpandToNothingLeaveTheProgramFolder) {
  SetEnvironmentVariableW(L"CV_TEST_UNDEFINED", nullptr);
  SetEnvironmentVariableW(L"CV_TEST_EMPTY", L"");
  // Never "\", the current drive's root, where any user can put a redist folder.
  for (const wchar_t* folder : {L"%CV_TEST_UNDEFINED%", L"%CV_TEST_UNDEFINED%\\", L"%CV_TEST_EMPTY%\\%CV_TEST_UNDEFINED%\\",
                                L"!HKLM\\Software\\CvTestMissing\\Value!\\"}) {
    SCOPED_TRACE(testing::PrintToString(std::wstring(folder)));
    Resolved resolved = Resolve(folder);
    EXPECT_EQ(resolved.extraction, L"");
    EXPECT_EQ(resolved.download, L"");
    EXPECT_EQ(resolved.setupFile, L"C:\\pkg\\redist\\x.exe");
  }

  SetEnvironmentVariableW(L"CV_TEST_MEDIA", L"D:\\media");
  Resolved defined = Resolve(L"%CV_TEST_MEDIA%\\sub.");
  EXPECT_EQ(defined.extraction, L"D:\\media\\sub\\");
  EXPECT_EQ(defined.setupFile, L"D:\\media\\sub\\redist\\x.exe");
  SetEnvironmentVariableW(L"CV_TEST_MEDIA", nullptr);

  // Not configured: the temporary folder with the product code.
  Resolved unset = Resolve(L"");
  EXPECT_EQ(unset.extraction.substr(unset.extraction.size() - 4), L"{P}\\");
  EXPECT_EQ(unset.setupFile, unset.extraction + L"redist\\x.exe");
  SetEnvironmentVariableW(L"CV_TEST_EMPTY", nullptr);
}
