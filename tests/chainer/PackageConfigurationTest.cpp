#include "chainer/PackageConfiguration.h"

#include <gtest/gtest.h>

using namespace cv;

namespace {

// Expands one reference form so the tests can see where expansion applies.
class FakeEnvironment : public IConfigurationEnvironment {
 public:
  std::wstring ExpandReferences(const std::wstring& text) const override {
    std::wstring out = text;
    for (size_t at; (at = out.find(L"[TempFolder]")) != std::wstring::npos;) out.replace(at, 12, L"T:\\tmp\\");
    for (size_t at; (at = out.find(L"[Nothing]")) != std::wstring::npos;) out.erase(at, 9);
    return out;
  }
  std::wstring TempFolder() const override { return L"T:\\tmp\\"; }
  std::wstring LoadText(unsigned id) const override { return L"text " + std::to_wstring(id); }
};

struct Loaded {
  FakeEnvironment environment;
  PackageConfiguration configuration{environment};
  explicit Loaded(const std::wstring& text) {
    IniDocument doc;
    doc.Parse(text);
    LoadPrerequisites(doc, configuration);
  }
};

}  // namespace

TEST(PackageConfiguration, GeneralOptionsValues) {
  Loaded l(L"[GeneralOptions]\r\nOptions=qb\r\nKeepFiles=prereqs\r\nPackJars=TRUE\r\nAllPlatforms=yes\r\n"
           L"ExtUIStub=0\r\nDefaultProdCode={code}\r\nExtractionFolder=C:\\x \\y.\r\n");
  const GeneralOptions& g = l.configuration.general;
  EXPECT_EQ(g.Options, L"qb");
  EXPECT_TRUE(l.configuration.IsSilent());
  EXPECT_EQ(g.KeepFiles, KeepPrereqs);
  EXPECT_TRUE(g.PackJars);
  EXPECT_FALSE(g.AllPlatforms);
  EXPECT_TRUE(g.ExtUIStub);
  EXPECT_EQ(g.ExtractionFolder, L"C:\\x \\y.") << "normalised once, when it is resolved";
  EXPECT_EQ(l.configuration.ResolveExtractionFolder(), L"C:\\x\\y\\");

  for (auto [text, mode] : {std::pair{L"complete", 2}, {L"minimum", 1}, {L"Complete", 0}, {L"", 0}}) {
    Loaded k(std::wstring(L"[GeneralOptions]\r\nKeepFiles=") + text + L"\r\n");
    EXPECT_EQ(k.configuration.general.KeepFiles, mode) << text;
  }
  Loaded none(L"");
  EXPECT_FALSE(none.configuration.IsSilent());
  EXPECT_EQ(none.configuration.general.KeepFiles, 0);
  EXPECT_TRUE(none.configuration.prerequisites.empty());
}

TEST(PackageConfiguration, PrerequisiteEntry) {
  Loaded l(L"[PREREQUISITES]\r\nApp1=Runtime\r\n[App1]\r\nSetupFile=redist\\setup.exe\r\nUrl=http://x/\r\n"
           L"ExactSize=  12abc\r\nOperator=1\r\nOptions=mix\r\nLanguageList=1033\r\nWinNT64Versions=Windows 10 x64\r\n"
           L"SearchType1=3\r\nSearchString1=HKLM\\k\r\nVerMin1=1.0\r\nSearchType3=1\r\nSearchString3=skipped\r\n");
  ASSERT_EQ(l.configuration.prerequisites.size(), 1u);
  const Prerequisite& p = l.configuration.prerequisites[0];
  EXPECT_EQ(p.name, L"Runtime");
  EXPECT_EQ(p.sourceKind, SourceKind::Package);
  EXPECT_EQ(p.location, L"redist\\setup.exe");
  EXPECT_EQ(p.ExactSize, 12);
  EXPECT_EQ(p.Operator, 1);
  EXPECT_TRUE(p.skipDetection);
  EXPECT_TRUE(p.HasOption(L'm'));
  EXPECT_EQ(p.LanguageList, L"1033;");
  EXPECT_EQ(p.WinNT64Versions, L"Windows 10 x64");
  EXPECT_EQ(p.state, StateUndefined);
  ASSERT_EQ(p.searches.size(), 1u) << "search numbering stops at the first gap";
  EXPECT_EQ(p.searches[0].searchType, 3);
  EXPECT_EQ(p.searches[0].searchString, L"HKLM\\k");
  EXPECT_EQ(p.searches[0].verMin, L"1.0");
}

TEST(PackageConfiguration, LocationKindsAndExpansion) {
  Loaded l(L"[PREREQUISITES]\r\nApp1=a\r\nApp2=b\r\nApp3=c\r\n"
           L"[App1]\r\nSetupFile=[TempFolder]a.exe\r\n[App2]\r\nUrl=[TempFolder]b.exe\r\nOpenSite=http://site/\r\n"
           L"[App3]\r\nUrl=[TempFolder]c.exe\r\nLanguageList=1031;\r\n");
  ASSERT_EQ(l.configuration.prerequisites.size(), 3u);
  const auto& p = l.configuration.prerequisites;
  EXPECT_EQ(p[0].location, L"[TempFolder]a.exe") << "carried setup files are left as written";
  EXPECT_EQ(p[1].sourceKind, SourceKind::Site);
  EXPECT_EQ(p[1].location, L"http://site/");
  EXPECT_EQ(p[2].sourceKind, SourceKind::Download);
  EXPECT_EQ(p[2].location, L"T:\\tmp\\c.exe");
  EXPECT_EQ(p[2].LanguageList, L"1031;");
}

