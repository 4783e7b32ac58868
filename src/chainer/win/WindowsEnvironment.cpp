#include "chainer/win/WindowsEnvironment.h"

#include "platform/core/PathText.h"
#include "platform/core/win/FileSystem.h"
#include "platform/core/win/FolderResolution.h"

namespace cv {

std::wstring WindowsEnvironment::ExpandReferences(const std::wstring& text) const {
  return cv::ExpandReferences(text, false);
}

std::wstring WindowsEnvironment::TempFolder() const { return EnsureTrailingBackslash(ToLongPath(GetTempFolder())); }

std::wstring WindowsEnvironment::LoadText(unsigned id) const { return LoadResourceText(id); }

std::wstring LoadResourceText(unsigned id) {
  const wchar_t* text = nullptr;
  // With a zero buffer size LoadStringW hands out a pointer into the resource.
  int length = LoadStringW(GetModuleHandleW(nullptr), id, reinterpret_cast<LPWSTR>(&text), 0);
  return length > 0 && text ? std::wstring(text, static_cast<size_t>(length)) : std::wstring();
}

}  // namespace cv
