// 8-bit text in a Windows code page (CP_ACP, CP_THREAD_ACP) and UTF-16.
#pragma once
#include <windows.h>

#include <string>

namespace cv {

std::wstring WideFromCodePage(const std::string& text, UINT codePage);
std::string CodePageFromWide(const std::wstring& text, UINT codePage);

}  // namespace cv
