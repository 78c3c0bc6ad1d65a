#include "converter/dxf/dxf_text.h"

#include <cmath>

namespace parvex::dxftext {
namespace {

bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

int UnitWidth(char16_t ch) { return IsHalfWidth(ch) ? 1 : 2; }

char16_t UpperChar(char16_t c) {
  if (c >= u'a' && c <= u'z') return static_cast<char16_t>(c - 0x20);
  if (c < 0x80) return c;
  if (c >= 0xFF41 && c <= 0xFF5A) return static_cast<char16_t>(c - 0x20);  // ａ-ｚ
  if ((c >= 0xE0 && c <= 0xFE && c != 0xF7)) return static_cast<char16_t>(c - 0x20);
  if (c == 0xFF) return 0x178;
  if (c >= 0x100 && c <= 0x17F) {
    // Latin Extended-A pairs: even upper, odd lower, except the runs
    // 0x139-0x148 and 0x179-0x17E where odd is upper.
    if ((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E)) {
      return (c % 2 == 0) ? static_cast<char16_t>(c - 1) : c;
    }
    if (c == 0x131 || c == 0x138 || c == 0x149 || c == 0x17F) return c;
    return (c % 2 == 1) ? static_cast<char16_t>(c - 1) : c;
  }
  if (c >= 0x3B1 && c <= 0x3C9 && c != 0x3C2) return static_cast<char16_t>(c - 0x20);  // Greek
  if (c >= 0x430 && c <= 0x44F) return static_cast<char16_t>(c - 0x20);  // Cyrillic
  if (c >= 0x450 && c <= 0x45F) return static_cast<char16_t>(c - 0x50);
  return c;
}

}  // namespace

bool IsHalfWidth(char16_t ch) {
  return (ch >= 0x20 && ch <= 0x7E) || (ch >= 0xFF61 && ch <= 0xFF9F);
}

int DisplayWidth(std::u16string_view s) {
  int w = 0;
  for (char16_t c : s) w += UnitWidth(c);
  return w;
}

std::u16string CopyWidth(std::u16string_view s, int width) {
  std::size_t i = 0;
  int total = 0;
  while (i < s.size()) {
    std::size_t n = 1;
    if (IsHighSurrogate(s[i]) && i + 1 < s.size() && IsLowSurrogate(s[i + 1])) n = 2;
    int w = 0;
    for (std::size_t k = 0; k < n; ++k) w += UnitWidth(s[i + k]);
    if (total + w > width) break;
    total += w;
    i += n;
  }
  return std::u16string(s.substr(0, i));
}

bool IsBlank(char16_t ch) { return ch < 0x20 || ch == u' ' || ch == 0x3000; }

std::u16string RemoveBlanks(std::u16string_view s) {
  std::u16string r;
  r.reserve(s.size());
  for (char16_t c : s) {
    if (!IsBlank(c)) r.push_back(c);
  }
  return r;
}

std::u16string UpperText(std::u16string_view s) {
  std::u16string r(s);
  for (char16_t& c : r) c = UpperChar(c);
  return r;
}

double NormalizeDeg(double d) {
  if (!std::isfinite(d)) return 0;
  if (d < 0 || d >= 360) {
    d = std::fmod(d, 360.0);
    if (d < 0) d += 360;
    if (d >= 360) d -= 360;
  }
  if (std::fabs(d) <= 1e-10 || std::fabs(d - 360) <= 1e-10) return 0;
  return d;
}

int CharCount(std::u16string_view s) {
  int n = 0;
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (IsHighSurrogate(s[i]) && i + 1 < s.size() && IsLowSurrogate(s[i + 1])) ++i;
    ++n;
  }
  return n;
}

double TextRunLength(std::u16string_view s, double w, double gap) {
  double len = 0;
  bool first = true;
  bool prevHalf = false;
  for (std::size_t i = 0; i < s.size(); ++i) {
    char16_t c = s[i];
    if (IsHighSurrogate(c) && i + 1 < s.size() && IsLowSurrogate(s[i + 1])) ++i;
    if (!first) len += prevHalf ? gap / 2 : gap;
    bool half = IsHalfWidth(c);
    if (c >= 0x20) len += half ? w / 2 : w;
    prevHalf = half;
    first = false;
  }
  return len;
}

double TextRunLengthSimple(std::u16string_view s, double w, double gap) {
  int n = CharCount(s);
  if (n == 0) return 0;
  return n * w + (n - 1) * gap;
}

std::u16string IntText(long long v) {
  std::string a = std::to_string(v);
  return std::u16string(a.begin(), a.end());
}

}  // namespace parvex::dxftext
