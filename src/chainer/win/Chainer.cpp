#include "chainer/win/Chainer.h"

#include "chainer/PrereqEvaluation.h"
#include "chainer/win/InstallerMutex.h"
#include "chainer/win/InterbootStore.h"
#include "chainer/win/WindowsEnvironment.h"
#include "chainer/win/WindowsEvaluationEnvironment.h"
#include "detection/win/WindowsVersion.h"
#include "platform/core/PathText.h"
#include "platform/core/Text.h"
#include "platform/core/win/FileSystem.h"
#include "platform/core/win/Handles.h"
#include "platform/core/win/Logger.h"
#include "platform/core/win/WorkerThread.h"

namespace cv {

namespace {

// A larger file is no configuration a package tool writes; reading it whole
// would only risk running out of memory.
constexpr uint64_t kMaxConfigurationBytes = 256ull << 20;

std::wstring ConfigurationPathFor(const std::wstring& exePath) {
  std::wstring baseName = GetFileName(exePath);
  size_t dot = baseName.rfind(L'.');
  if (dot != std::wstring::npos) baseName.erase(dot);
  return EnsureTrailingBackslash(GetParentFolder(exePath)) + baseName + L".ini";
}

}  // namespace

void Chainer::Run() {
  exePath_ = GetModulePath();
  exeFolder_ = GetParentFolder(exePath_);
  iniPath_ = ConfigurationPathFor(exePath_);

  IniDocument document;
  if (!ReadConfiguration(document)) return;

  WindowsEnvironment environment;
  PackageConfiguration configuration(environment);
  LoadPrerequisites(document, configuration);
  LoadCleanupSettings(document, exePath_, iniPath_, PathExists, cleanup_, cleanupPlan_);

  ChainerOptions options;
  if (LoadChainerOptions(document, options) && !options.LogFile.empty()) {
    EnableLogging();
    SetLogOsLineSource(&OsLogLine);
    SetLogFile(options.LogFile);
  }

  silent_ = configuration.IsSilent();
  locator_.Configure(exePath_, configuration.ResolveExtractionFolder());

  // The status window shows "Preparing..." here when not silent; then it
  // takes its title, "<product> Setup" (FillTextTemplate of IDS_SETUP_TITLE).

  // "C:" alone would name the drive's current folder, not its root.
  SetCurrentDirectoryW(EnsureTrailingBackslash(exeFolder_).c_str());
  if (!WaitForInstallerMutex()) {
    exitCode_ = 1;
    return;
  }
  exitCode_ = ProcessPrerequisites(configuration);
}

bool Chainer::ReadConfiguration(IniDocument& document) {
  WIN32_FIND_DATAW data;
  UniqueFind find(FindFirstFileW(ToLongPath(iniPath_).c_str(), &data));
  if (!find) return false;
  uint64_t size = (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
  // The first two bytes are the byte-order mark; shorter files are empty.
  if (size <= 2 || size > kMaxConfigurationBytes) return true;
  UniqueFile file(CreateFileW(ToLongPath(iniPath_).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return true;
  LARGE_INTEGER offset{};
  offset.QuadPart = 2;
  if (!SetFilePointerEx(file.get(), offset, nullptr, FILE_BEGIN)) return true;
  std::vector<uint8_t> bytes(static_cast<size_t>(size - 2));
  DWORD read = 0;
  if (!ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) || read == 0) return true;
  document.Parse(WideFromUtf16Le(bytes.data(), read));
  return true;
}

int32_t Chainer::ProcessPrerequisites(PackageConfiguration& configuration) {
  // The setups' return codes; the key goes at the end unless a restart is pending.
  InterbootStore returnCodes;
  if (configuration.prerequisites.empty()) return 0;
  WindowsEvaluationEnvironment environment(locator_);
  PrereqEvaluation evaluation(configuration.prerequisites, environment);
  if (silent_) {
    evaluation.EvaluateAll();
  } else {
    // The status window keeps answering meanwhile. Without a thread nothing
    // is evaluated and every state stays "not evaluated".
    RunOnWorkerThread([&evaluation] { evaluation.EvaluateAll(); });
  }
  if (!evaluation.AnythingToInstall()) {
    if (LoggingEnabled()) WriteLine(L"No prerequisite must be installed.");
    return 0;
  }
  // Obtaining and installing what is missing comes here. Until then nothing
  // is installed, and the run must not claim a mandatory prerequisite that
  // is missing is in place.
  if (!silent_ && !Contains(configuration.general.Options, L"b")) return 0;
  return evaluation.AllMandatoryInPlace() ? 0 : 1;
}

void Chainer::DeleteCleanupFiles() {
  for (const std::wstring& entry : cleanup_.filesToDelete) {
    DeleteFileLong(entry);
    RemoveEmptyFolders(GetParentFolder(entry), cleanup_.cleanupFolders);
  }
  cleanupPlan_.DropPathsStillInUse({IsFolder, CountFolderEntries});
}

Chainer::~Chainer() {
  DeleteCleanupFiles();
  // The clean-up script starts here, then the status window closes.
}

}  // namespace cv
