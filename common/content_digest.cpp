#include "common/content_digest.h"

namespace parvex {
namespace {

constexpr std::uint64_t kC1 = 0x87c37b91114253d5ull;
constexpr std::uint64_t kC2 = 0x4cf5ad432745937full;

constexpr std::uint64_t Rotl(std::uint64_t x, int r) { return (x << r) | (x >> (64 - r)); }

constexpr std::uint64_t Mix(std::uint64_t k) {
  k ^= k >> 33;
  k *= 0xff51afd7ed558ccdull;
  k ^= k >> 33;
  k *= 0xc4ceb9fe1a85ec53ull;
  k ^= k >> 33;
  return k;
}

// Eight bytes as a little-endian number, whatever the machine's order.
std::uint64_t Load64(const std::uint8_t* p) {
  std::uint64_t v = 0;
  for (int i = 7; i >= 0; --i) v = (v << 8) | p[i];
  return v;
}

}  // namespace

Digest128 DigestOf(std::span<const std::uint8_t> bytes, std::uint32_t seed) {
  const std::uint8_t* p = bytes.data();
  const std::size_t n = bytes.size();
  std::uint64_t h1 = seed;
  std::uint64_t h2 = seed;
  const std::size_t blocks = n / 16;
  for (std::size_t i = 0; i < blocks; ++i) {
    std::uint64_t k1 = Load64(p + 16 * i);
    std::uint64_t k2 = Load64(p + 16 * i + 8);
    h1 ^= Rotl(k1 * kC1, 31) * kC2;
    h1 = (Rotl(h1, 27) + h2) * 5 + 0x52dce729;
    h2 ^= Rotl(k2 * kC2, 33) * kC1;
    h2 = (Rotl(h2, 31) + h1) * 5 + 0x38495ab5;
  }
  const std::uint8_t* tail = p + 16 * blocks;
  const std::size_t rest = n & 15;
  std::uint64_t k1 = 0;
  std::uint64_t k2 = 0;
  for (std::size_t i = rest; i > 8; --i) k2 = (k2 << 8) | tail[i - 1];
  for (std::size_t i = rest < 8 ? rest : 8; i > 0; --i) k1 = (k1 << 8) | tail[i - 1];
  if (rest > 8) h2 ^= Rotl(k2 * kC2, 33) * kC1;
  if (rest > 0) h1 ^= Rotl(k1 * kC1, 31) * kC2;

  h1 ^= n;
  h2 ^= n;
  h1 += h2;
  h2 += h1;
  h1 = Mix(h1);
  h2 = Mix(h2);
  h1 += h2;
  h2 += h1;
  return {h1, h2};
}

Digest128 DigestOf(std::string_view bytes, std::uint32_t seed) {
  return DigestOf(std::span<const std::uint8_t>(
                      reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()),
                  seed);
}

}  // namespace parvex
