#include <unicode/uchar.h>

#include "common/platform/case_mapping.h"

namespace parvex::platform {

namespace {

bool IsHigh(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLow(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

template <typename Map>
std::u16string MapCase(std::u16string_view s, Map map) {
  std::u16string out;
  out.reserve(s.size());
  for (size_t i = 0; i < s.size(); ++i) {
    if (IsHigh(s[i]) && i + 1 < s.size() && IsLow(s[i + 1])) {
      UChar32 cp = 0x10000 + ((s[i] - 0xD800) << 10) + (s[i + 1] - 0xDC00);
      UChar32 m = map(cp);
      // Simple mappings keep supplementary characters supplementary.
      if (m < 0x10000) m = cp;
      m -= 0x10000;
      out.push_back(static_cast<char16_t>(0xD800 + (m >> 10)));
      out.push_back(static_cast<char16_t>(0xDC00 + (m & 0x3FF)));
      ++i;
      continue;
    }
    UChar32 m = map(static_cast<UChar32>(s[i]));
    out.push_back(m < 0x10000 ? static_cast<char16_t>(m) : s[i]);
  }
  return out;
}

}  // namespace

std::u16string UpperCase(std::u16string_view s) {
  return MapCase(s, [](UChar32 c) { return u_toupper(c); });
}

std::u16string LowerCase(std::u16string_view s) {
  return MapCase(s, [](UChar32 c) { return u_tolower(c); });
}

}  // namespace parvex::platform
