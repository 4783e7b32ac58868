// Which prerequisites this machine lacks and which are selected for
// installation, before and after the installation run.
#pragma once
#include <cstddef>
#include <string>
#include <unordered_map>
#include <vector>

#include "chainer/PackageConfiguration.h"
#include "detection/OsRelease.h"

namespace cv {

// What the evaluation asks of the machine and of the other parts.
class IEvaluationEnvironment {
 public:
  virtual ~IEvaluationEnvironment() = default;
  virtual bool OsAllowed(const std::wstring& winNTVersions, const std::wstring& winNT64Versions) = 0;
  virtual bool LanguageAllowed(const std::wstring& languageList) = 0;
  virtual NativeMachine QueryNativeMachine() = 0;
  // Runs the prerequisite's searches (the 64-bit view and file system when
  // use64) and fills records; true when an acceptable version is installed.
  virtual bool EvaluateSearches(const Prerequisite& prerequisite, bool use64, std::vector<SearchRecord>& records) = 0;
  // The prerequisite's download already lies in the download folder.
  virtual bool IsAlreadyDownloaded(const Prerequisite& prerequisite) = 0;
  virtual bool LoggingEnabled() = 0;
  virtual void WriteLine(const std::wstring& line) = 0;
};

// The log text of a state ("An acceptable version was found.", ...).
const wchar_t* PrereqStateText(int32_t state);

class PrereqEvaluation {
 public:
  // The list keeps its length and names for the evaluation's life.
  PrereqEvaluation(std::vector<Prerequisite>& prerequisites, IEvaluationEnvironment& environment);

  // First evaluation of every prerequisite, then the initial selection.
  void EvaluateAll();
  // Sets the state of one prerequisite; a recheck leaves one that skips
  // detection as it was.
  void EvaluatePrerequisite(size_t index, bool recheck);
  // Changes the selection and carries it along ParentPrereq links.
  void SetSelected(size_t index, bool selected);
  // The state with the derived values: not selected, already downloaded.
  int32_t GetDisplayState(size_t index) const;
  // Evaluates again after the installation run and selects anew.
  void FinishEvaluation();
  bool AllMandatoryInPlace() const;
  // Whether the prerequisite is found right after its setup ran.
  bool IsNowInPlace(size_t index);
  // Some prerequisite is to be installed from the package, downloaded or
  // fetched from its site.
  bool AnythingToInstall() const;

 private:
  Prerequisite& At(size_t index);
  const Prerequisite& At(size_t index) const;
  void RecomputeDownloaded(Prerequisite& prerequisite);
  void Log(const std::wstring& line);

  std::vector<Prerequisite>& prerequisites_;
  IEvaluationEnvironment& environment_;
  // The links, looked up once: the first prerequisite of each name, and the
  // prerequisites that name each parent, so that selecting stays linear.
  std::unordered_map<std::wstring, size_t> firstByName_;
  std::unordered_map<std::wstring, std::vector<size_t>> childrenOf_;
};

}  // namespace cv
