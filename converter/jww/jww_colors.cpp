// Pen colours of a JWW drawing into the attribute object.
#include "converter/attributes/gra_attribute.h"
#include "converter/jww/jww_data.h"

namespace parvex {

void TJwwData::FileColorSet(TgraAttribute& attr, int colorSource) const {
  if (EntCol.size() < kJwwColorCount) return;
  const bool printer = colorSource == 2;
  auto pick = [&](int32_t screen, int32_t prt) { return printer ? prt : screen; };
  for (int n = 1; n <= 8; ++n) {
    const TEntJwwColorNo& c = EntCol[n];
    attr.SetAttrCol(n, WindowsRgbToAlphaColor(pick(c.aPenColor, c.aPrtPenColor)),
                    pick(c.anPenWidth, c.anPrtPenWidth), c.adPrtTenHankei);
  }
  for (int c = 1; c < kJwwColorSCount && c < static_cast<int>(EntColS.size()); ++c) {
    const TEntJwwColorExNo& e = EntColS[c];
    attr.SetAttrCol(100 + c, WindowsRgbToAlphaColor(pick(e.aPenColor, e.aPrtPenColor)),
                    pick(e.anPenWidth, e.anPrtPenWidth), e.adPrtTenHankei);
  }
  // The background colour tells whether the drawing was made dark or light.
  const uint32_t bg = WindowsRgbToAlphaColor(pick(EntCol[0].aPenColor, EntCol[0].aPrtPenColor));
  const uint32_t r = (bg >> 16) & 0xFF, g = (bg >> 8) & 0xFF, b = bg & 0xFF;
  if (r <= 20 && g <= 20 && b <= 20) {
    attr.SetBackColor(1);
  } else if (r > 234 && g > 234 && b > 234) {
    attr.SetBackColor(0);
  }
}

}  // namespace parvex
