#include "common/text_helpers.h"

#include "common/platform/case_mapping.h"
#include "common/platform/codepage.h"

namespace parvex {

namespace {

bool IsHigh(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLow(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

size_t ClampIndex(std::u16string_view s, std::ptrdiff_t i) {
  if (i < 0) return 0;
  return static_cast<size_t>(i) > s.size() ? s.size() : static_cast<size_t>(i);
}

int Columns(char16_t c) { return IsHalfWidth(c) ? 1 : 2; }

}  // namespace

std::u16string CharAt(std::u16string_view s, std::ptrdiff_t i) {
  if (i < 0 || static_cast<size_t>(i) >= s.size()) return {};
  return std::u16string(1, s[static_cast<size_t>(i)]);
}

std::u16string UpperText(std::u16string_view s) { return platform::UpperCase(s); }

std::u16string LowerText(std::u16string_view s) { return platform::LowerCase(s); }

std::ptrdiff_t PosZero(std::u16string_view sub, std::u16string_view s) {
  size_t p = s.find(sub);
  return p == std::u16string_view::npos ? -1 : static_cast<std::ptrdiff_t>(p);
}

std::u16string CopyFrom(std::u16string_view s, std::ptrdiff_t i) {
  return std::u16string(s.substr(ClampIndex(s, i)));
}

std::u16string CopyPart(std::u16string_view s, std::ptrdiff_t i, std::ptrdiff_t n) {
  if (n <= 0) return {};
  return std::u16string(s.substr(ClampIndex(s, i), static_cast<size_t>(n)));
}

std::u16string RightPart(std::u16string_view s, std::ptrdiff_t n) {
  if (n <= 0) return {};
  if (static_cast<size_t>(n) >= s.size()) return std::u16string(s);
  return std::u16string(s.substr(s.size() - static_cast<size_t>(n)));
}

std::u16string CopyByColumns(std::u16string_view s, int start, int width) {
  std::u16string out;
  int column = 1;
  int taken = 0;
  for (char16_t c : s) {
    if (taken >= width) break;
    int w = Columns(c);
    if (column >= start) {
      out.push_back(c);
      taken += w;
    }
    column += w;
  }
  return out;
}

WidthSlice CopyWidthFrom(std::u16string_view s, std::ptrdiff_t i, int width) {
  WidthSlice r;
  size_t k = ClampIndex(s, i);
  int total = 0;
  while (k < s.size()) {
    int w = Columns(s[k]);
    if (total + w > width) break;
    total += w;
    r.Part.push_back(s[k]);
    ++k;
  }
  r.Next = static_cast<std::ptrdiff_t>(k);
  return r;
}

std::ptrdiff_t CharCount(std::u16string_view s) {
  std::ptrdiff_t n = 0;
  for (size_t i = 0; i < s.size(); ++i, ++n) {
    if (IsHigh(s[i]) && i + 1 < s.size() && IsLow(s[i + 1])) ++i;
  }
  return n;
}

int SurrogatePart(std::u16string_view s, std::ptrdiff_t i) {
  if (i < 0 || static_cast<size_t>(i) >= s.size()) return -1;
  size_t k = static_cast<size_t>(i);
  if (IsHigh(s[k]) && k + 1 < s.size() && IsLow(s[k + 1])) return 1;
  if (IsLow(s[k]) && k > 0 && IsHigh(s[k - 1])) return 2;
  return 0;
}

std::u16string RepeatText(std::u16string_view s, std::ptrdiff_t n) {
  std::u16string out;
  if (n <= 0) return out;
  out.reserve(s.size() * static_cast<size_t>(n));
  for (std::ptrdiff_t k = 0; k < n; ++k) out += s;
  return out;
}

bool IsBlank(char16_t c) { return c <= 0x20 || c == 0x3000; }

std::u16string RemoveBlanks(std::u16string_view s) {
  std::u16string out;
  for (char16_t c : s)
    if (!IsBlank(c)) out.push_back(c);
  return out;
}

std::u16string RemoveControlChars(std::u16string_view s) {
  std::u16string out;
  for (char16_t c : s)
    if (c >= 0x20) out.push_back(c);
  return out;
}

std::u16string TrimText(std::u16string_view s) {
  size_t b = 0, e = s.size();
  while (b < e && s[b] <= 0x20) ++b;
  while (e > b && s[e - 1] <= 0x20) --e;
  return std::u16string(s.substr(b, e - b));
}

std::u16string StripBreakMarks(std::u16string_view s) {
  std::u16string out;
  for (size_t i = 0; i < s.size(); ++i) {
    if (i + 1 < s.size() &&
        ((s[i] == u'^' && s[i + 1] == u'm') || (s[i] == u'\\' && s[i + 1] == u'n'))) {
      ++i;
      continue;
    }
    if (s[i] < 0x20) continue;
    out.push_back(s[i]);
  }
  if (out.empty()) out.push_back(u' ');
  return out;
}

bool IsHalfWidth(char16_t ch) {
  return (ch >= 0x20 && ch <= 0x7E) || (ch >= 0xFF61 && ch <= 0xFF9F);
}

double TextRunLength(std::u16string_view s, double w, double gap) {
  double total = 0;
  bool first = true;
  bool previousHalf = false;
  for (size_t i = 0; i < s.size(); ++i) {
    char16_t c = s[i];
    if (IsHigh(c) && i + 1 < s.size() && IsLow(s[i + 1])) ++i;
    if (!first) total += previousHalf ? gap / 2 : gap;
    bool half = IsHalfWidth(c);
    if (c >= 0x20) total += half ? w / 2 : w;
    previousHalf = half;
    first = false;
  }
  return total;
}

double TextRunLengthSimple(std::u16string_view s, double w, double gap) {
  auto n = static_cast<double>(CharCount(s));
  if (n == 0) return 0;
  return n * w + (n - 1) * gap;
}

std::u16string AnsiBytesToText(std::string_view bytes) {
  std::u16string text = platform::DecodeCp932(bytes);
  size_t z = text.find(u'\0');
  if (z != std::u16string::npos) text.resize(z);
  return text;
}

std::u16string Utf16BytesToText(std::string_view bytes) {
  std::u16string text;
  text.reserve(bytes.size() / 2);
  for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
    auto c = static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                   (static_cast<unsigned char>(bytes[i + 1]) << 8));
    if (c == 0) break;
    text.push_back(c);
  }
  return text;
}

}  // namespace parvex
