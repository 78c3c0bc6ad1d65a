#include "common/number_text.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>

#include "common/text_helpers.h"

namespace parvex {

std::u16string AsciiToText(std::string_view s) { return std::u16string(s.begin(), s.end()); }

bool TextToBool(std::u16string_view s) {
  static constexpr std::u16string_view kTrue[] = {u"T", u"TR", u"TRU", u"TRUE", u"1",
                                                  u"１", u"○", u"ON",  u"真",   u"正"};
  std::u16string upper = UpperText(s);
  for (auto t : kTrue) {
    if (upper == t) return true;
  }
  return false;
}

std::u16string BoolToText(bool b) { return b ? u"1" : u"0"; }

namespace {

int DigitValue(char16_t c, int base) {
  int v = -1;
  if (c >= u'0' && c <= u'9') v = c - u'0';
  else if (c >= u'a' && c <= u'f') v = c - u'a' + 10;
  else if (c >= u'A' && c <= u'F') v = c - u'A' + 10;
  return v < base ? v : -1;
}

}  // namespace

std::int32_t TextToInt(std::u16string_view s) {
  size_t i = 0;
  while (i < s.size() && s[i] == u' ') ++i;
  bool negative = false;
  if (i < s.size() && (s[i] == u'+' || s[i] == u'-')) {
    negative = s[i] == u'-';
    ++i;
  }
  int base = 10;
  if (i < s.size() && (s[i] == u'$' || s[i] == u'x' || s[i] == u'X')) {
    base = 16;
    ++i;
  } else if (i + 1 < s.size() && s[i] == u'0' && (s[i + 1] == u'x' || s[i + 1] == u'X')) {
    base = 16;
    i += 2;
  }
  if (i >= s.size()) return 0;
  std::uint64_t value = 0;
  for (; i < s.size(); ++i) {
    int d = DigitValue(s[i], base);
    if (d < 0) return 0;
    value = value * base + d;
    if (value > 0xFFFFFFFFull) return 0;
  }
  if (base == 16) {
    auto bits = static_cast<std::uint32_t>(value);
    auto v = static_cast<std::int32_t>(bits);
    // Negating the lowest value would overflow; it has no negative form.
    if (negative) return v == std::numeric_limits<std::int32_t>::min() ? 0 : -v;
    return v;
  }
  std::int64_t signedValue = negative ? -static_cast<std::int64_t>(value) : static_cast<std::int64_t>(value);
  if (signedValue < std::numeric_limits<std::int32_t>::min() ||
      signedValue > std::numeric_limits<std::int32_t>::max())
    return 0;
  return static_cast<std::int32_t>(signedValue);
}

std::u16string IntToText(std::int64_t n) { return AsciiToText(std::to_string(n)); }

double TextToFloat(std::u16string_view s) {
  size_t b = 0, e = s.size();
  while (b < e && s[b] == u' ') ++b;
  while (e > b && s[e - 1] == u' ') --e;
  std::string ascii;
  size_t i = b;
  auto digits = [&]() {
    size_t n = 0;
    while (i < e && s[i] >= u'0' && s[i] <= u'9') {
      ascii.push_back(static_cast<char>(s[i]));
      ++i;
      ++n;
    }
    return n;
  };
  bool negative = false;
  if (i < e && (s[i] == u'+' || s[i] == u'-')) {
    negative = s[i] == u'-';
    ++i;
  }
  size_t mantissa = digits();
  if (i < e && s[i] == u'.') {
    ascii.push_back('.');
    ++i;
    mantissa += digits();
  }
  if (mantissa == 0) return 0;
  if (i < e && (s[i] == u'e' || s[i] == u'E')) {
    ascii.push_back('e');
    ++i;
    if (i < e && (s[i] == u'+' || s[i] == u'-')) {
      ascii.push_back(static_cast<char>(s[i]));
      ++i;
    }
    if (digits() == 0) return 0;
  }
  if (i != e) return 0;
  double v = 0;
  auto [ptr, ec] = std::from_chars(ascii.data(), ascii.data() + ascii.size(), v);
  if (ec != std::errc() || ptr != ascii.data() + ascii.size() || !std::isfinite(v)) return 0;
  return negative ? -v : v;
}

std::u16string FloatToText(double x) {
  if (std::isnan(x)) return u"NAN";
  if (std::isinf(x)) return x < 0 ? u"-INF" : u"INF";
  if (x == 0) return u"0";
  // 15 significant digits in scientific form give the digits and exponent.
  // to_chars ignores the C locale, which a window toolkit may have changed.
  char buf[64];
  auto [end, ec] = std::to_chars(buf, buf + sizeof buf, x, std::chars_format::scientific, 14);
  if (ec != std::errc()) return u"0";
  std::string sci(buf, end);
  size_t ePos = sci.find('e');
  int exponent = std::atoi(sci.c_str() + ePos + 1);
  std::string mant = sci.substr(0, ePos);
  bool negative = mant[0] == '-';
  if (negative) mant.erase(0, 1);
  std::string digitsOnly;
  for (char c : mant)
    if (c != '.') digitsOnly.push_back(c);
  while (digitsOnly.size() > 1 && digitsOnly.back() == '0') digitsOnly.pop_back();
  // Built by appending only: GCC 12 warns falsely (-Wrestrict) on
  // "literal" + std::string once inlined.
  std::string out;
  if (negative) out.push_back('-');
  if (exponent >= 15 || exponent < -5) {
    out.push_back(digitsOnly[0]);
    if (digitsOnly.size() > 1) {
      out.push_back('.');
      out.append(digitsOnly, 1, std::string::npos);
    }
    out.push_back('E');
    out.append(std::to_string(exponent));
  } else if (exponent < 0) {
    out.append("0.");
    out.append(static_cast<size_t>(-exponent - 1), '0');
    out.append(digitsOnly);
  } else {
    size_t intDigits = static_cast<size_t>(exponent) + 1;
    if (digitsOnly.size() <= intDigits) {
      out.append(digitsOnly);
      out.append(intDigits - digitsOnly.size(), '0');
    } else {
      out.append(digitsOnly, 0, intDigits);
      out.push_back('.');
      out.append(digitsOnly, intDigits, std::string::npos);
    }
  }
  return AsciiToText(out);
}

std::u16string FormatFixed(int n, double x) {
  if (n < 0) n = 0;
  if (n > 30) n = 30;
  if (!std::isfinite(x)) return FloatToText(x);
  char buf[400];
  auto [ptr, ec] = std::to_chars(buf, buf + sizeof buf, x, std::chars_format::fixed, n);
  if (ec != std::errc()) return u"0";
  return AsciiToText(std::string_view(buf, static_cast<size_t>(ptr - buf)));
}

}  // namespace parvex
