// Libraries loaded from the system folder only. Installers run from download
// folders, where anyone can leave a DLL named like a system one: every DLL
// that is not a KnownDLL is loaded through here, never by a bare name.
#pragma once
#include <windows.h>

#include "platform/core/win/Handles.h"

namespace cv {

// The library from the system folder; null when it cannot be loaded there.
UniqueLibrary LoadSystemLibrary(const wchar_t* name);

// Restricts the default DLL search of the process to the system folder, so
// that no library, including those that system DLLs load themselves, comes
// from the program's folder or the current one. False where Windows lacks
// the call (Vista and 7 without the DLL-directory update).
bool RestrictDllSearchToSystemFolder();

}  // namespace cv
