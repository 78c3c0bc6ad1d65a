// Doubles that are hard to write with 15 significant digits, for checking
// the fast real-number text against the one built on std::to_chars (the
// dxf tests and the number-text benchmark). Header only.
#pragma once

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

namespace parvex::testing {

// The double nearest to the decimal text.
inline double DecimalValue(const std::string& text) { return std::strtod(text.c_str(), nullptr); }

// x and the `ulps` doubles on either side of it.
inline void AppendNeighbours(double x, int ulps, std::vector<double>& out) {
  out.push_back(x);
  double up = x;
  double down = x;
  for (int i = 0; i < ulps; ++i) {
    up = std::nextafter(up, std::numeric_limits<double>::infinity());
    down = std::nextafter(down, -std::numeric_limits<double>::infinity());
    out.push_back(up);
    out.push_back(down);
  }
}

// Around every power of ten from 1e-15 to 1e308 (the zero snap at 1e-14,
// the fixed-point range 1e-4 to 1e15) and around every point where 15
// digits round up to the next power of ten (9.999999999999995eN).
inline void AppendAroundPowersOfTen(int ulps, std::vector<double>& out) {
  for (int k = -15; k <= 308; ++k) {
    AppendNeighbours(DecimalValue("1e" + std::to_string(k)), ulps, out);
    AppendNeighbours(DecimalValue("9.999999999999995e" + std::to_string(k - 1)), ulps, out);
  }
}

// Near halfway points: the doubles nearest to a random 15-digit value plus
// half a unit of its 15th digit ("d.dddddddddddddd5eN"), with neighbours,
// over the whole range the text rounds (1e-14 to 1e308).
inline void AppendNearHalfwayPoints(std::mt19937_64& rng, int count, int ulps,
                                    std::vector<double>& out) {
  std::uniform_int_distribution<std::int64_t> digits(100000000000000LL, 999999999999999LL);
  std::uniform_int_distribution<int> exponent(-14, 307);
  for (int i = 0; i < count; ++i) {
    const std::string text = std::to_string(digits(rng)) + "5e" + std::to_string(exponent(rng) - 15);
    AppendNeighbours(DecimalValue(text), ulps, out);
  }
}

// Exact halfway points: doubles with 16 significant digits whose last is a
// 5, where rounding to 15 digits is a true tie. (2D + 1) / 2 * 10^(k-14)
// with a 15-digit D is a double when 5^(14-k) divides 2D + 1 (k < 14): then
// it is j * 2^(k-15) with j = (2D + 1) / 5^(14-k) odd; for k = 14 and 15 it
// is j / 2 and j * 5 with j = 2D + 1. Such values exist for k = -7 to 15.
inline void AppendExactHalfwayPoints(std::mt19937_64& rng, int countPerExponent,
                                     std::vector<double>& out) {
  for (int k = -7; k <= 15; ++k) {
    std::uint64_t five = 1;
    for (int i = k; i < 14; ++i) five *= 5;
    std::uint64_t lo = (200000000000000ULL + five) / five;
    std::uint64_t hi = 1999999999999999ULL / five;
    if (k == 15) hi = (1ULL << 53) / 5;  // j * 5 must stay below 2^53
    std::uniform_int_distribution<std::uint64_t> pick(lo / 2, (hi - 1) / 2);
    for (int i = 0; i < countPerExponent; ++i) {
      const std::uint64_t j = 2 * pick(rng) + 1;
      const double x = k == 15 ? static_cast<double>(j * 5)
                               : std::ldexp(static_cast<double>(j), k - 15);
      out.push_back(i % 2 == 0 ? x : -x);
    }
  }
}

// Finite doubles from uniformly random bit patterns: every exponent and
// sign, subnormals included.
inline void AppendRandomBitPatterns(std::mt19937_64& rng, int count, std::vector<double>& out) {
  for (int i = 0; i < count;) {
    const std::uint64_t bits = rng();
    double x;
    static_assert(sizeof x == sizeof bits);
    std::memcpy(&x, &bits, sizeof x);
    if (!std::isfinite(x)) continue;
    out.push_back(x);
    ++i;
  }
}

// Random doubles in every binade the text rounds (from 2^-47, just below
// 1e-14, to the largest), perBinade each, with random signs.
inline void AppendRandomInEveryBinade(std::mt19937_64& rng, int perBinade,
                                      std::vector<double>& out) {
  for (std::uint64_t exponent = 1023 - 47; exponent <= 2046; ++exponent) {
    for (int i = 0; i < perBinade; ++i) {
      const std::uint64_t r = rng();
      const std::uint64_t bits = (r & 0x800FFFFFFFFFFFFFULL) | (exponent << 52);
      double x;
      std::memcpy(&x, &bits, sizeof x);
      out.push_back(x);
    }
  }
}

// Values like a drawing's: coordinates in millimetres with a few decimals,
// results of arithmetic (thirds, sines, scale factors) and lengths spread
// over powers of ten from 1e-20 to 1e20.
inline void AppendDrawingValues(std::mt19937_64& rng, int count, std::vector<double>& out) {
  std::uniform_real_distribution<double> unit(-1, 1);
  std::uniform_int_distribution<int> exponent(-20, 20);
  std::uniform_int_distribution<int> kind(0, 3);
  for (int i = 0; i < count; ++i) {
    double x = 0;
    switch (kind(rng)) {
      case 0: x = std::round(unit(rng) * 1e8) / 1000; break;  // 3 decimals, up to 1e5
      case 1: x = std::round(unit(rng) * 1e6) / 10000 / 3; break;
      case 2: x = std::sin(unit(rng) * 4); break;
      default: x = unit(rng) * 10 * std::pow(10.0, exponent(rng)); break;
    }
    out.push_back(x);
  }
}

}  // namespace parvex::testing
