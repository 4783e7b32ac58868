// The wait until no Windows Installer installation is executing.
#pragma once
#include <windows.h>

namespace cv {

// The Windows Installer holds this mutex while an installation executes.
inline constexpr wchar_t kInstallerMutexName[] = L"Global\\_MSIExecute";

// Waits without limit for the named mutex, dispatching the calling thread's
// messages meanwhile. True when the mutex does not exist or was signalled;
// false when it was abandoned, the wait failed or it could not be opened.
// Whatever the outcome, the process does not own the mutex afterwards, so
// the MSI setups it starts later can take it.
bool WaitForInstallerMutex(const wchar_t* name = kInstallerMutexName);

}  // namespace cv
