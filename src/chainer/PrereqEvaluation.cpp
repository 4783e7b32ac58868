#include "chainer/PrereqEvaluation.h"

#include "platform/core/ExceptionHandling.h"

namespace cv {

namespace {

constexpr uint16_t kArm64Machine = 0xAA64;

bool IsMissing(int32_t state) {
  return state == StateInstallFromPackage || state == StateDownload || state == StateFetchFromSite;
}

// "c": not on ARM64; "d": only on ARM64. A system that cannot say what it
// runs on (no IsWow64Process2) is no ARM64 system; a failed call restricts
// nothing.
bool ProcessorExcludes(const Prerequisite& prerequisite, const NativeMachine& native) {
  switch (native.status) {
    case NativeMachine::Status::Known:
      return native.machine == kArm64Machine ? prerequisite.HasOption(L'c') : prerequisite.HasOption(L'd');
    case NativeMachine::Status::FunctionMissing:
      return prerequisite.HasOption(L'd');
    case NativeMachine::Status::CallFailed:
      return false;
  }
  return false;
}

}  // namespace

const wchar_t* PrereqStateText(int32_t state) {
  switch (state) {
    case StateFound: return L"An acceptable version was found.";
    case StateInstallFromPackage: return L"No acceptable version found. It must be installed from package.";
    case StateDownload: return L"No acceptable version found. It must be downloaded.";
    case StateFetchFromSite: return L"No acceptable version found. It must be downloaded manually from a site.";
    case StateNotApplicable: return L"No acceptable version found. Operating System not supported.";
    case StateAlreadyDownloaded:
      return L"No acceptable version found. It is already downloaded and it will be installed.";
    case StateMissing: return L"No acceptable version found.";
    case StateNotSelected: return L"Not selected for install.";
    default: return L"Undefined";
  }
}

PrereqEvaluation::PrereqEvaluation(std::vector<Prerequisite>& prerequisites, IEvaluationEnvironment& environment)
    : prerequisites_(prerequisites), environment_(environment) {
  for (size_t i = 0; i < prerequisites_.size(); ++i) {
    firstByName_.emplace(prerequisites_[i].name, i);
    childrenOf_[prerequisites_[i].ParentPrereq].push_back(i);
  }
}

Prerequisite& PrereqEvaluation::At(size_t index) {
  if (index >= prerequisites_.size()) ThrowHResult(kE_BOUNDS);
  return prerequisites_[index];
}

const Prerequisite& PrereqEvaluation::At(size_t index) const {
  if (index >= prerequisites_.size()) ThrowHResult(kE_BOUNDS);
  return prerequisites_[index];
}

void PrereqEvaluation::Log(const std::wstring& line) {
  if (environment_.LoggingEnabled()) environment_.WriteLine(line);
}

void PrereqEvaluation::EvaluatePrerequisite(size_t index, bool recheck) {
  Prerequisite& p = At(index);
  if (p.state == StateNotApplicable) return;  // final for the run
  if (!environment_.OsAllowed(p.WinNTVersions, p.WinNT64Versions) || !environment_.LanguageAllowed(p.LanguageList)) {
    Log(L"Wrong OS or Os language for:" + p.name);
    p.state = StateNotApplicable;
    return;
  }
  if (ProcessorExcludes(p, environment_.QueryNativeMachine())) {
    p.state = StateNotApplicable;
    return;
  }
  Log(L"Searching for:" + p.name);
  if (recheck && p.skipDetection) return;
  bool found = false;
  if (!p.skipDetection) found = environment_.EvaluateSearches(p, p.HasOption(L'x'), p.searchResults);
  if (found) {
    p.state = StateFound;
  } else {
    switch (p.sourceKind) {
      case SourceKind::Download: p.state = StateDownload; break;
      case SourceKind::Site: p.state = StateFetchFromSite; break;
      case SourceKind::Package: p.state = StateInstallFromPackage; break;
    }
  }
  Log(std::wstring(L"Search result:") + PrereqStateText(p.state));
}

void PrereqEvaluation::RecomputeDownloaded(Prerequisite& prerequisite) {
  if (prerequisite.state == StateDownload) prerequisite.alreadyDownloaded = environment_.IsAlreadyDownloaded(prerequisite);
}

void PrereqEvaluation::EvaluateAll() {
  for (size_t i = 0; i < prerequisites_.size(); ++i) EvaluatePrerequisite(i, false);
  for (size_t i = 0; i < prerequisites_.size(); ++i) {
    RecomputeDownloaded(prerequisites_[i]);
    SetSelected(i, IsMissing(prerequisites_[i].state));
  }
}

void PrereqEvaluation::SetSelected(size_t index, bool selected) {
  Prerequisite& p = At(index);
  if (p.selected == selected) return;
  p.selected = selected;
  if (selected) Log(L"Prerequisite selected for install:" + p.name);
  auto children = childrenOf_.find(p.name);
  if (children != childrenOf_.end()) {
    for (size_t j : children->second) {
      Prerequisite& child = prerequisites_[j];
      if (j == index || child.state == StateNotApplicable) continue;
      SetSelected(j, selected && IsMissing(child.state));
    }
  }
  if (selected && !p.ParentPrereq.empty()) {
    // A parent that names no prerequisite is no link at all.
    auto parent = firstByName_.find(p.ParentPrereq);
    if (parent != firstByName_.end()) {
      int32_t state = prerequisites_[parent->second].state;
      if (state != StateFound && state != StateNotApplicable) SetSelected(parent->second, true);
    }
  }
  p.selected = selected;
}

int32_t PrereqEvaluation::GetDisplayState(size_t index) const {
  const Prerequisite& p = At(index);
  if (!p.selected) return StateNotSelected;
  if (p.state == StateDownload && p.alreadyDownloaded) return StateAlreadyDownloaded;
  return p.state;
}

void PrereqEvaluation::FinishEvaluation() {
  for (size_t i = 0; i < prerequisites_.size(); ++i) {
    int32_t display = GetDisplayState(i);
    if (display == StateNotSelected || display == StateNotApplicable) continue;
    EvaluatePrerequisite(i, true);
    RecomputeDownloaded(prerequisites_[i]);
    SetSelected(i, IsMissing(prerequisites_[i].state));
  }
}

bool PrereqEvaluation::AllMandatoryInPlace() const {
  for (size_t i = 0; i < prerequisites_.size(); ++i) {
    const Prerequisite& p = prerequisites_[i];
    if (!p.HasOption(L'm') || p.HasOption(L'i')) continue;
    int32_t display = GetDisplayState(i);
    if (display != StateFound && display != StateNotSelected) return false;
  }
  return true;
}

bool PrereqEvaluation::IsNowInPlace(size_t index) {
  EvaluatePrerequisite(index, true);
  RecomputeDownloaded(At(index));
  return At(index).state == StateFound;
}

bool PrereqEvaluation::AnythingToInstall() const {
  for (const Prerequisite& p : prerequisites_)
    if (IsMissing(p.state)) return true;
  return false;
}

}  // namespace cv
