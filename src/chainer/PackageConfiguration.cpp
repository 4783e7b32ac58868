#include "chainer/PackageConfiguration.h"

#include "platform/core/PathText.h"
#include "platform/core/Text.h"

namespace cv {

namespace {

const wchar_t kGeneralOptions[] = L"GeneralOptions";
const wchar_t kPrerequisites[] = L"PREREQUISITES";
const wchar_t kChainerOptions[] = L"PREREQ_CHAINER";

// Reads the keys of one section; absent keys leave the defaults.
class SectionReader {
 public:
  explicit SectionReader(const IniDocument::Section* section) : section_(section) {}

  bool Has(const std::wstring& key) const { return Find(key) != nullptr; }
  void String(const std::wstring& key, std::wstring& out) const {
    if (const auto* pair = Find(key)) out = pair->value;
  }
  void Integer(const std::wstring& key, int32_t& out) const {
    if (const auto* pair = Find(key)) out = ParseInteger(pair->value);
  }
  void True(const std::wstring& key, bool& out) const {
    if (const auto* pair = Find(key)) out = EqualsIgnoreAsciiCase(pair->value, L"true");
  }

 private:
  const IniDocument::Pair* Find(const std::wstring& key) const {
    return section_ ? IniDocument::FindKey(*section_, key) : nullptr;
  }
  const IniDocument::Section* section_;
};

std::wstring Numbered(const wchar_t* name, int n) { return name + std::to_wstring(n); }

int32_t KeepFilesFromText(const std::wstring& text) {
  if (text == L"complete") return KeepComplete;
  if (text == L"minimum") return KeepMinimum;
  if (text == L"prereqs") return KeepPrereqs;
  return KeepNone;
}

}  // namespace

bool Prerequisite::HasOption(wchar_t letter) const { return Options.find(letter) != std::wstring::npos; }

bool LoadGeneralOptions(const IniDocument& document, GeneralOptions& g) {
  SectionReader r(document.FindSection(kGeneralOptions));
  r.String(L"MainAppCmdLine", g.MainAppCmdLine);
  r.String(L"Options", g.Options);
  r.String(L"UpdatesUrl", g.UpdatesUrl);
  r.String(L"ProductVersion", g.ProductVersion);
  r.String(L"MinWIVer", g.MinWIVer);
  r.String(L"DownloadFolder", g.DownloadFolder);
  r.String(L"MainAppURL", g.MainAppURL);
  r.String(L"UwpAppxURL", g.UwpAppxURL);
  r.String(L"LanguageList", g.LanguageList);
  // Kept as written: normalised once, after its references are expanded.
  r.String(L"ExtractionFolder", g.ExtractionFolder);
  std::wstring keepFiles;
  r.String(L"KeepFiles", keepFiles);
  g.KeepFiles = KeepFilesFromText(keepFiles);
  r.True(L"PackJars", g.PackJars);
  r.True(L"AllPlatforms", g.AllPlatforms);
  r.True(L"Is64PlatformTransf", g.Is64PlatformTransf);
  r.String(L"Langs", g.Langs);
  r.String(L"PackageCode", g.PackageCode);
  r.String(L"DefaultProdCode", g.DefaultProdCode);
  r.String(L"ProductCode", g.ProductCode);
  r.String(L"UpgradeCode", g.UpgradeCode);
  std::wstring extUiStub;
  r.String(L"ExtUIStub", extUiStub);
  g.ExtUIStub = !extUiStub.empty();
  r.String(L"SaveExtUIStub", g.SaveExtUIStub);
  r.String(L"FileExtractFirst", g.FileExtractFirst);
  r.String(L"MsiCertData", g.MsiCertData);
  r.String(L"AppxVersion", g.AppxVersion);
  r.String(L"AppxPkId", g.AppxPkId);
  return true;
}

bool LoadPrerequisiteEntry(const IniDocument& document, int n, Prerequisite& p) {
  const IniDocument::Section* list = document.FindSection(kPrerequisites);
  if (list == nullptr) return false;
  const std::wstring appKey = Numbered(L"App", n);
  const IniDocument::Pair* app = IniDocument::FindKey(*list, appKey);
  if (app == nullptr) return false;
  p.name = app->value;
  const IniDocument::Section* section = document.FindSection(appKey);
  if (section == nullptr) return false;
  SectionReader r(section);
  r.String(L"VerMin", p.VerMin);
  r.String(L"VerMax", p.VerMax);
  r.String(L"WinNTVersions", p.WinNTVersions);
  r.String(L"WinNT64Versions", p.WinNT64Versions);

  static const struct {
    const wchar_t* key;
    SourceKind kind;
  } kLocations[] = {{L"SetupFile", SourceKind::Package}, {L"OpenSite", SourceKind::Site}, {L"Url", SourceKind::Download}};
  bool located = false;
  for (const auto& location : kLocations) {
    if (r.Has(location.key)) {
      r.String(location.key, p.location);
      p.sourceKind = location.kind;
      located = true;
      break;
    }
  }
  if (!located) return false;

  r.Integer(L"ExactSize", p.ExactSize);
  r.String(L"MD5", p.MD5);
  r.Integer(L"Operator", p.Operator);
  r.String(L"CommandLine", p.CommandLine);
  r.String(L"BasicUiCommandLine", p.BasicUiCommandLine);
  r.String(L"NoUiCommandLine", p.NoUiCommandLine);
  r.String(L"Options", p.Options);
  r.String(L"RetValPropName", p.RetValPropName);
  r.String(L"ParentPrereq", p.ParentPrereq);
  r.String(L"Folder", p.Folder);
  r.String(L"LanguageList", p.LanguageList);
  r.String(L"InstallCond", p.InstallCond);

  for (int k = 1;; ++k) {
    if (!r.Has(Numbered(L"SearchType", k))) return true;
    if (!r.Has(Numbered(L"SearchString", k))) return false;
    PrereqSearch search;
    r.Integer(Numbered(L"SearchType", k), search.searchType);
    r.String(Numbered(L"SearchString", k), search.searchString);
    r.String(Numbered(L"VerMin", k), search.verMin);
    r.String(Numbered(L"VerMax", k), search.verMax);
    r.String(Numbered(L"RefContent", k), search.refContent);
    r.String(Numbered(L"SearchCmdLine", k), search.searchCmdLine);
    p.searches.push_back(std::move(search));
  }
}

void LoadPrerequisites(const IniDocument& document, PackageConfiguration& configuration) {
  LoadGeneralOptions(document, configuration.general);
  for (int n = 1;; ++n) {
    Prerequisite p;
    if (!LoadPrerequisiteEntry(document, n, p)) break;
    if (!p.LanguageList.empty() && p.LanguageList.back() != L';') p.LanguageList += L';';
    if (p.sourceKind != SourceKind::Package) p.location = configuration.Environment().ExpandReferences(p.location);
    p.skipDetection = p.HasOption(L'i');
    p.state = StateUndefined;
    p.alreadyDownloaded = false;
    p.selected = false;
    configuration.prerequisites.push_back(std::move(p));
  }
}

bool LoadChainerOptions(const IniDocument& document, ChainerOptions& o) {
  const IniDocument::Section* section = document.FindSection(kChainerOptions);
  if (section == nullptr) return false;
  SectionReader r(section);
  r.String(L"CleanupFiles", o.CleanupFiles);
  r.String(L"CleanupFolders", o.CleanupFolders);
  r.String(L"LogFile", o.LogFile);
  r.String(L"CleanupScript", o.CleanupScript);
  return true;
}

bool PackageConfiguration::IsSilent() const { return Contains(general.Options, L"q"); }

std::wstring PackageConfiguration::ResolveFolderSetting(const std::wstring& configured) const {
  if (configured.empty())
    return EnsureTrailingBackslash(EnsureTrailingBackslash(environment_->TempFolder()) + general.DefaultProdCode);
  std::wstring folder = EnsureTrailingBackslash(NormalizePath(environment_->ExpandReferences(configured)));
  // References that expand to nothing name no folder; "\" alone would be the
  // current drive's root, a folder any user can create things in.
  if (folder.find_first_not_of(L'\\') == std::wstring::npos) return std::wstring();
  return folder;
}

const std::wstring& PackageConfiguration::GetDownloadFolder() {
  if (!downloadFolderResolved_) {
    general.DownloadFolder = ResolveFolderSetting(general.DownloadFolder);
    downloadFolderResolved_ = true;
  }
  return general.DownloadFolder;
}

const std::wstring& PackageConfiguration::ResolveExtractionFolder() {
  if (!extractionFolderResolved_) {
    general.ExtractionFolder = ResolveFolderSetting(general.ExtractionFolder);
    extractionFolderResolved_ = true;
  }
  return general.ExtractionFolder;
}

const std::wstring& PackageConfiguration::GetStatusText(int kind) {
  static const unsigned kIds[] = {223, 199, 153, 198};
  static const std::wstring kEmpty;
  if (kind < 0 || kind > 3) return kEmpty;
  auto& cached = statusTexts_[kind];
  if (!cached) cached = environment_->LoadText(kIds[kind]);
  return *cached;
}

}  // namespace cv
