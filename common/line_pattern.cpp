#include "common/line_pattern.h"

namespace parvex {

std::vector<double> LinePatternToDashes(std::uint32_t pattern, double pitch) {
  int bits = 32;
  std::uint32_t v = pattern;
  std::uint32_t hi16 = v >> 16, lo16 = v & 0xFFFFu;
  if (hi16 == lo16 && hi16 != 0xFFFFu) {
    bits = 16;
    v = hi16;
  }
  if (bits == 16) {
    std::uint32_t hi8 = v >> 8, lo8 = v & 0xFFu;
    if (hi8 == lo8 && hi8 != 0xFFu) {
      bits = 8;
      v = hi8;
    }
  }
  if (bits == 8) {
    std::uint32_t hi4 = v >> 4, lo4 = v & 0xFu;
    if (hi4 == lo4 && hi4 != 0xFu) {
      bits = 4;
      v = hi4;
      std::uint32_t hi2 = v >> 2, lo2 = v & 3u;
      if (hi2 == lo2 && hi2 != 3u) {
        bits = 2;
        v = hi2;
      }
    }
  }
  std::vector<double> lengths;
  if (bits < 2) return lengths;
  int run = 0;
  bool runBit = false;
  for (int i = bits - 1; i >= 0; --i) {
    bool bit = ((v >> i) & 1u) != 0;
    if (run > 0 && bit != runBit) {
      lengths.push_back(runBit ? run * pitch : -run * pitch);
      run = 0;
    }
    runBit = bit;
    ++run;
  }
  lengths.push_back(runBit ? run * pitch : -run * pitch);
  return lengths;
}

}  // namespace parvex
