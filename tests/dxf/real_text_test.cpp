// The fast text of real values against the one built on std::to_chars, on
// the values where a fast formatter goes wrong: the ends of the forms, the
// zero snap, rounding up to the next power of ten and halfway points of the
// 15th digit.
#include <bit>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "converter/dxf/dxf_writer.h"
#include "converter/dxf/real_text.h"
#include "tests/support/real_values.h"

namespace parvex {
namespace {

std::string Fast(double x) {
  char buf[kRealTextBufSize];
  return std::string(buf, WriteRealText(x, buf));
}

std::string ByToChars(double x) {
  char buf[kRealTextBufSize];
  return std::string(buf, WriteRealTextByToChars(x, buf));
}

double Below(double x) { return std::nextafter(x, -INFINITY); }
double Above(double x) { return std::nextafter(x, INFINITY); }

struct TextCase {
  double value;
  const char* text;
};

TEST(RealText, EdgeValues) {
  const double denormMin = std::numeric_limits<double>::denorm_min();
  const TextCase cases[] = {
      // Zero snap, subnormals and values that are not finite.
      {-0.0, "0.0"},
      {1e-14, "0.0"},
      {-1e-14, "0.0"},
      {Above(1e-14), "1.0E-14"},
      {-Above(1e-14), "-1.0E-14"},
      {DBL_MIN, "0.0"},
      {-denormMin, "0.0"},
      {0x1.8p-1040, "0.0"},
      {std::numeric_limits<double>::quiet_NaN(), "0.0"},
      {-std::numeric_limits<double>::infinity(), "0.0"},
      // The ends of the fixed-point range, and values whose 15 digits round
      // up into it, out of it or to the next power of ten.
      {Above(1e-5), "1.0E-5"},
      {1e-4, "0.0001"},
      {Below(1e-4), "0.0001"},
      {9.999999999999995e-5, "0.0001"},
      {9.99999999999999e-5, "9.99999999999999E-5"},
      {Below(1.0), "1.0"},
      {Above(1.0), "1.0"},
      {0.999999999999995, "1.0"},  // 15 digits, then the snap to 1e-14
      {0.99999999999999, "0.99999999999999"},
      {9.999999999999994e-3, "0.01"},
      {99.99999999999997, "100.0"},
      {1e14, "100000000000000.0"},
      {999999999999999.375, "999999999999999.0"},
      {999999999999999.625, "1.0E15"},
      {Below(1e15), "1.0E15"},
      {1e15, "1.0E15"},
      {9.9999999999999948e20, "9.99999999999999E20"},
      {9.9999999999999961e20, "1.0E21"},
      // Exactly half way between two 15-digit values: to the even digit,
      // below 2^50 where the product is exact and above, where to_chars
      // decides.
      {999999999999999.5, "1.0E15"},
      {999999999999998.5, "999999999999998.0"},
      {123456789012345.5, "123456789012346.0"},
      {123456789012344.5, "123456789012344.0"},
      {1000000000000005.0, "1.0E15"},
      {1000000000000015.0, "1.00000000000002E15"},
      {5000000000000005.0, "5.0E15"},
      {5000000000000015.0, "5.00000000000002E15"},
      {0.1000213623046875, "0.10002136230469"},
      {-0.1000518798828125, "-0.10005187988281"},
      // Huge, tiny, integers.
      {DBL_MAX, "1.79769313486232E308"},
      {1e308, "1.0E308"},
      {1e22, "1.0E22"},
      {1e-13, "1.0E-13"},
      {1.23456789012345678e-10, "1.23456789012346E-10"},
      {-7, "-7.0"},
      {123456789012345.0, "123456789012345.0"},
      {9007199254740992.0, "9.00719925474099E15"},
      {0.00012345678901234567, "0.00012345678901"},
      {-0.00042, "-0.00042"},
  };
  for (const TextCase& c : cases) {
    SCOPED_TRACE(::testing::Message() << std::hexfloat << c.value);
    EXPECT_EQ(Fast(c.value), c.text);
    EXPECT_EQ(ByToChars(c.value), c.text);
    EXPECT_EQ(RealToStr(c.value), c.text);
  }
}

// Every value of a set: the same text both ways, and the fast rounding
// decides every value below 2^50 by itself and agrees with to_chars where
// it decides.
void ExpectAgreement(const std::vector<double>& values) {
  int failures = 0;
  for (double x : values) {
    const std::string fast = Fast(x);
    const std::string slow = ByToChars(x);
    if (fast != slow && ++failures <= 5) {
      ADD_FAILURE() << std::hexfloat << x << ": \"" << fast << "\" against \"" << slow << "\"";
    }
    const double a = std::fabs(x);
    if (a <= 1e-14 || failures > 5) continue;
    RealDigits15 d;
    if (RoundTo15DigitsFast(x, &d)) {
      if (d != RoundTo15DigitsByToChars(x) && ++failures <= 5) {
        ADD_FAILURE() << std::hexfloat << x << ": digits " << d.digits << " E" << d.exp10;
      }
    } else if (a < 0x1p50 && ++failures <= 5) {
      ADD_FAILURE() << std::hexfloat << x << ": left to to_chars";
    }
  }
  EXPECT_EQ(failures, 0) << "of " << values.size() << " values";
}

struct ValueSet {
  const char* name;
  void (*make)(std::mt19937_64&, std::vector<double>&);
};

TEST(RealText, AgreesWithToCharsOnHardValues) {
  namespace t = parvex::testing;
  const ValueSet sets[] = {
      {"around powers of ten",
       [](std::mt19937_64&, std::vector<double>& v) { t::AppendAroundPowersOfTen(300, v); }},
      {"near halfway points",
       [](std::mt19937_64& rng, std::vector<double>& v) {
         t::AppendNearHalfwayPoints(rng, 40000, 2, v);
       }},
      {"exact halfway points",
       [](std::mt19937_64& rng, std::vector<double>& v) {
         t::AppendExactHalfwayPoints(rng, 3000, v);
       }},
      {"random bit patterns",
       [](std::mt19937_64& rng, std::vector<double>& v) {
         t::AppendRandomBitPatterns(rng, 300000, v);
       }},
      {"random in every binade",
       [](std::mt19937_64& rng, std::vector<double>& v) {
         t::AppendRandomInEveryBinade(rng, 100, v);
       }},
      {"like a drawing's",
       [](std::mt19937_64& rng, std::vector<double>& v) {
         t::AppendDrawingValues(rng, 300000, v);
       }},
  };
  std::mt19937_64 rng(31);
  for (const ValueSet& set : sets) {
    SCOPED_TRACE(set.name);
    std::vector<double> values;
    set.make(rng, values);
    ExpectAgreement(values);
  }
}

// The table of powers of ten the fast rounding multiplies by: row p holds
// 10^p's 128 leading bits rounded down, V = floor(10^p * 2^(127 - L)) with
// L = floor(log2 10^p). A row off by a few units still passes every value
// above, yet breaks the bound that makes near-halfway values safe.
struct Pow10Row {
  std::uint64_t hi;
  std::uint64_t lo;
};
constexpr Pow10Row kPow10Rows[] = {
#include "converter/dxf/real_text_pow10.inc"
};
constexpr int kFirstPow = -293;

// Little-endian 32-bit limbs, just enough arithmetic for the check.
using Big = std::vector<std::uint32_t>;

Big MulSmall(Big a, std::uint32_t f) {
  std::uint64_t carry = 0;
  for (std::uint32_t& limb : a) {
    const std::uint64_t v = std::uint64_t{limb} * f + carry;
    limb = static_cast<std::uint32_t>(v);
    carry = v >> 32;
  }
  if (carry != 0) a.push_back(static_cast<std::uint32_t>(carry));
  return a;
}

Big Add(Big a, const Big& b) {
  if (a.size() < b.size()) a.resize(b.size(), 0);
  std::uint64_t carry = 0;
  for (std::size_t i = 0; i < a.size(); ++i) {
    const std::uint64_t v = std::uint64_t{a[i]} + (i < b.size() ? b[i] : 0) + carry;
    a[i] = static_cast<std::uint32_t>(v);
    carry = v >> 32;
  }
  if (carry != 0) a.push_back(static_cast<std::uint32_t>(carry));
  return a;
}

int BitLength(const Big& a) {
  for (std::size_t i = a.size(); i-- > 0;) {
    if (a[i] != 0) return static_cast<int>(32 * i) + std::bit_width(a[i]);
  }
  return 0;
}

Big PowerOfTen(int q) {
  Big b{1};
  for (int i = 0; i < q; ++i) b = MulSmall(b, 10);
  return b;
}

TEST(RealText, PowerTableHoldsTheLeadingBitsOfEachPowerOfTen) {
  for (std::size_t i = 0; i < std::size(kPow10Rows); ++i) {
    const int p = kFirstPow + static_cast<int>(i);
    SCOPED_TRACE(p);
    const Pow10Row row = kPow10Rows[i];
    const Big v{static_cast<std::uint32_t>(row.lo), static_cast<std::uint32_t>(row.lo >> 32),
                static_cast<std::uint32_t>(row.hi), static_cast<std::uint32_t>(row.hi >> 32)};
    ASSERT_EQ(BitLength(v), 128);
    if (p >= 0) {
      // V = 10^p * 2^(127 - L) exactly: 10^p shifted to 128 bits.
      const Big power = PowerOfTen(p);
      Big shifted = power;
      for (int k = BitLength(power); k < 128; ++k) shifted = MulSmall(shifted, 2);
      shifted.resize(4, 0);
      EXPECT_EQ(shifted, v);
    } else {
      // V = floor(2^N / 10^q) with N = 127 - L = 127 + bits(10^q):
      // V * 10^q < 2^N <= (V + 1) * 10^q (10^q is no power of two).
      const int q = -p;
      const Big power = PowerOfTen(q);
      const int n = 127 + BitLength(power);
      Big product = v;
      for (int k = 0; k < q; ++k) product = MulSmall(product, 10);
      EXPECT_LE(BitLength(product), n);
      EXPECT_GT(BitLength(Add(product, power)), n);
    }
  }
}

}  // namespace
}  // namespace parvex
