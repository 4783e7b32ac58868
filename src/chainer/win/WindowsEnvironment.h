// The configuration's view of this machine.
#pragma once
#include <windows.h>

#include "chainer/PackageConfiguration.h"

namespace cv {

class WindowsEnvironment final : public IConfigurationEnvironment {
 public:
  std::wstring ExpandReferences(const std::wstring& text) const override;
  std::wstring TempFolder() const override;
  std::wstring LoadText(unsigned id) const override;
};

// A string of this program's string table; empty when it is missing.
std::wstring LoadResourceText(unsigned id);

}  // namespace cv
