#include "platform/core/win/FileMd5.h"

#include <windows.h>

#include <cstring>
#include <memory>

#include "platform/core/Md5.h"
#include "platform/core/PathText.h"
#include "platform/core/win/Handles.h"

namespace cv {

bool ComputeFileMd5(const std::wstring& path, char* digestText) {
  digestText[0] = '\0';
  UniqueFile file(CreateFileW(ToLongPath(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  if (!file) return false;
  DWORD size = GetFileSize(file.get(), nullptr);
  if (size == INVALID_FILE_SIZE || size == 0) return false;

  constexpr DWORD kChunk = 65536;
  std::unique_ptr<uint8_t[]> buffer(new uint8_t[kChunk]);
  Md5 md5;
  DWORD hashed = 0;
  for (;;) {
    DWORD read = 0;
    if (!ReadFile(file.get(), buffer.get(), kChunk, &read, nullptr) || read == 0) break;
    // Bytes appended while we read are not part of the file we were asked about.
    DWORD take = read > size - hashed ? size - hashed : read;
    md5.Update(buffer.get(), take);
    hashed += take;
    if (hashed >= size) break;
  }
  md5.Finish();
  std::memcpy(digestText, md5.HexDigest().c_str(), 33);
  return true;
}

}  // namespace cv
