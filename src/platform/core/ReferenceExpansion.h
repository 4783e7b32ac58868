// Expansion of the references that package texts use instead of literal
// paths: folder names in square brackets, environment variables between
// percent signs, registry values between exclamation marks.
#pragma once
#include <optional>
#include <string>

namespace cv {

// What the references stand for on a machine.
class IReferenceResolver {
 public:
  virtual ~IReferenceResolver() = default;
  // The folder with its trailing backslash; nothing for an unknown name.
  virtual std::optional<std::wstring> ResolveFolder(const std::wstring& name, bool use64) const = 0;
  // Empty when the variable is not defined.
  virtual std::wstring EnvironmentValue(const std::wstring& name) const = 0;
  // Root\Key\Value; empty when it cannot be read.
  virtual std::wstring RegistryValueText(const std::wstring& reference, bool use64) const = 0;
};

// Replaced text is never scanned again, references do not nest, and an
// opener without its closer stays as it is.
std::wstring ExpandReferences(const std::wstring& text, bool use64, const IReferenceResolver& resolver);

enum class RegistryRoot { None, LocalMachine, CurrentUser, ClassesRoot, CurrentConfig, Users };

// The root named before the first backslash (HKLM, HKEY_LOCAL_MACHINE, ...,
// any case); any other name means HKEY_USERS. None without a backslash.
RegistryRoot ParseRegistryRoot(const std::wstring& path);

struct RegistryValuePath {
  std::wstring key;    // between the first and the last backslash
  std::wstring value;  // after the last backslash
};
RegistryValuePath SplitRegistryValuePath(const std::wstring& path);

}  // namespace cv
