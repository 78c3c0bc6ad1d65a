// The DOS-edition mapping's own rules as pure functions: arc records to DXF
// curves, text lines centred on their stored ends, curve members.
#include <gtest/gtest.h>

#include <cmath>

#include "converter/mapping/jwc_dxf_mapper.h"
#include "tests/support/jwc_writer.h"

namespace parvex::testing {
namespace {

TEST(DosArcCurve, AnglesRatioAndAxes) {
  struct Case {
    const char* what;
    float st, et, h, tt;
    double radiusFactor, ratio, start, sweep, tilt;
  } cases[] = {
      {"circle", 0, 0, 1, 0, 1, 1, 0, 0, 0},
      {"end equals start: whole curve", 30, 30, 1, 0, 1, 1, 30, 0, 0},
      {"sweep over 0", 300, 30, 1, 0, 1, 1, 300, 90, 0},
      {"negative angles", -90, 0, 1, -45, 1, 1, 270, 90, 315},
      {"flattening within 1e-6 of 1", 0, 90, 1.0000005f, 0, 1, 1, 0, 90, 0},
      {"flattening 0.5", 0, 0, 0.5f, 10, 1, 0.5, 0, 0, 10},
      // The second axis is the longer: exchanged, turned by 90 degrees, and
      // the parameter angles follow the new major axis.
      {"flattening 2", 90, 180, 2, 0, 2, 0.5, 0, 90, 90},
      {"flattening 4, tilted", 0, 0, 4, 300, 4, 0.25, 270, 0, 30},
      {"flattening 0: thinnest ellipse", 0, 0, 0, 0, 1, 1e-6, 0, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TEntJwcArc2 e = JwcArc(0, 0, 10, c.st, c.et, c.h, c.tt);
    const JwcArcCurve k = ArcCurveOf(e);
    EXPECT_NEAR(k.radiusFactor, c.radiusFactor, 1e-6);
    EXPECT_NEAR(k.ratio, c.ratio, 1e-6);
    EXPECT_NEAR(k.start, c.start, 1e-9);
    EXPECT_NEAR(k.sweep, c.sweep, 1e-9);
    EXPECT_NEAR(k.tilt, c.tilt, 1e-9);
  }
}

// The exchanged ellipse draws the same points as the stored one.
TEST(DosArcCurve, ExchangedAxesKeepThePoints) {
  const TEntJwcArc2 e = JwcArc(0, 0, 10, 20, 200, 3, 15);
  const JwcArcCurve k = ArcCurveOf(e);
  constexpr double kDeg = 3.14159265358979323846 / 180;
  for (double t : {0.0, 37.0, 90.0, 180.0}) {
    SCOPED_TRACE(t);
    const double a = e.tt * kDeg, u = (e.st + t) * kDeg;
    const double x0 = std::cos(a) * 10 * std::cos(u) - std::sin(a) * 30 * std::sin(u);
    const double y0 = std::sin(a) * 10 * std::cos(u) + std::cos(a) * 30 * std::sin(u);
    const double r = 10 * k.radiusFactor, b = k.tilt * kDeg, v = (k.start + t) * kDeg;
    const double x1 = std::cos(b) * r * std::cos(v) - std::sin(b) * r * k.ratio * std::sin(v);
    const double y1 = std::sin(b) * r * std::cos(v) + std::cos(b) * r * k.ratio * std::sin(v);
    EXPECT_NEAR(x0, x1, 1e-9);
    EXPECT_NEAR(y0, y1, 1e-9);
  }
}

TEST(DosTextLine, CentredOnTheStoredEnds) {
  const TEntJwcMojiType kind{1, 30, 20, 10};  // 3 mm wide, 2 mm high, 1 mm apart
  struct Case {
    const char* what;
    TEntJwcMoji2 text;
    double size;
    TextStyleMode mode;
    double x1, y1, x2, y2, w, h;
  } cases[] = {
      // Three full-width characters: 3 * 3 + 2 * 1 = 11 long around x = 50.
      {"horizontal", JwcText(0, 0, 100, 0, u"あいう"), 1, TextStyleMode::PerKind, 44.5, 0, 55.5, 0,
       3, 2},
      // Half-width characters count half a width and half the spacing.
      {"half-width characters count half", JwcText(0, 0, 100, 0, u"ab"), 1,
       TextStyleMode::PerKind, 48.25, 0, 51.75, 0, 3, 2},
      {"shape scale multiplies the sizes", JwcText(0, 0, 100, 0, u"あ"), 50,
       TextStyleMode::PerKind, -25, 0, 125, 0, 150, 100},
      {"along y", JwcText(0, 0, 0, 100, u"あ"), 1, TextStyleMode::PerKind, 0, 48.5, 0, 51.5, 3,
       2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const JwcTextLine t = TextLineOf(c.text, kind, c.size, c.mode);
    EXPECT_FALSE(t.vertical);
    EXPECT_NEAR(t.x1, c.x1, 1e-9);
    EXPECT_NEAR(t.y1, c.y1, 1e-9);
    EXPECT_NEAR(t.x2, c.x2, 1e-9);
    EXPECT_NEAR(t.y2, c.y2, 1e-9);
    EXPECT_DOUBLE_EQ(t.w, c.w);
    EXPECT_DOUBLE_EQ(t.h, c.h);
  }
}

// Vertical texts exchange width and height, count every character whole,
// and with SHX styles move up by half the new height.
TEST(DosTextLine, VerticalTexts) {
  const TEntJwcMojiType kind{1, 30, 20, 10};
  TEntJwcMoji2 e = JwcText(0, 0, 100, 0, u"ab");
  e.flg1 = 0x20;
  for (TextStyleMode mode : {TextStyleMode::PerKind, TextStyleMode::TrueType}) {
    SCOPED_TRACE(static_cast<int>(mode));
    const JwcTextLine t = TextLineOf(e, kind, 1, mode);
    EXPECT_TRUE(t.vertical);
    EXPECT_DOUBLE_EQ(t.w, 2);
    EXPECT_DOUBLE_EQ(t.h, 3);
    // 2 * 2 + 1 = 5 long.
    EXPECT_NEAR(t.x1, 47.5, 1e-9);
    EXPECT_NEAR(t.x2, 52.5, 1e-9);
    EXPECT_NEAR(t.y1, mode == TextStyleMode::TrueType ? 0 : 1.5, 1e-9);
  }
}

TEST(DosCurveMembers, FlagsDecide) {
  struct Case {
    uint8_t flg2, flg3;
    bool on, joins, ends;
  } cases[] = {
      {0x40, 0, true, true, false},   {0x80, 0, true, true, false},
      {0xC0, 0, true, true, true},    {0x00, 0, true, false, false},
      {0x60, 0, true, false, false},  {0x40, 0x20, true, false, false},
      {0xC0, 0, false, false, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << std::hex << int{c.flg2} << " " << int{c.flg3} << " "
                                    << c.on);
    TEntJwcLine e = JwcLine(0, 0, 1, 0);
    e.flg2 = c.flg2;
    e.flg3 = c.flg3;
    EXPECT_EQ(JoinsCurvePolyline(e, c.on), c.joins);
    EXPECT_EQ(EndsCurve(e), c.ends);
  }
}

}  // namespace
}  // namespace parvex::testing
