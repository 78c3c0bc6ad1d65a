#include "converter/dxf/real_text.h"

#include <bit>
#include <charconv>
#include <cmath>
#include <cstring>
#include <iterator>
#include <limits>

#include "common/value_helpers.h"

namespace parvex {
namespace {

#ifndef __SIZEOF_INT128__
#error "the real-number text needs unsigned __int128 (GCC or Clang)"
#endif
using u128 = unsigned __int128;

constexpr std::uint64_t kE14 = 100000000000000ULL;
constexpr std::uint64_t kE15 = 1000000000000000ULL;

// Powers of ten 10^p for p = kMinPow .. kMaxPow: the 128 leading bits,
// rounded down, of 10^p = (hi * 2^64 + lo) * 2^(floor(log2 10^p) - 127).
// The range covers every |x| above 1e-14 up to the largest double.
struct Pow10Bits {
  std::uint64_t hi;
  std::uint64_t lo;
};
constexpr int kMinPow = -293;
constexpr int kMaxPow = 29;
constexpr Pow10Bits kPow10Bits[] = {
#include "converter/dxf/real_text_pow10.inc"
};
static_assert(std::size(kPow10Bits) == kMaxPow - kMinPow + 1);

// Exact powers of ten as doubles (exact up to 1e22).
constexpr double kPow10[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,
                             1e10, 1e11, 1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19};

// The eight decimal digits of v < 10^8 as the byte values 0 to 9, the first
// digit in the lowest byte (the first in memory): the number is split into
// halves of four digits in 32-bit lanes, then of two digits in 16-bit lanes,
// then into digits, each step dividing every lane at once by a multiply and
// shift that is exact for the lane's range.
std::uint64_t EightDigits(std::uint64_t v) {
  std::uint64_t x = (v / 10000) | ((v % 10000) << 32);
  const std::uint64_t hundreds = ((x * 10486) >> 20) & 0x0000007F0000007FULL;
  x = hundreds | ((x - 100 * hundreds) << 16);
  const std::uint64_t tens = ((x * 103) >> 10) & 0x000F000F000F000FULL;
  return tens | ((x - 10 * tens) << 8);
}

constexpr std::uint64_t kAsciiZeros = 0x3030303030303030ULL;

// The digits of v < 10^16 as sixteen characters with leading zeros into
// out[0..15], followed by sixteen "0" characters, so that copies of a fixed
// size from any digit read digits and then zeros. Returns the number of
// trailing zero digits of v (v > 0).
[[gnu::always_inline]] inline int SixteenDigits(std::uint64_t v, char* out) {
  const std::uint64_t high = EightDigits(v / 100000000);
  const std::uint64_t low8 = v % 100000000;
  const std::uint64_t low = EightDigits(low8);
  const std::uint64_t text[4] = {high + kAsciiZeros, low + kAsciiZeros, kAsciiZeros,
                                 kAsciiZeros};
  std::memcpy(out, text, sizeof text);
  // A trailing zero digit is a zero high byte of its word.
  return low8 != 0 ? std::countl_zero(low) / 8 : 8 + std::countl_zero(high) / 8;
}

char* WriteExponent(char* o, int e) {
  *o++ = 'E';
  if (e < 0) {
    *o++ = '-';
    e = -e;
  }
  if (e >= 100) {
    *o++ = static_cast<char>('0' + e / 100);
    e %= 100;
    *o++ = static_cast<char>('0' + e / 10);
  } else if (e >= 10) {
    *o++ = static_cast<char>('0' + e / 10);
  }
  *o++ = static_cast<char>('0' + e % 10);
  return o;
}

// ---------------------------------------------------------------------------
// The formatter built on std::to_chars.

// x rounded to 15 significant digits: the digits (trailing zeros dropped,
// at least one) and the decimal exponent of the first digit.
struct Digits15 {
  char d[16];
  int n = 0;
  int exp10 = 0;
  bool neg = false;
};

// Digits and exponent from to_chars scientific output "-d.ddde+XX".
Digits15 ParseScientific(const char* p, const char* end) {
  Digits15 r;
  if (*p == '-') {
    r.neg = true;
    ++p;
  }
  r.d[r.n++] = *p++;
  if (*p == '.') {
    ++p;
    while (*p != 'e' && r.n < 16) r.d[r.n++] = *p++;
  }
  while (*p != 'e') ++p;
  ++p;
  int e = 0;
  std::from_chars(*p == '+' ? p + 1 : p, end, e);
  r.exp10 = e;
  while (r.n > 1 && r.d[r.n - 1] == '0') --r.n;
  return r;
}

Digits15 Round15(double x) {
  char buf[40];
  auto res = std::to_chars(buf, buf + sizeof(buf), x, std::chars_format::scientific, 14);
  return ParseScientific(buf, res.ptr);
}

// The general text form of 15 significant digits.
std::size_t FormatGeneral(const Digits15& g, char* out) {
  char* o = out;
  if (g.n == 1 && g.d[0] == '0') {
    *o++ = '0';
    return 1;
  }
  if (g.neg) *o++ = '-';
  int e = g.exp10;
  if (e >= -4 && e <= 14) {
    if (e < 0) {
      *o++ = '0';
      *o++ = '.';
      for (int i = -1; i > e; --i) *o++ = '0';
      for (int i = 0; i < g.n; ++i) *o++ = g.d[i];
    } else {
      for (int i = 0; i <= e; ++i) *o++ = i < g.n ? g.d[i] : '0';
      if (g.n > e + 1) {
        *o++ = '.';
        for (int i = e + 1; i < g.n; ++i) *o++ = g.d[i];
      }
    }
  } else {
    *o++ = g.d[0];
    if (g.n > 1) {
      *o++ = '.';
      for (int i = 1; i < g.n; ++i) *o++ = g.d[i];
    }
    *o++ = 'E';
    auto res = std::to_chars(o, o + 6, e);
    o = res.ptr;
  }
  return static_cast<std::size_t>(o - out);
}

// ---------------------------------------------------------------------------
// The fast rounding to 15 digits

// The values the text rounds: above 1e-14 (so normal) and finite.
bool InRange(double a) { return a > kTolerance14 && a <= std::numeric_limits<double>::max(); }

// The fast rounding of a > 0 with InRange(a).
[[gnu::always_inline]] inline bool Round15Fast(double a, RealDigits15* out) {
  // a = m * 2^e2 with 2^52 <= m < 2^53 (a is normal).
  const std::uint64_t bits = std::bit_cast<std::uint64_t>(a);
  const std::uint64_t m = (bits & ((1ULL << 52) - 1)) | (1ULL << 52);
  const int e2 = static_cast<int>(bits >> 52) - 1075;
  // k = floor(log10 2^(e2 + 52)): the exponent of a's first digit or one
  // less. y = a * 10^(14 - k) then lies in [10^14, 2 * 10^15).
  int k = ((e2 + 52) * 78913) >> 18;
  // a in (1e-14, 2^1024) gives e2 + 52 in [-47, 1023], k in [-15, 307]
  // and p in [-293, 29], the table's range.
  const int p = 14 - k;
  const Pow10Bits& t = kPow10Bits[p - kMinPow];
  // y = m * (hi:lo) * 2^-s: the product's bits from s on are y's integer
  // part, those below its fraction. s lies in [130, 133], so the integer
  // part is the top word shifted right by r = s - 128.
  const int s = 127 - e2 - ((p * 1741647) >> 19);
  const int r = s - 128;
  const u128 low = static_cast<u128>(m) * t.lo;
  const u128 high = static_cast<u128>(m) * t.hi + static_cast<std::uint64_t>(low >> 64);
  const auto top = static_cast<std::uint64_t>(high >> 64);
  const auto mid = static_cast<std::uint64_t>(high);
  const std::uint64_t whole = top >> r;
  const std::uint64_t frac = (top << (64 - r)) | (mid >> r);  // 64 leading bits
  // The power of ten is rounded down by less than 2^-127 of itself, so the
  // product lies below m * 10^p * 2^-s by less than m * 2^-s < 2^-77; frac
  // leaves out the bits below its 64. So the true fraction lies in
  // [frac, frac + 1 + 2^-13) units of 2^-64, and a frac other than the two
  // next to one half decides the rounding. Those two are decided only where
  // the product is exact, below 2^50 (p >= 0: 10^p is exact in the table),
  // with a value exactly half way going to the even digit as the exact
  // formatters do; elsewhere the caller takes the exact way.
  //
  // No branch depends on where the value lies: if y >= 10^15, k was one too
  // small and y / 10 = whole / 10 + (whole % 10 + frac) / 10 is rounded
  // instead, picked by a mask. Either way the digits are base plus one when
  // the part below base, rem (128 bits: whole units, then the fraction),
  // reaches half a unit.
  const std::uint64_t tooLarge = (kE15 - 1 - whole) >> 63;  // whole < 2^52
  const std::uint64_t pickTens = 0 - tooLarge;
  const std::uint64_t tens = whole / 10;
  const std::uint64_t base = (tens & pickTens) | (whole & ~pickTens);
  const u128 rem = (static_cast<u128>((whole - 10 * tens) & pickTens) << 64) | frac;
  const u128 half = (static_cast<u128>(5 & pickTens) << 64) | ((1ULL << 63) & ~pickTens);
  std::uint64_t digits = base + (rem >= half ? 1 : 0);
  k += static_cast<int>(tooLarge);
  if (rem - (half - 1) <= 1) [[unlikely]] {
    if (p < 0) return false;
    const bool nothingBelow =
        (mid & ((1ULL << r) - 1)) == 0 && static_cast<std::uint64_t>(low) == 0;
    digits = base + (rem == half && (!nothingBelow || (base & 1) != 0) ? 1 : 0);
  }
  if (digits == kE15) {  // rounded up to the next power of ten
    digits = kE14;
    ++k;
  }
  out->digits = digits;
  out->exp10 = k;
  return true;
}

}  // namespace

bool RoundTo15DigitsFast(double x, RealDigits15* out) {
  const double a = std::fabs(x);
  return InRange(a) && Round15Fast(a, out);
}

RealDigits15 RoundTo15DigitsByToChars(double x) {
  const Digits15 g = Round15(std::fabs(x));
  RealDigits15 r;
  for (int i = 0; i < 15; ++i) {
    r.digits = r.digits * 10 + (i < g.n ? static_cast<unsigned>(g.d[i] - '0') : 0);
  }
  r.exp10 = g.exp10;
  return r;
}

// ---------------------------------------------------------------------------
// Text

std::size_t WriteRealText(double x, char* buf) {
  const double a = std::fabs(x);
  if (!InRange(a)) {
    std::memcpy(buf, "0.0", 3);
    return 3;
  }
  RealDigits15 d;
  if (!Round15Fast(a, &d)) d = RoundTo15DigitsByToChars(a);
  char* o = buf;
  *o = '-';
  o += std::signbit(x) ? 1 : 0;
  const int e = d.exp10;

  char text[32];

  if (e >= 0 && e <= 14) {
    // Fixed-point from 1 on: the 15 digits end at or above 1e-14, so the
    // snap to 1e-14 leaves them as they are. text[1..15] are the digits.
    const int n = 15 - SixteenDigits(d.digits, text);
    const int whole = e + 1;
    // The whole digits, the point, then the decimals or, with none left, the
    // zero digit that follows the whole ones. At most 14 decimals: the
    // copies stay within the buffer's 32 bytes.
    std::memcpy(o, text + 1, 16);
    o[whole] = '.';
    std::memcpy(o + whole + 1, text + 1 + whole, 14);
    const int decimals = n > whole ? n - whole : 1;
    return static_cast<std::size_t>(o + whole + 1 + decimals - buf);
  }

  if (e >= -4 && e < 0) {
    // Below 1 the 15 digits reach past 1e-14: take them back as the double
    // v nearest to them (the digits are below 2^53 and the power of ten is
    // exact, so one correctly rounded division gives it) and snap v,
    // n = Int(v / 1e-14 + 0.5). The snapped value is n * 1e-14 with n
    // below 10^14, whose 15 digits are those of n: the text is n with 14
    // decimals. (Signed conversions: the values fit, and they convert in
    // one step.)
    const double v = static_cast<double>(static_cast<std::int64_t>(d.digits)) / kPow10[14 - e];
    const auto n =
        static_cast<std::uint64_t>(static_cast<std::int64_t>(std::trunc(v / kTolerance14 + 0.5)));
    if (n == 0) {
      std::memcpy(buf, "0.0", 3);
      return 3;
    }
    if (n >= kE14) {
      std::memcpy(o, "1.0", 3);
      return static_cast<std::size_t>(o + 3 - buf);
    }
    // "0." and the 14 decimals: text[2..15] (n has 14 digits at most).
    const int decimals = 14 - SixteenDigits(n, text);
    o[0] = '0';
    o[1] = '.';
    std::memcpy(o + 2, text + 2, 14);
    return static_cast<std::size_t>(o + 2 + decimals - buf);
  }

  // Scientific: the mantissa lies in [1, 10) with at most 14 decimals, so
  // snapping it to 1e-14 leaves its digits unchanged. The first digit, the
  // point, then the decimals or (none: the next digit is a zero) "0".
  const int n = 15 - SixteenDigits(d.digits, text);
  o[0] = text[1];
  o[1] = '.';
  std::memcpy(o + 2, text + 2, 14);
  o += 2 + (n > 1 ? n - 1 : 1);
  return static_cast<std::size_t>(WriteExponent(o, e) - buf);
}

std::size_t WriteRealTextByToChars(double x, char* buf) {
  if (!std::isfinite(x) || std::fabs(x) <= kTolerance14) {
    std::memcpy(buf, "0.0", 3);
    return 3;
  }
  Digits15 g = Round15(x);
  char* o = buf;
  if (g.exp10 >= -4 && g.exp10 <= 14) {
    // Fixed-point. Only values below 1 have digits beyond 1e-14 that the
    // snap can change; from 1 on the 15 digits end at or above 1e-14.
    if (g.exp10 < 0) {
      // Below 1 the 15 digits reach past 1e-14: read them back as a number
      // v and snap it, n = Int(|v| / 1e-14 + 0.5). The snapped value is
      // n * 1e-14 with n below 1e14, whose 15 digits are those of n, so the
      // text is n with 14 decimals (trailing zeros dropped).
      // The digits as an integer D (below 2^53, so exact) over a power of
      // ten (exact up to 1e22): one correctly rounded division gives the
      // double nearest to the 15-digit text.
      std::uint64_t digits = 0;
      for (int i = 0; i < g.n; ++i) digits = digits * 10 + static_cast<unsigned>(g.d[i] - '0');
      const double v = static_cast<double>(digits) / kPow10[(g.n - 1) - g.exp10];
      const double q = std::trunc(v / kTolerance14 + 0.5);
      const std::uint64_t n = static_cast<std::uint64_t>(q);
      if (n == 0) {
        std::memcpy(buf, "0.0", 3);
        return 3;
      }
      if (g.neg) *o++ = '-';
      if (n >= 100000000000000ULL) {
        std::memcpy(o, "1.0", 3);
        return static_cast<std::size_t>(o + 3 - buf);
      }
      char frac[16];
      std::uint64_t r = n;
      for (int i = 13; i >= 0; --i) {
        frac[i] = static_cast<char>('0' + r % 10);
        r /= 10;
      }
      int len = 14;
      while (len > 1 && frac[len - 1] == '0') --len;
      *o++ = '0';
      *o++ = '.';
      std::memcpy(o, frac, static_cast<std::size_t>(len));
      return static_cast<std::size_t>(o + len - buf);
    }
    o += FormatGeneral(g, o);
    bool point = false;
    for (char* p = buf; p < o; ++p) {
      if (*p == '.') point = true;
    }
    if (!point) {
      *o++ = '.';
      *o++ = '0';
    }
    return static_cast<std::size_t>(o - buf);
  }
  // Scientific: the mantissa lies in [1, 10) with at most 14 decimals, so
  // snapping it to 1e-14 leaves its digits unchanged.
  if (g.neg) *o++ = '-';
  *o++ = g.d[0];
  *o++ = '.';
  if (g.n > 1) {
    for (int i = 1; i < g.n; ++i) *o++ = g.d[i];
  } else {
    *o++ = '0';
  }
  *o++ = 'E';
  auto res = std::to_chars(o, o + 6, g.exp10);
  return static_cast<std::size_t>(res.ptr - buf);
}

}  // namespace parvex
