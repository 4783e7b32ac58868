// The Windows release the program runs on, as read from the registry.
#pragma once
#include <cstdint>

namespace cv {

struct OsInfo {
  uint32_t major = 0;
  uint32_t minor = 0;
  uint32_t build = 0;
  uint32_t servicePack = 0;
  bool isServer = false;
  bool isWow64 = false;
};

}  // namespace cv
