// Starting other programs: with CreateProcessW or the shell's "open", waiting
// for their exit codes or not. Nothing here logs or shows anything; a failed
// start is reported through the result and the exit code output.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>

namespace cv {

// Waits without limit for the handle while dispatching the calling thread's
// messages; false when the wait fails (a null or closed handle, say).
bool WaitWithMessagePump(HANDLE handle);

// Empty texts are passed as null. On success exitCode receives the child's
// exit code, on failure the Windows error code.
bool RunProcessAndWait(const std::wstring& application, const std::wstring& commandLine, uint32_t* exitCode);

// Opens the file (long-path prefix removed) in its own folder, hidden or
// shown normally, and waits. exitCode keeps its value when the shell gives
// no process back.
bool ShellOpenAndWait(const std::wstring& file, const std::wstring& parameters, bool hidden, uint32_t* exitCode);

// Opens the file hidden and returns at once; the caller needs no result.
bool ShellStartDetached(const std::wstring& file, const std::wstring& parameters, const std::wstring& folder);

}  // namespace cv
