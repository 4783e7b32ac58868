#include "chainer/win/WindowsEvaluationEnvironment.h"

#include "detection/win/Language.h"
#include "detection/win/WindowsVersion.h"
#include "platform/core/win/Logger.h"

namespace cv {

bool WindowsEvaluationEnvironment::OsAllowed(const std::wstring& winNTVersions, const std::wstring& winNT64Versions) {
  return cv::OsAllowed(winNTVersions, winNT64Versions);
}

bool WindowsEvaluationEnvironment::LanguageAllowed(const std::wstring& languageList) {
  return cv::LanguageAllowed(languageList);
}

NativeMachine WindowsEvaluationEnvironment::QueryNativeMachine() { return cv::QueryNativeMachine(); }

bool WindowsEvaluationEnvironment::EvaluateSearches(const Prerequisite& prerequisite, bool use64,
                                                    std::vector<SearchRecord>& records) {
  return cv::EvaluateSearches(prerequisite.searches, prerequisite.Operator, use64, *this, records);
}

bool WindowsEvaluationEnvironment::IsAlreadyDownloaded(const Prerequisite&) {
  // Downloads do not exist yet: nothing lies in the download folder.
  return false;
}

bool WindowsEvaluationEnvironment::LoggingEnabled() { return cv::LoggingEnabled(); }

void WindowsEvaluationEnvironment::WriteLine(const std::wstring& line) { cv::WriteLine(line); }

std::wstring WindowsEvaluationEnvironment::PackageFile(const std::wstring& name) const {
  return locator_.GetPackageFile(name);
}

std::wstring WindowsEvaluationEnvironment::FindAppxPackageVersion(const std::wstring& name,
                                                                  const std::wstring& publisher,
                                                                  const std::wstring& architecture) const {
  return appxPackages_.Find(name, publisher, architecture);
}

}  // namespace cv
