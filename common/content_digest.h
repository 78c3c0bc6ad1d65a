// A 128-bit digest of a run of bytes, to tell contents apart (two drawings,
// or one drawing under two sets of settings) without keeping them. Not a
// cryptographic hash: it guards against accidents, not against someone who
// builds two files to collide.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace parvex {

struct Digest128 {
  std::uint64_t hi = 0;
  std::uint64_t lo = 0;
  friend bool operator==(const Digest128&, const Digest128&) = default;
};

// MurmurHash3 (x64, 128 bits) of the bytes with `seed`; the same value on
// every platform. hi is the first half of the hash, lo the second.
Digest128 DigestOf(std::span<const std::uint8_t> bytes, std::uint32_t seed = 0);
Digest128 DigestOf(std::string_view bytes, std::uint32_t seed = 0);

}  // namespace parvex
