// Parsing and formatting of numbers and Booleans in the forms the settings
// file, the drawings and the DXF output use. Parsers never fail: text that
// does not parse gives 0 or false.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace parvex {

// True when the upper-cased text equals one of "T", "TR", "TRU", "TRUE",
// "1", "１", "○", "ON", "真", "正". No trimming.
bool TextToBool(std::u16string_view s);
std::u16string BoolToText(bool b);

// A 32-bit integer: optional leading spaces, optional sign, then decimal
// digits, or hexadecimal digits after "$", "x", "X", "0x" or "0X" (up to
// eight, taken as the 32-bit pattern). Empty text, trailing characters and
// overflow give 0.
std::int32_t TextToInt(std::u16string_view s);
std::u16string IntToText(std::int64_t n);

// A decimal number with "." as the separator and an optional exponent;
// surrounding spaces are allowed. Empty, unparsable or overflowing text
// gives 0.
double TextToFloat(std::u16string_view s);

// General format with at most 15 significant digits: fixed notation while
// the value has at most 15 integer digits and is at least 1e-5 in
// magnitude, else scientific ("1.5E-6", "1E20"). "NAN", "INF", "-INF" for
// non-finite values.
std::u16string FloatToText(double x);

// x with exactly n decimals (0..30), rounded, "." as the separator.
std::u16string FormatFixed(int n, double x);

// ASCII-only text to UTF-16 and back (numbers, fixed keywords).
std::u16string AsciiToText(std::string_view s);

}  // namespace parvex
