// Starting other programs: with CreateProcessW or the shell's "open", waiting
// for their exit codes or not. Nothing here logs or shows anything; a failed
// start is reported through the result.
#pragma once
#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>

namespace cv {

// What became of a start that waits. A start error and a child's exit code
// are kept apart: a setup may well exit with 2, which is not "file not found".
struct ProcessOutcome {
  DWORD startError = 0;              // the Windows error when the start failed
  std::optional<uint32_t> exitCode;  // the child's, once it ended; none when the shell gave no process back

  bool Started() const { return startError == 0; }
};

// Waits without limit for the handle while dispatching the calling thread's
// messages; false when the wait fails (a null or closed handle, say).
bool WaitWithMessagePump(HANDLE handle);

// Empty texts are passed as null; the child runs in this program's current
// folder and shows its window as it chooses.
ProcessOutcome RunProcessAndWait(const std::wstring& application, const std::wstring& commandLine);

// Opens the file (long-path prefix removed) in its own folder, hidden or
// shown normally, and waits.
ProcessOutcome ShellOpenAndWait(const std::wstring& file, const std::wstring& parameters, bool hidden);

// Opens the file hidden and returns at once; the caller needs no result.
bool ShellStartDetached(const std::wstring& file, const std::wstring& parameters, const std::wstring& folder);

}  // namespace cv
