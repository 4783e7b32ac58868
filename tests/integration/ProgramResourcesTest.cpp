// The resources compiled into the program file.
#include <gtest/gtest.h>

#include "detection/win/FileVersion.h"
#include "support/WinTestSupport.h"

namespace {

TEST(ProgramResources, StringsIconManifestAndProductName) {
  const std::wstring program = cvtest::BuiltProgram(L"cvpackagechainer.exe");
  cv::UniqueLibrary module(LoadLibraryExW(program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
  ASSERT_TRUE(module);
  const std::pair<UINT, std::wstring> strings[] = {
      {153, L"Installing %s"},
      {161, L"%s Setup"},
      {198, L"Opening site of %s"},
      {199, L"Downloading %s"},
      {216, L"You must reboot your computer in order to continue the installation. Press Yes to restart now or "
            L"press No to abort the installation and manually restart later."},
      {217, L"Confirmation"},
      {220, L"Preparing..."},
      {223, L"Searching for prerequisites..."},
  };
  for (const auto& [id, text] : strings) {
    wchar_t buffer[512] = {};
    LoadStringW(module.get(), id, buffer, 512);
    EXPECT_EQ(std::wstring(buffer), text) << id;
  }
  EXPECT_NE(FindResourceW(module.get(), MAKEINTRESOURCEW(128), RT_GROUP_ICON), nullptr);
  HRSRC manifest = FindResourceW(module.get(), MAKEINTRESOURCEW(1), RT_MANIFEST);
  ASSERT_NE(manifest, nullptr);
  std::string xml(static_cast<const char*>(LockResource(LoadResource(module.get(), manifest))),
                  SizeofResource(module.get(), manifest));
  for (const char* part : {"level=\"asInvoker\"", "Microsoft.Windows.Common-Controls", "version=\"6.0.0.0\"",
                           "<dpiAware", ">true</dpiAware>"})
    EXPECT_NE(xml.find(part), std::string::npos) << part;

  std::wstring productName;
  EXPECT_TRUE(cv::ReadProductName(program, productName));
  EXPECT_EQ(productName, L"Corvane Package Chainer");
}

}  // namespace
