// The package configuration file's vocabulary and the records it loads into.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "chainer/IniDocument.h"
#include "detection/PrereqSearch.h"

namespace cv {

// What loading needs from the machine: reference expansion, the temporary
// folder and the program's string table.
class IConfigurationEnvironment {
 public:
  virtual ~IConfigurationEnvironment() = default;
  // Expands folder properties, environment variables and registry references.
  virtual std::wstring ExpandReferences(const std::wstring& text) const = 0;
  // The temporary folder in long-path form, with a trailing backslash.
  virtual std::wstring TempFolder() const = 0;
  virtual std::wstring LoadText(unsigned id) const = 0;
};

enum KeepFilesMode : int32_t { KeepNone = 0, KeepMinimum = 1, KeepComplete = 2, KeepPrereqs = 5 };

struct GeneralOptions {
  std::wstring MainAppCmdLine;
  std::wstring Options;
  std::wstring UpdatesUrl;
  std::wstring ProductVersion;
  std::wstring MinWIVer;
  std::wstring DownloadFolder;
  std::wstring MainAppURL;
  std::wstring UwpAppxURL;
  std::wstring LanguageList;
  std::wstring ExtractionFolder;
  int32_t KeepFiles = KeepNone;
  bool PackJars = false;
  bool AllPlatforms = false;
  bool Is64PlatformTransf = false;
  std::wstring Langs;
  std::wstring PackageCode;
  std::wstring DefaultProdCode;
  std::wstring ProductCode;
  std::wstring UpgradeCode;
  bool ExtUIStub = false;
  std::wstring SaveExtUIStub;
  std::wstring FileExtractFirst;
  std::wstring MsiCertData;
  std::wstring AppxVersion;
  std::wstring AppxPkId;
};

enum class SourceKind : int32_t { Package = 0, Download = 1, Site = 2 };

enum PrereqState : int32_t {
  StateFound = 0,
  StateInstallFromPackage = 1,
  StateDownload = 2,
  StateFetchFromSite = 3,
  StateNotApplicable = 4,
  StateAlreadyDownloaded = 5,
  StateMissing = 6,
  StateNotSelected = 7,
  StateUndefined = 8,
};

struct Prerequisite {
  std::wstring name;
  std::wstring VerMin;
  std::wstring VerMax;
  std::wstring location;
  SourceKind sourceKind = SourceKind::Package;
  std::wstring CommandLine;
  std::wstring BasicUiCommandLine;
  std::wstring NoUiCommandLine;
  std::wstring Options;
  std::wstring MD5;
  int32_t ExactSize = 0;
  std::wstring Folder;
  std::wstring RetValPropName;
  std::wstring InstallCond;
  std::wstring ParentPrereq;
  int32_t Operator = 0;
  std::vector<PrereqSearch> searches;
  std::wstring WinNTVersions;
  std::wstring WinNT64Versions;
  std::wstring LanguageList;

  // Run-time state.
  std::vector<SearchRecord> searchResults;
  PrereqState state = StateUndefined;
  bool alreadyDownloaded = false;
  bool selected = false;
  bool skipDetection = false;

  bool HasOption(wchar_t letter) const;
};

struct ChainerOptions {
  std::wstring CleanupFiles;
  std::wstring CleanupFolders;
  std::wstring LogFile;
  std::wstring CleanupScript;
};

enum StatusTextKind { StatusSearching = 0, StatusDownloading = 1, StatusInstalling = 2, StatusOpeningSite = 3 };

class PackageConfiguration {
 public:
  explicit PackageConfiguration(const IConfigurationEnvironment& environment) : environment_(&environment) {}

  GeneralOptions general;
  std::vector<Prerequisite> prerequisites;

  bool IsSilent() const;
  // Resolved once; later calls return the stored folder. Empty when the
  // configured references expand to nothing.
  const std::wstring& GetDownloadFolder();
  // ExtractionFolder resolved by the same rule.
  const std::wstring& ResolveExtractionFolder();
  const std::wstring& GetStatusText(int kind);
  const IConfigurationEnvironment& Environment() const { return *environment_; }

 private:
  std::wstring ResolveFolderSetting(const std::wstring& configured) const;

  const IConfigurationEnvironment* environment_;
  bool downloadFolderResolved_ = false;
  bool extractionFolderResolved_ = false;
  std::optional<std::wstring> statusTexts_[4];
};

bool LoadGeneralOptions(const IniDocument& document, GeneralOptions& record);
bool LoadPrerequisiteEntry(const IniDocument& document, int n, Prerequisite& record);
// General options, then the prerequisites up to the first that fails to load.
void LoadPrerequisites(const IniDocument& document, PackageConfiguration& configuration);
bool LoadChainerOptions(const IniDocument& document, ChainerOptions& record);

}  // namespace cv
