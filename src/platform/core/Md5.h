// MD5 message digest (RFC 1321).
#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

namespace cv {

class Md5 {
 public:
  Md5();
  void Update(const void* data, size_t size);
  // Further updates and finishes after the first finish are ignored.
  void Finish();
  const uint8_t* Digest() const { return digest_; }
  // 32 lowercase hexadecimal characters.
  std::string HexDigest() const;

 private:
  void Transform(const uint8_t* block);

  uint32_t state_[4];
  uint64_t bitCount_ = 0;
  uint8_t buffer_[64];
  uint8_t digest_[16] = {};
  bool finished_ = false;
};

// Fills buffer with up to size bytes; 0 at the end or when reading fails.
using ReadChunk = std::function<size_t(uint8_t* buffer, size_t size)>;

// Hashes what read delivers, in 64 KiB reads, up to size bytes: bytes beyond
// it (appended while reading) are ignored, and a read that delivers nothing
// ends the hash early. Returns the number of bytes hashed.
uint64_t HashReads(Md5& md5, uint64_t size, const ReadChunk& read);

}  // namespace cv
