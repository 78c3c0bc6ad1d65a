// Loading a drawing's pen colours into the attribute object.
#include <gtest/gtest.h>

#include "converter/attributes/gra_attribute.h"
#include "converter/jww/jww_data.h"

namespace parvex {
namespace {

TEST(JwwColorSet, ColourSourceAndBackground) {
  struct {
    const char* name;
    int32_t screenBg, printerBg;
    int source;
    int bkColor;
  } cases[] = {
      {"black screen background", 0x000000, 0xFFFFFF, 1, 1},
      {"white screen background", 0xFFFFFF, 0x000000, 1, 0},
      {"grey background changes nothing", 0x808080, 0x000000, 1, 0},
      {"printer background decides", 0xFFFFFF, 0x101010, 2, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TJwwData d;
    d.EntCol[0].aPenColor = c.screenBg;
    d.EntCol[0].aPrtPenColor = c.printerBg;
    d.EntCol[3].aPenColor = 0x0000FF;     // red on screen
    d.EntCol[3].aPrtPenColor = 0xFF0000;  // blue on paper
    d.EntCol[3].adPrtTenHankei = 0.9;
    d.EntColS[2].aPenColor = 0x00FF00;
    TgraAttribute a;
    d.FileColorSet(a, c.source);
    EXPECT_EQ(a.GetBackColorNo(), c.bkColor);
    EXPECT_EQ(a.GetAttrColcol(3), c.source == 1 ? 0xFFFF0000u : 0xFF0000FFu);
    EXPECT_DOUBLE_EQ(a.GetAttrColten(3), 0.9);
    EXPECT_EQ(a.GetAttrColcol(102), c.source == 1 ? 0xFF00FF00u : 0xFF000000u);
    // Pen colour 9 keeps its default.
    EXPECT_EQ(a.GetAttrColcol(9), 0xFFFF80FFu);
  }
}

}  // namespace
}  // namespace parvex
