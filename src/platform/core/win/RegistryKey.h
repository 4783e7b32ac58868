// Registry keys opened in a named view. The shipped program is 32-bit: on
// 64-bit Windows it sees the 32-bit view unless it asks for the 64-bit one.
// Every open names its view (KEY_WOW64_64KEY or KEY_WOW64_32KEY), so a
// 64-bit build of the same sources reads exactly the keys the shipped
// program reads.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/core/Result.h"
#include "platform/core/win/Handles.h"

namespace cv {

enum class RegistryView { k32, k64 };

// The view a prerequisite's 64-bit flag asks for.
inline RegistryView RegistryViewFor(bool use64) { return use64 ? RegistryView::k64 : RegistryView::k32; }

// A value as stored: its type and its bytes, whole.
struct RegistryValue {
  DWORD type = REG_NONE;
  std::vector<BYTE> data;
};

class RegistryKey {
 public:
  RegistryKey() = default;

  static Result<RegistryKey> Open(HKEY root, const std::wstring& path, RegistryView view,
                                  REGSAM access = KEY_READ);
  // Opens the key, creating it and its missing parents.
  static Result<RegistryKey> Create(HKEY root, const std::wstring& path, RegistryView view,
                                    REGSAM access = KEY_READ | KEY_WRITE);
  // Deletes the key with everything below it; 0 or the Windows error.
  static DWORD DeleteTree(HKEY root, const std::wstring& path, RegistryView view);

  HKEY Handle() const { return key_.get(); }

  Result<RegistryValue> ReadValue(const std::wstring& name) const;
  // REG_DWORD only.
  Result<uint32_t> ReadDword(const std::wstring& name) const;
  // REG_SZ or REG_EXPAND_SZ (not expanded), up to its first NUL; the data
  // need not end with one.
  Result<std::wstring> ReadString(const std::wstring& name) const;

  DWORD WriteValue(const std::wstring& name, DWORD type, const void* data, size_t size) const;
  DWORD WriteDword(const std::wstring& name, uint32_t value) const;
  // REG_SZ with its terminating NUL.
  DWORD WriteString(const std::wstring& name, const std::wstring& text) const;

  // Names of the subkeys and of the values, in the registry's order; empty
  // when the key cannot be listed.
  std::vector<std::wstring> SubkeyNames() const;
  std::vector<std::wstring> ValueNames() const;

 private:
  explicit RegistryKey(HKEY key) : key_(key) {}

  UniqueKey key_;
};

}  // namespace cv
