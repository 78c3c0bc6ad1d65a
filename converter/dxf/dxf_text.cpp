#include "converter/dxf/dxf_text.h"

#include "common/text_helpers.h"

namespace parvex::dxftext {
namespace {

bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

int UnitWidth(char16_t ch) { return parvex::IsHalfWidth(ch) ? 1 : 2; }

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

std::u16string UpperText(std::u16string_view s) {
  std::u16string r(s);
  for (char16_t& c : r) c = UpperChar(c);
  return r;
}

}  // namespace parvex::dxftext