TEST(PackageConfiguration, ListEndsSilentlyAtTheFirstBrokenEntry) {
  const std::wstring ok = L"[App1]\r\nUrl=u\r\n";
  struct Case {
    const wchar_t* name;
    std::wstring text;
    size_t loaded;
  } cases[] = {
      {L"numbering gap", L"[PREREQUISITES]\r\nApp1=a\r\nApp3=c\r\n" + ok + L"[App3]\r\nUrl=u\r\n", 1},
      {L"missing section", L"[PREREQUISITES]\r\nApp1=a\r\nApp2=b\r\nApp3=c\r\n" + ok + L"[App3]\r\nUrl=u\r\n", 1},
      {L"no location", L"[PREREQUISITES]\r\nApp1=a\r\nApp2=b\r\n" + ok + L"[App2]\r\nCommandLine=/q\r\n", 1},
      {L"search without string",
       L"[PREREQUISITES]\r\nApp1=a\r\nApp2=b\r\nApp3=c\r\n[App1]\r\nUrl=u\r\nSearchType1=1\r\n" + ok, 0},
      {L"no list", ok, 0},
  };
  for (const Case& c : cases) {
    Loaded l(c.text);
    EXPECT_EQ(l.configuration.prerequisites.size(), c.loaded) << c.name;
  }
}

TEST(PackageConfiguration, ChainerOptions) {
  IniDocument doc;
  ChainerOptions options;
  doc.Parse(L"[GeneralOptions]\r\n");
  EXPECT_FALSE(LoadChainerOptions(doc, options));
  doc.Parse(L"[PREREQ_CHAINER]\r\nLogFile=C:\\log.txt\r\nCleanupFolders=C:\\pkg\r\n");
  ASSERT_TRUE(LoadChainerOptions(doc, options));
  EXPECT_EQ(options.LogFile, L"C:\\log.txt");
  EXPECT_EQ(options.CleanupFolders, L"C:\\pkg");
  EXPECT_EQ(options.CleanupScript, L"");
}

TEST(PackageConfiguration, FoldersResolveOnceAndStatusTextsComeFromTheStringTable) {
  Loaded l(L"[GeneralOptions]\r\nDefaultProdCode={P}\r\nDownloadFolder=[TempFolder]dl \\x\r\n");
  EXPECT_EQ(l.configuration.GetDownloadFolder(), L"T:\\tmp\\dl\\x\\");
  EXPECT_EQ(l.configuration.GetDownloadFolder(), L"T:\\tmp\\dl\\x\\");
  EXPECT_EQ(l.configuration.ResolveExtractionFolder(), L"T:\\tmp\\{P}\\");

  // References that expand to nothing leave no folder, never the drive's root.
  for (const wchar_t* value : {L"[Nothing]", L"[Nothing]\\", L"\\", L"[Nothing]\\[Nothing]\\", L"."}) {
    Loaded empty(std::wstring(L"[GeneralOptions]\r\nDefaultProdCode={P}\r\nExtractionFolder=") + value +
                 L"\r\nDownloadFolder=" + value + L"\r\n");
    EXPECT_EQ(empty.configuration.ResolveExtractionFolder(), L"") << value;
    EXPECT_EQ(empty.configuration.GetDownloadFolder(), L"") << value;
  }

  EXPECT_EQ(l.configuration.GetStatusText(StatusSearching), L"text 223");
  EXPECT_EQ(l.configuration.GetStatusText(StatusDownloading), L"text 199");
  EXPECT_EQ(l.configuration.GetStatusText(StatusInstalling), L"text 153");
  EXPECT_EQ(l.configuration.GetStatusText(StatusOpeningSite), L"text 198");
  EXPECT_EQ(l.configuration.GetStatusText(4), L"");
  EXPECT_EQ(l.configuration.GetStatusText(-1), L"");
}

TEST(PackageConfiguration, HugeListsLoadWithoutQuadraticLookups) {
  // Each entry is found by name: a linear scan per lookup would take minutes here.
  const int count = 40000;
  std::wstring text = L"[PREREQUISITES]\r\n";
  for (int n = 1; n <= count; ++n) text += L"App" + std::to_wstring(n) + L"=p\r\n";
  for (int n = 1; n <= count; ++n) text += L"[App" + std::to_wstring(n) + L"]\r\nUrl=u\r\nSearchType1=1\r\nSearchString1=s\r\n";
  Loaded l(text);
  EXPECT_EQ(l.configuration.prerequisites.size(), static_cast<size_t>(count));
}
