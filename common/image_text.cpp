#include "common/image_text.h"

#include "common/number_text.h"

namespace parvex {

bool IsImageText(std::u16string_view s) {
  return s.starts_with(u"^@BM") && s.find(u',', 4) != std::u16string_view::npos;
}

ImageTextFields ParseImageText(std::u16string_view s) {
  ImageTextFields f;
  constexpr std::u16string_view kPrefix = u"^@BM";
  if (s.substr(0, kPrefix.size()) != kPrefix) return f;
  size_t comma = s.find(u',', kPrefix.size());
  if (comma == std::u16string_view::npos) return f;
  f.Name = std::u16string(s.substr(kPrefix.size(), comma - kPrefix.size()));
  std::u16string_view rest = s.substr(comma + 1);
  int count = 0;
  bool more = true;
  while (more && count < 9) {
    size_t next = rest.find(u',');
    std::u16string_view field = rest.substr(0, next);
    if (next == std::u16string_view::npos) {
      more = false;
    } else {
      rest = rest.substr(next + 1);
    }
    switch (count) {
      case 0: f.W = TextToFloat(field); break;
      case 1: f.H = TextToFloat(field); break;
      case 2: f.F3 = TextToFloat(field); break;
      case 3: f.F4 = TextToFloat(field); break;
      case 4: f.F5 = TextToFloat(field); break;
      case 5: f.F6 = TextToFloat(field); break;
      case 6: f.I7 = TextToInt(field); break;
      case 7: f.I8 = TextToInt(field); break;
      case 8: f.I9 = TextToInt(field); break;
    }
    ++count;
  }
  if (count == 1) f.H = f.W;
  f.Incomplete = count < 3;
  if (f.I7 != -1) {
    if (f.I8 == -1) f.I8 = 0;
    if (f.I9 == -1) f.I9 = 0;
  }
  return f;
}

}  // namespace parvex
