#include "platform/core/win/FileMd5.h"

#include <windows.h>

#include <cstring>

#include "platform/core/Md5.h"
#include "platform/core/PathText.h"
#include "platform/core/win/Handles.h"

namespace cv {

bool ComputeFileMd5(const std::wstring& path, char* digestText) {
  digestText[0] = '\0';
  UniqueFile file(CreateFileW(ToLongPath(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  if (!file) return false;
  LARGE_INTEGER fileSize{};
  if (!GetFileSizeEx(file.get(), &fileSize) || fileSize.QuadPart <= 0) return false;

  Md5 md5;
  HashReads(md5, static_cast<uint64_t>(fileSize.QuadPart), [&file](uint8_t* buffer, size_t size) -> size_t {
    DWORD read = 0;
    if (!ReadFile(file.get(), buffer, static_cast<DWORD>(size), &read, nullptr)) return 0;
    return read;
  });
  md5.Finish();
  std::memcpy(digestText, md5.HexDigest().c_str(), 33);
  return true;
}

}  // namespace cv
