#include "platform/core/Md5.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "platform/core/Encoding.h"

using namespace cv;

namespace {
std::string Md5Of(const std::string& data, size_t chunk) {
  Md5 md5;
  for (size_t at = 0; at < data.size(); at += chunk) md5.Update(data.data() + at, std::min(chunk, data.size() - at));
  md5.Finish();
  return md5.HexDigest();
}
}  // namespace

TEST(Md5, Rfc1321VectorsInAnyChunking) {
  const std::pair<std::string, std::string> vectors[] = {
      {"", "d41d8cd98f00b204e9800998ecf8427e"},
      {"a", "0cc175b9c0f1b6a831c399e269772661"},
      {"abc", "900150983cd24fb0d6963f7d28e17f72"},
      {"message digest", "f96b697d7cb7938d525a2f31aaf161d0"},
      {"abcdefghijklmnopqrstuvwxyz", "c3fcd3d76192e4007dfb496cca67e13b"},
      {"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789", "d174ab98d277d9f5a5611c2c9f419d9f"},
      {"12345678901234567890123456789012345678901234567890123456789012345678901234567890",
       "57edf4a22be3c955ac49da2e2107b67a"},
  };
  for (const auto& [input, digest] : vectors)
    for (size_t chunk : {1u, 7u, 64u, 1000u}) EXPECT_EQ(Md5Of(input, chunk), digest) << input << " / " << chunk;
}

TEST(Md5, BlockBoundariesAndFinishOnce) {
  // Lengths around the 56-byte padding limit and the 64-byte block.
  EXPECT_EQ(Md5Of(std::string(55, 'a'), 64), "ef1772b6dff9a122358552954ad0df65");
  EXPECT_EQ(Md5Of(std::string(56, 'a'), 64), "3b0c8ac703f828b04c6c197006d17218");
  EXPECT_EQ(Md5Of(std::string(64, 'a'), 64), "014842d480b571495a4a0363793f7367");
  EXPECT_EQ(Md5Of(std::string(65536, 'a'), 65536), "2d61aa54b58c2e94403fb092c3dbc027");
  Md5 md5;
  md5.Update("abc", 3);
  md5.Finish();
  md5.Update("more", 4);
  md5.Finish();
  EXPECT_EQ(md5.HexDigest(), "900150983cd24fb0d6963f7d28e17f72");
}

TEST(Md5, HashReadsStopsAtTheSizeAndAtTheEndOfTheData) {
  // A source of `available` bytes of 'a', read in whatever pieces it likes.
  auto source = [](uint64_t available, uint64_t* served) {
    return [available, served](uint8_t* buffer, size_t size) -> size_t {
      size_t n = static_cast<size_t>(std::min<uint64_t>(size, available - *served));
      std::memset(buffer, 'a', n);
      *served += n;
      return n;
    };
  };
  struct Case {
    uint64_t size;       // taken when the file was opened
    uint64_t available;  // what reading delivers
    uint64_t hashed;
    const char* digest;
  } cases[] = {
      {65536 + 3, 65536 + 3, 65536 + 3, "aec0625ae52063a8311cf47d39ac58a1"},
      {3, 65536 + 3, 3, "47bce5c74f589f4867dbd57e9ca9f808"},  // bytes appended while reading are ignored
      // Announced above 4 GiB (4 in its low 32 bits), ends early: everything
      // read is hashed, not 4 bytes.
      {(4ull << 30) + 4, 65536 + 3, 65536 + 3, "aec0625ae52063a8311cf47d39ac58a1"},
  };
  for (const Case& c : cases) {
    Md5 md5;
    uint64_t served = 0;
    EXPECT_EQ(HashReads(md5, c.size, source(c.available, &served)), c.hashed) << c.size;
    md5.Finish();
    EXPECT_EQ(md5.HexDigest(), c.digest) << c.size;
  }
}

TEST(PercentDecode, EscapesAndMalformedOnes) {
  const std::pair<std::wstring, std::wstring> cases[] = {
      {L"a%20b", L"a b"}, {L"100%", L"100%"}, {L"%4", L"%4"}, {L"%zz", L"%zz"}, {L"%%41", L"%A"},
      {L"%e9%C3%A9", L"\x00E9\x00C3\x00A9"}, {L"user%3Aname%40x", L"user:name@x"}, {L"", L""},
  };
  for (const auto& [in, out] : cases) EXPECT_EQ(PercentDecode(in), out) << in;
}
