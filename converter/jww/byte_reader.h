// Sequential little-endian reader over bytes held in memory. It always
// knows how many bytes remain, so callers can check a stated count against
// what the rest of the input could hold before they allocate anything.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>

namespace parvex {

static_assert(std::endian::native == std::endian::little,
              "drawing files are read by copying little-endian bytes");

class ByteReader {
 public:
  explicit ByteReader(std::span<const uint8_t> data) : data_(data) {}

  size_t Remaining() const { return data_.size() - pos_; }
  size_t Position() const { return pos_; }
  bool AtEnd() const { return pos_ >= data_.size(); }
  // True once any read asked for more than was left.
  bool HitEnd() const { return hitEnd_; }
  bool Has(size_t n) const { return n <= Remaining(); }

  // Returns a pointer to the next n bytes and moves past them, or nullptr
  // (and moves to the end) when fewer remain.
  const uint8_t* Take(size_t n) {
    if (n > Remaining()) {
      pos_ = data_.size();
      hitEnd_ = true;
      return nullptr;
    }
    const uint8_t* p = data_.data() + pos_;
    pos_ += n;
    return p;
  }

  // Takes up to n bytes: all of them when they remain, else the rest (and
  // notes the short read). `got` receives the number taken.
  const uint8_t* TakeUpTo(size_t n, size_t& got) {
    const uint8_t* p = data_.data() + pos_;
    got = n <= Remaining() ? n : Remaining();
    if (got < n) hitEnd_ = true;
    pos_ += got;
    return p;
  }

  bool Skip(size_t n) { return Take(n) != nullptr; }

  // Scalar reads leave `out` untouched when the input is too short.
  bool U8(uint8_t& out) { return Scalar(out); }
  bool U16(uint16_t& out) { return Scalar(out); }
  bool U32(uint32_t& out) { return Scalar(out); }
  bool I32(int32_t& out) { return Scalar(out); }
  bool F64(double& out) { return Scalar(out); }

  void Seek(size_t pos) { pos_ = pos <= data_.size() ? pos : data_.size(); }

 private:
  template <typename T>
  bool Scalar(T& out) {
    const uint8_t* p = Take(sizeof(T));
    if (p == nullptr) return false;
    T v;
    std::memcpy(&v, p, sizeof(T));  // the files and the targets are little-endian
    out = v;
    return true;
  }

  std::span<const uint8_t> data_;
  size_t pos_ = 0;
  bool hitEnd_ = false;
};

// Decoding helpers over a pointer returned by ByteReader::Take.
template <typename T>
inline T LoadLE(const uint8_t* p) {
  T v;
  std::memcpy(&v, p, sizeof(T));
  return v;
}

}  // namespace parvex
