// The text of a real value in a DXF file, written fast.
//
// WriteRealText gives exactly the text that the former formatter built on
// std::to_chars with a precision gives (WriteRealTextByToChars, kept as the
// reference the fast one is checked and measured against), several times
// faster: 15 significant digits are rounded with a 128-bit product by a
// power of ten, and only a value of 2^50 or more that lies too close to a
// halfway point for that product to decide goes the slow way through
// std::to_chars.
#pragma once

#include <cstddef>
#include <cstdint>

namespace parvex {

// The buffer WriteRealText and WriteRealTextByToChars need, in bytes (the
// longest text has 22 characters; the rest is room for whole-word stores).
inline constexpr std::size_t kRealTextBufSize = 32;

// The text of x into buf (at least kRealTextBufSize bytes); returns its
// length. |x| <= 1e-14 and values that are not finite give "0.0"; otherwise
// 15 significant digits, fixed-point for 1e-4 <= |x| < 1e15 (after
// rounding) and "d.dddE[-]n" beyond; below 1 the digits are snapped to the
// nearest multiple of 1e-14; a text without a point gets ".0" ("100.0",
// "-122.394", "0.78539816339745", "1.0E-10", "1.79769313486232E308").
std::size_t WriteRealText(double x, char* buf);

// The same text through std::to_chars with a precision (slow).
std::size_t WriteRealTextByToChars(double x, char* buf);

// |x| rounded to 15 significant digits: digits * 10^(exp10 - 14), with
// 10^14 <= digits < 10^15, so exp10 is the exponent of the first digit.
struct RealDigits15 {
  std::uint64_t digits = 0;
  int exp10 = 0;

  friend bool operator==(const RealDigits15&, const RealDigits15&) = default;
};

// The 15 digits of |x| by the fast product. Returns false, leaving *out
// alone, when |x| is 2^50 or more and lies too close to a halfway point
// between two 15-digit values for the product to decide (an exact halfway
// point among them), and for values the text never rounds (|x| <= 1e-14,
// not finite).
bool RoundTo15DigitsFast(double x, RealDigits15* out);

// The 15 digits of |x| through std::to_chars; x finite and not 0.
RealDigits15 RoundTo15DigitsByToChars(double x);

}  // namespace parvex
