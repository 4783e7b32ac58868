// The return codes of the setups a run launched, kept in the registry under
// HKEY_CURRENT_USER\InterbootContext. The key outlives the run only when a
// restart is pending, so that the run after the restart still sees them.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace cv {

inline constexpr char kInterbootKeyName[] = "InterbootContext";

class InterbootStore {
 public:
  // The key is not touched before the first write.
  explicit InterbootStore(std::string keyName = kInterbootKeyName) : keyName_(std::move(keyName)) {}
  // Deletes the key unless KeepKey was called.
  ~InterbootStore();
  InterbootStore(const InterbootStore&) = delete;
  InterbootStore& operator=(const InterbootStore&) = delete;

  // Records the value as signed decimal text; 0, or 3 when the name already
  // holds a value (the first one recorded stays).
  DWORD SetInt(const std::wstring& name, int32_t value);
  DWORD SetString(const std::wstring& name, const std::string& text);
  // 0 and the text; non-zero when the key or the value cannot be read.
  DWORD GetString(const std::wstring& name, std::string& text) const;
  // 0 and the number for a whole signed decimal text; 2 for any other text;
  // a missing value gives 0 and the number 0.
  DWORD GetInt(const std::wstring& name, int32_t& value) const;
  DWORD DeleteValue(const std::wstring& name);
  // Every value as name and text, in the registry's order.
  std::vector<std::pair<std::string, std::string>> Values() const;

  // A restart is pending: the key survives the store.
  void KeepKey() { deleteOnDestruction_ = false; }

 private:
  std::string keyName_;
  bool deleteOnDestruction_ = true;
};

}  // namespace cv
