#include "platform/core/win/ProcessExecution.h"

#include <shellapi.h>

#include "platform/core/PathText.h"
#include "platform/core/win/Handles.h"

namespace cv {

namespace {

const wchar_t* OrNull(const std::wstring& text) { return text.empty() ? nullptr : text.c_str(); }

// Waits for the child (if a handle came back) and takes its exit code.
ProcessOutcome WaitForChild(HANDLE process) {
  UniqueHandle owned(process);
  ProcessOutcome outcome;
  if (!owned) return outcome;
  WaitForSingleObject(owned.get(), INFINITE);
  DWORD code = 0;
  if (GetExitCodeProcess(owned.get(), &code)) outcome.exitCode = code;
  return outcome;
}

ProcessOutcome StartFailed(DWORD error) {
  ProcessOutcome outcome;
  outcome.startError = error != 0 ? error : ERROR_GEN_FAILURE;
  return outcome;
}

// The folder a file lies in, fit to be a working folder: for a file at a
// drive root that is "D:\", since "D:" names the drive's current folder.
std::wstring WorkingFolderOf(const std::wstring& path) {
  std::wstring folder = GetParentFolder(path);
  if (!folder.empty() && folder.back() == L':') folder.push_back(L'\\');
  return folder;
}

}  // namespace

bool WaitWithMessagePump(HANDLE handle) {
  for (;;) {
    DWORD result = MsgWaitForMultipleObjectsEx(1, &handle, INFINITE, QS_ALLINPUT | QS_ALLPOSTMESSAGE,
                                               MWMO_INPUTAVAILABLE);
    if (result == WAIT_OBJECT_0) return true;
    if (result != WAIT_OBJECT_0 + 1) return false;
    // One message per wake-up; the next wait returns at once while more are queued.
    MSG message;
    if (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
  }
}

ProcessOutcome RunProcessAndWait(const std::wstring& application, const std::wstring& commandLine) {
  // All zero but its size: the child shows its window as it chooses.
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION info{};
  // CreateProcessW given neither may fault instead of failing.
  if (application.empty() && commandLine.empty()) return StartFailed(ERROR_INVALID_PARAMETER);
  std::wstring writable = commandLine;  // CreateProcessW may write into the command line
  if (!CreateProcessW(OrNull(application), commandLine.empty() ? nullptr : writable.data(), nullptr, nullptr, FALSE,
                      NORMAL_PRIORITY_CLASS, nullptr, nullptr, &startup, &info))
    return StartFailed(GetLastError());
  UniqueHandle thread(info.hThread);
  return WaitForChild(info.hProcess);
}

// The "open" request both shell starts make; the texts must outlive it.
static SHELLEXECUTEINFOW OpenRequest(const std::wstring& file, const std::wstring& parameters, const std::wstring& folder,
                              int show) {
  SHELLEXECUTEINFOW execute{};
  execute.cbSize = sizeof(execute);
  execute.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
  execute.lpVerb = L"open";
  execute.lpFile = file.c_str();
  execute.lpParameters = OrNull(parameters);
  execute.lpDirectory = OrNull(folder);
  execute.nShow = show;
  return execute;
}

ProcessOutcome ShellOpenAndWait(const std::wstring& file, const std::wstring& parameters, bool hidden) {
  // The shell does not take the long-path form.
  std::wstring path = FromLongPath(file);
  std::wstring folder = WorkingFolderOf(path);
  SHELLEXECUTEINFOW execute = OpenRequest(path, parameters, folder, hidden ? SW_HIDE : SW_SHOWNORMAL);
  if (!ShellExecuteExW(&execute)) return StartFailed(GetLastError());
  return WaitForChild(execute.hProcess);
}

bool ShellStartDetached(const std::wstring& file, const std::wstring& parameters, const std::wstring& folder) {
  SHELLEXECUTEINFOW execute = OpenRequest(file, parameters, folder, SW_HIDE);
  if (!ShellExecuteExW(&execute)) {
    auto instance = reinterpret_cast<INT_PTR>(execute.hInstApp);
    if (instance == SE_ERR_NOASSOC || instance == SE_ERR_ASSOCINCOMPLETE) {
      // Without an "open" verb the default one may do, and the shell may ask the user.
      execute.fMask &= ~static_cast<ULONG>(SEE_MASK_FLAG_NO_UI);
      execute.lpVerb = nullptr;
      ShellExecuteExW(&execute);
    }
  }
  UniqueHandle process(execute.hProcess);
  // The started program may bring its own window to the front.
  if (process) AllowSetForegroundWindow(GetProcessId(process.get()));
  return true;
}

}  // namespace cv
