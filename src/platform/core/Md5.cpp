#include "platform/core/Md5.h"

#include <cstring>
#include <memory>

namespace cv {

namespace {

inline uint32_t Rotl(uint32_t x, int n) { return (x << n) | (x >> (32 - n)); }
inline uint32_t Load32(const uint8_t* p) {
  return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}

#define MD5_STEP(f, a, b, c, d, x, t, s) \
  a += f(b, c, d) + (x) + (t);           \
  a = Rotl(a, s) + b;

inline uint32_t F(uint32_t x, uint32_t y, uint32_t z) { return z ^ (x & (y ^ z)); }
inline uint32_t G(uint32_t x, uint32_t y, uint32_t z) { return y ^ (z & (x ^ y)); }
inline uint32_t H(uint32_t x, uint32_t y, uint32_t z) { return x ^ y ^ z; }
inline uint32_t I(uint32_t x, uint32_t y, uint32_t z) { return y ^ (x | ~z); }

}  // namespace

Md5::Md5() : state_{0x67452301u, 0xefcdab89u, 0x98badcfeu, 0x10325476u}, buffer_{} {}

void Md5::Transform(const uint8_t* block) {
  uint32_t x[16];
  for (int i = 0; i < 16; ++i) x[i] = Load32(block + 4 * i);
  uint32_t a = state_[0], b = state_[1], c = state_[2], d = state_[3];

  MD5_STEP(F, a, b, c, d, x[0], 0xd76aa478, 7)
  MD5_STEP(F, d, a, b, c, x[1], 0xe8c7b756, 12)
  MD5_STEP(F, c, d, a, b, x[2], 0x242070db, 17)
  MD5_STEP(F, b, c, d, a, x[3], 0xc1bdceee, 22)
  MD5_STEP(F, a, b, c, d, x[4], 0xf57c0faf, 7)
  MD5_STEP(F, d, a, b, c, x[5], 0x4787c62a, 12)
  MD5_STEP(F, c, d, a, b, x[6], 0xa8304613, 17)
  MD5_STEP(F, b, c, d, a, x[7], 0xfd469501, 22)
  MD5_STEP(F, a, b, c, d, x[8], 0x698098d8, 7)
  MD5_STEP(F, d, a, b, c, x[9], 0x8b44f7af, 12)
  MD5_STEP(F, c, d, a, b, x[10], 0xffff5bb1, 17)
  MD5_STEP(F, b, c, d, a, x[11], 0x895cd7be, 22)
  MD5_STEP(F, a, b, c, d, x[12], 0x6b901122, 7)
  MD5_STEP(F, d, a, b, c, x[13], 0xfd987193, 12)
  MD5_STEP(F, c, d, a, b, x[14], 0xa679438e, 17)
  MD5_STEP(F, b, c, d, a, x[15], 0x49b40821, 22)

  MD5_STEP(G, a, b, c, d, x[1], 0xf61e2562, 5)
  MD5_STEP(G, d, a, b, c, x[6], 0xc040b340, 9)
  MD5_STEP(G, c, d, a, b, x[11], 0x265e5a51, 14)
  MD5_STEP(G, b, c, d, a, x[0], 0xe9b6c7aa, 20)
  MD5_STEP(G, a, b, c, d, x[5], 0xd62f105d, 5)
  MD5_STEP(G, d, a, b, c, x[10], 0x02441453, 9)
  MD5_STEP(G, c, d, a, b, x[15], 0xd8a1e681, 14)
  MD5_STEP(G, b, c, d, a, x[4], 0xe7d3fbc8, 20)
  MD5_STEP(G, a, b, c, d, x[9], 0x21e1cde6, 5)
  MD5_STEP(G, d, a, b, c, x[14], 0xc33707d6, 9)
  MD5_STEP(G, c, d, a, b, x[3], 0xf4d50d87, 14)
  MD5_STEP(G, b, c, d, a, x[8], 0x455a14ed, 20)
  MD5_STEP(G, a, b, c, d, x[13], 0xa9e3e905, 5)
  MD5_STEP(G, d, a, b, c, x[2], 0xfcefa3f8, 9)
  MD5_STEP(G, c, d, a, b, x[7], 0x676f02d9, 14)
  MD5_STEP(G, b, c, d, a, x[12], 0x8d2a4c8a, 20)

  MD5_STEP(H, a, b, c, d, x[5], 0xfffa3942, 4)
  MD5_STEP(H, d, a, b, c, x[8], 0x8771f681, 11)
  MD5_STEP(H, c, d, a, b, x[11], 0x6d9d6122, 16)
  MD5_STEP(H, b, c, d, a, x[14], 0xfde5380c, 23)
  MD5_STEP(H, a, b, c, d, x[1], 0xa4beea44, 4)
  MD5_STEP(H, d, a, b, c, x[4], 0x4bdecfa9, 11)
  MD5_STEP(H, c, d, a, b, x[7], 0xf6bb4b60, 16)
  MD5_STEP(H, b, c, d, a, x[10], 0xbebfbc70, 23)
  MD5_STEP(H, a, b, c, d, x[13], 0x289b7ec6, 4)
  MD5_STEP(H, d, a, b, c, x[0], 0xeaa127fa, 11)
  MD5_STEP(H, c, d, a, b, x[3], 0xd4ef3085, 16)
  MD5_STEP(H, b, c, d, a, x[6], 0x04881d05, 23)
  MD5_STEP(H, a, b, c, d, x[9], 0xd9d4d039, 4)
  MD5_STEP(H, d, a, b, c, x[12], 0xe6db99e5, 11)
  MD5_STEP(H, c, d, a, b, x[15], 0x1fa27cf8, 16)
  MD5_STEP(H, b, c, d, a, x[2], 0xc4ac5665, 23)

  MD5_STEP(I, a, b, c, d, x[0], 0xf4292244, 6)
  MD5_STEP(I, d, a, b, c, x[7], 0x432aff97, 10)
  MD5_STEP(I, c, d, a, b, x[14], 0xab9423a7, 15)
  MD5_STEP(I, b, c, d, a, x[5], 0xfc93a039, 21)
  MD5_STEP(I, a, b, c, d, x[12], 0x655b59c3, 6)
  MD5_STEP(I, d, a, b, c, x[3], 0x8f0ccc92, 10)
  MD5_STEP(I, c, d, a, b, x[10], 0xffeff47d, 15)
  MD5_STEP(I, b, c, d, a, x[1], 0x85845dd1, 21)
  MD5_STEP(I, a, b, c, d, x[8], 0x6fa87e4f, 6)
  MD5_STEP(I, d, a, b, c, x[15], 0xfe2ce6e0, 10)
  MD5_STEP(I, c, d, a, b, x[6], 0xa3014314, 15)
  MD5_STEP(I, b, c, d, a, x[13], 0x4e0811a1, 21)
  MD5_STEP(I, a, b, c, d, x[4], 0xf7537e82, 6)
  MD5_STEP(I, d, a, b, c, x[11], 0xbd3af235, 10)
  MD5_STEP(I, c, d, a, b, x[2], 0x2ad7d2bb, 15)
  MD5_STEP(I, b, c, d, a, x[9], 0xeb86d391, 21)

  state_[0] += a;
  state_[1] += b;
  state_[2] += c;
  state_[3] += d;
}

void Md5::Update(const void* data, size_t size) {
  if (finished_ || size == 0) return;
  const uint8_t* p = static_cast<const uint8_t*>(data);
  size_t used = static_cast<size_t>((bitCount_ >> 3) & 63);
  bitCount_ += static_cast<uint64_t>(size) << 3;
  if (used != 0) {
    size_t take = 64 - used;
    if (size < take) {
      std::memcpy(buffer_ + used, p, size);
      return;
    }
    std::memcpy(buffer_ + used, p, take);
    Transform(buffer_);
    p += take;
    size -= take;
  }
  for (; size >= 64; p += 64, size -= 64) Transform(p);
  std::memcpy(buffer_, p, size);
}

void Md5::Finish() {
  if (finished_) return;
  uint8_t length[8];
  for (int i = 0; i < 8; ++i) length[i] = static_cast<uint8_t>(bitCount_ >> (8 * i));
  size_t used = static_cast<size_t>((bitCount_ >> 3) & 63);
  static const uint8_t kPadding[64] = {0x80};
  Update(kPadding, used < 56 ? 56 - used : 120 - used);
  Update(length, 8);
  for (int i = 0; i < 4; ++i)
    for (int j = 0; j < 4; ++j) digest_[4 * i + j] = static_cast<uint8_t>(state_[i] >> (8 * j));
  finished_ = true;
}

std::string Md5::HexDigest() const {
  static const char kHex[] = "0123456789abcdef";
  std::string text;
  for (uint8_t byte : digest_) {
    text.push_back(kHex[byte >> 4]);
    text.push_back(kHex[byte & 15]);
  }
  return text;
}

uint64_t HashReads(Md5& md5, uint64_t size, const ReadChunk& read) {
  constexpr size_t kChunk = 65536;
  std::unique_ptr<uint8_t[]> buffer(new uint8_t[kChunk]);
  uint64_t hashed = 0;
  while (hashed < size) {
    size_t got = read(buffer.get(), kChunk);
    if (got == 0) break;
    uint64_t take = got < size - hashed ? got : size - hashed;
    md5.Update(buffer.get(), static_cast<size_t>(take));
    hashed += take;
  }
  return hashed;
}

}  // namespace cv
