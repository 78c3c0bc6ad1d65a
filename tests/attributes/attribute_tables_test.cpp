// Pen colour slots, defaults, the ACI palette and the DOS-format tables.
#include <gtest/gtest.h>

#include "converter/attributes/gra_attribute.h"

namespace parvex {
namespace {

constexpr uint32_t Rgb(uint32_t r, uint32_t g, uint32_t b) {
  return 0xFF000000u | (r << 16) | (g << 8) | b;
}

TEST(GraAttribute, SlotsAndDefaults) {
  TgraAttribute a;
  struct {
    int jn;
    uint32_t color;
    double tenR;
  } cases[] = {
      {0, 0xFFFFFFFF, 0.1},          {10, 0xFFFFFFFF, 0.1},       {357, 0xFFFFFFFF, 0.1},
      {-1, 0xFFFFFFFF, 0.1},         {1, Rgb(0, 192, 192), 0.2},  {2, Rgb(0, 0, 0), 0.3},
      {5, Rgb(192, 0, 192), 0.5},    {9, Rgb(255, 128, 255), 0.2}, {102, Rgb(255, 0, 0), 0.2},
      {116, Rgb(128, 128, 128), 0.2}, {117, 0xFF000000, 0.2},      {356, 0xFF000000, 0.2},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.jn);
    EXPECT_EQ(a.GetAttrColcol(c.jn), c.color);
    EXPECT_DOUBLE_EQ(a.GetAttrColten(c.jn), c.tenR);
  }
}

TEST(GraAttribute, BackgroundSwitching) {
  TgraAttribute a;
  a.SetBackColor(1);
  // Switching alone changes no slot.
  EXPECT_EQ(a.GetAttrColcol(2), Rgb(0, 0, 0));
  a.SetDefaultColor();
  EXPECT_EQ(a.GetAttrColcol(2), Rgb(255, 255, 255));
  EXPECT_EQ(a.GetAttrColcol(117), Rgb(255, 255, 255));
  EXPECT_EQ(a.GetAttrColcol(0), Rgb(0, 0, 0));
  a.SetBackColor(0);
  a.SetDefaultColor();
  EXPECT_EQ(a.GetAttrColcol(117), Rgb(0, 0, 0));
  a.SetBackColor(5);
  EXPECT_EQ(a.GetBackColorNo(), 0);
  EXPECT_EQ(a.BackColor, 0xFF808080u);

  a.SetAttrCol(100, 0xFF123456, 1, 0.7);
  EXPECT_EQ(a.GetAttrColcol(100), a.BackColor);
  a.SetAttrCol(101, 0xFF123456, 1, 0.7);
  EXPECT_EQ(a.jwvCol[9].color, 0xFF123456u);
  EXPECT_DOUBLE_EQ(a.GetAttrColten(101), 0.7);
}

TEST(AciPalette, NearestAci) {
  struct {
    uint32_t color;
    int aci;
  } cases[] = {
      {Rgb(255, 255, 255), 7}, {Rgb(0, 0, 0), 7},       {Rgb(255, 0, 0), 1},
      {Rgb(254, 0, 0), 1},     {Rgb(230, 230, 230), 254}, {Rgb(200, 200, 200), 9},
      {Rgb(100, 100, 100), 251}, {Rgb(0, 192, 192), 132}, {Rgb(0, 0, 255), 5},
      // Greys go to the greys DXF readers show, never to 255 (white): the
      // (179, 179, 179) of a filled disc stays grey.
      {Rgb(179, 179, 179), 253}, {Rgb(240, 240, 240), 7}, {Rgb(220, 220, 220), 254},
      {Rgb(50, 50, 50), 250},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.color);
    EXPECT_EQ(NearestAci(c.color), c.aci);
  }
  // No colour but white has 255 as its nearest entry, and white gives 7.
  for (uint32_t v = 0; v < 256; ++v) EXPECT_NE(NearestAci(Rgb(v, v, v)), 255) << v;
}

TEST(AciPalette, RuleAndExceptions) {
  const auto& p = AciPalette();
  struct {
    int index;
    uint32_t color;
  } cases[] = {
      {10, Rgb(255, 0, 0)},     {11, Rgb(255, 127, 127)}, {12, Rgb(165, 0, 0)},
      {19, Rgb(38, 19, 19)},    {29, Rgb(38, 23, 19)},    {40, Rgb(255, 191, 0)},
      {50, Rgb(255, 255, 0)},   {130, Rgb(0, 255, 255)},  {170, Rgb(0, 0, 255)},
      {249, Rgb(38, 19, 23)},   {250, Rgb(51, 51, 51)},   {253, Rgb(173, 173, 173)},
      {255, Rgb(255, 255, 255)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.index);
    EXPECT_EQ(p[c.index], c.color);
  }
}

TEST(DosTables, ColoursAndLineTypes) {
  const int colours[][2] = {{0, 7}, {1, 4}, {2, 7}, {3, 3}, {4, 2}, {5, 6}, {6, 5}, {7, 7}, {-3, 7}};
  for (const auto& c : colours) EXPECT_EQ(JwcColorToAci(c[0]), c[1]) << c[0];
  const int styles[][2] = {{0, 1}, {1, 1}, {9, 9}, {10, 1}, {11, 10}, {18, 17}, {19, 1}, {-1, 1}};
  for (const auto& s : styles) EXPECT_EQ(JwcStyleToLtype(s[0]), s[1]) << s[0];
}

TEST(WindowsColour, SwapsRedAndBlue) {
  EXPECT_EQ(WindowsRgbToAlphaColor(0x0000FF), Rgb(255, 0, 0));
  EXPECT_EQ(WindowsRgbToAlphaColor(0x123456), Rgb(0x56, 0x34, 0x12));
  EXPECT_EQ(WindowsRgbToAlphaColor(0x7F123456), Rgb(0x56, 0x34, 0x12));
}

}  // namespace
}  // namespace parvex
