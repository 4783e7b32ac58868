// Folder names, environment variables and registry values as this machine
// resolves them, for the references in package texts.
#pragma once
#include <windows.h>

#include <optional>
#include <string>

#include "platform/core/ReferenceExpansion.h"
#include "platform/core/win/Handles.h"
#include "platform/core/win/RegistryKey.h"

namespace cv {

// The folder that a folder name stands for, with its trailing backslash;
// nothing for a name that is not known (names are case-sensitive) or a folder
// that cannot be found. The 64-bit flag chooses the native SystemFolder.
std::optional<std::wstring> ResolveFolder(const std::wstring& name, bool use64);

// Folder, environment and registry references of text replaced; the 64-bit
// flag also selects the 64-bit registry view (the 32-bit one otherwise).
std::wstring ExpandReferences(const std::wstring& text, bool use64);

// The predefined root key named at the start of a registry path; null when
// the path holds no backslash.
HKEY RegistryRootFromPath(const std::wstring& path);
// The predefined key of a root name; null for none.
HKEY RegistryRootKey(RegistryRoot root);

// Text values without their trailing NULs (not expanded), REG_DWORD in
// decimal; nothing for other types or when the value cannot be read.
std::optional<std::wstring> ReadRegistryValueText(const RegistryKey& key, const std::wstring& valueName);

// A shell folder by CSIDL through its item list; nothing when it is missing
// or does not fit the shell's MAX_PATH buffer.
std::optional<std::wstring> ShellFolderFromIdList(int csidl);

}  // namespace cv
