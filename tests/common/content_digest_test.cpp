#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "common/content_digest.h"

namespace parvex {
namespace {

std::string Hex(const Digest128& d) {
  char buf[40];
  std::snprintf(buf, sizeof buf, "%016llx%016llx", static_cast<unsigned long long>(d.hi),
                static_cast<unsigned long long>(d.lo));
  return buf;
}

// Fixed values: the digest must be the same on every platform and in every
// release, or one drawing would get other GUIDs elsewhere. The inputs cover
// the empty run, a tail only, and whole blocks with a tail.
TEST(ContentDigest, KnownValues) {
  struct Case {
    const char* bytes;
    std::uint32_t seed;
    const char* hex;
  } cases[] = {
      {"", 0, "00000000000000000000000000000000"},
      {"hello", 0, "cbd8a7b341bd9b025b1e906a48ae1d19"},
      {"The quick brown fox jumps over the lazy dog", 0, "e34bbc7bbc071b6c7a433ca9c49a9347"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Hex(DigestOf(std::string_view(c.bytes), c.seed)), c.hex) << c.bytes;
  }
  // A seed and a single changed byte each change it.
  EXPECT_NE(DigestOf(std::string_view("hello"), 1), DigestOf(std::string_view("hello"), 0));
  EXPECT_NE(DigestOf(std::string_view("hellp")), DigestOf(std::string_view("hello")));
}

}  // namespace
}  // namespace parvex
