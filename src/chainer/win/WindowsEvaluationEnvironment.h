// The evaluation's view of this machine: the release, language and processor
// conditions, the searches and the package's files.
#pragma once
#include "chainer/PrereqEvaluation.h"
#include "detection/win/SearchEvaluation.h"
#include "install/PackageFileLocator.h"
#include "install/win/MsixFinder.h"

namespace cv {

class WindowsEvaluationEnvironment final : public IEvaluationEnvironment, private ISearchContext {
 public:
  explicit WindowsEvaluationEnvironment(const PackageFileLocator& locator) : locator_(locator) {}

  bool OsAllowed(const std::wstring& winNTVersions, const std::wstring& winNT64Versions) override;
  bool LanguageAllowed(const std::wstring& languageList) override;
  NativeMachine QueryNativeMachine() override;
  bool EvaluateSearches(const Prerequisite& prerequisite, bool use64, std::vector<SearchRecord>& records) override;
  bool IsAlreadyDownloaded(const Prerequisite& prerequisite) override;
  bool LoggingEnabled() override;
  void WriteLine(const std::wstring& line) override;

 private:
  std::wstring PackageFile(const std::wstring& name) const override;
  std::wstring FindAppxPackageVersion(const std::wstring& name, const std::wstring& publisher,
                                      const std::wstring& architecture) const override;

  const PackageFileLocator& locator_;
  MsixFinder appxPackages_;
};

}  // namespace cv
