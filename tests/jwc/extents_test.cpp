// Extents of JWC drawings and JWK shapes, and the steps after a read.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>

#include "converter/attributes/gra_attribute.h"
#include "converter/jwc/jwc_data.h"
#include "tests/support/jwc_writer.h"

namespace parvex::testing {
namespace {

struct Box {
  double x0, y0, x1, y1;
};

void ExpectBox(const DrawingExtents& e, const Box& b) {
  constexpr double kTol = 1e-4;  // single-precision records
  EXPECT_NEAR(e.ExtMinX, b.x0, kTol);
  EXPECT_NEAR(e.ExtMinY, b.y0, kTol);
  EXPECT_NEAR(e.ExtMaxX, b.x1, kTol);
  EXPECT_NEAR(e.ExtMaxY, b.y1, kTol);
}

const double kHalfRoot2 = std::sqrt(0.5) * 10;

TEST(JwcExtents, Table) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  struct Case {
    const char* name;
    std::function<void(TJwcData&)> fill;
    Box box;
  };
  const Case cases[] = {
      {"no entity keeps the run's extents", [](TJwcData&) {}, {0, 0, 400, 400}},
      {"one point gives a 20 x 20 box",
       [](TJwcData& d) { d.EntTen = {JwcPoint(5, 7)}; }, {-5, -3, 15, 17}},
      {"lines", [](TJwcData& d) { d.EntLine = {JwcLine(10, 20, 30, 5), JwcLine(-4, 8, 0, 9)}; },
       {-4, 5, 30, 20}},
      {"a zero-length first text does not leave the placeholder box in",
       [](TJwcData& d) {
         d.EntMoji = {JwcText(3, 3, 3, 3, u"x"), JwcText(50, 60, 70, 60, u"y")};
       },
       {50, 60, 70, 60}},
      {"only zero-length texts keep the run's extents",
       [](TJwcData& d) { d.EntMoji = {JwcText(3, 3, 3, 3, u"x")}; }, {0, 0, 400, 400}},
      {"an unusable first line end does not leave the placeholder box in",
       [nan](TJwcData& d) { d.EntLine = {JwcLine(nan, 0, 100, 50)}; }, {90, 40, 110, 60}},
      {"a lone arc starts from its centre",
       [](TJwcData& d) { d.EntArc = {JwcArc(0, 0, 10, 0, 90)}; }, {0, 0, 10, 10}},
      {"with lines, an arc's centre is not part of the box",
       [](TJwcData& d) {
         d.EntLine = {JwcLine(0, 0, 1, 0)};
         d.EntArc = {JwcArc(100, 0, 10, 0, 90)};
       },
       {0, 0, 110, 10}},
      {"full circle (end angle equals start)",
       [](TJwcData& d) { d.EntArc = {JwcArc(50, 50, 10, 30, 30)}; }, {40, 40, 60, 60}},
      {"arc across 0 degrees",
       [](TJwcData& d) { d.EntArc = {JwcArc(0, 0, 10, 315, 45)}; }, {0, -kHalfRoot2, 10, kHalfRoot2}},
      {"arc with negative angles",
       [](TJwcData& d) { d.EntArc = {JwcArc(0, 0, 10, -90, 90)}; }, {0, -10, 10, 10}},
      {"tilted circle reaches its full radius",
       [](TJwcData& d) { d.EntArc = {JwcArc(0, 0, 10, 0, 0, 1, 45)}; }, {-10, -10, 10, 10}},
      {"ellipse turned upright",
       [](TJwcData& d) { d.EntArc = {JwcArc(0, 0, 10, 0, 0, 0.5f, 90)}; }, {-5, -10, 5, 10}},
      {"upright half ellipse",
       [](TJwcData& d) {
         d.EntLine = {JwcLine(0, 0, 0, 0)};
         d.EntArc = {JwcArc(0, 0, 10, 0, 180, 0.5f, 90)};
       },
       {-5, -10, 0, 10}},
      {"virtual points 1 to the stated count",
       [](TJwcData& d) {
         d.Enthd.vtenCount = 2;
         d.EntVten[0] = {-500, -500, 0};
         d.EntVten[1] = {10, 10, 0};
         d.EntVten[2] = {30, 20, 0};
         d.EntVten[3] = {900, 900, 0};
       },
       {10, 10, 30, 20}},
      {"a count beyond the stored virtual points uses the stored ones",
       [](TJwcData& d) {
         d.Enthd.vtenCount = 5000;
         for (int i = 1; i <= 100; ++i) d.EntVten[i] = {static_cast<float>(i), 1, 0};
       },
       {1, 1, 100, 1}},
      {"texts and points after lines",
       [](TJwcData& d) {
         d.EntLine = {JwcLine(0, 0, 10, 10)};
         d.EntMoji = {JwcText(-5, 2, 20, 2, u"t")};
         d.EntTen = {JwcPoint(3, 40)};
       },
       {-5, 0, 20, 40}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TJwcData d = MakeJwcDrawing();
    c.fill(d);
    DrawingExtents ext;
    d.GetMinMaxZahyo(ext);
    ExpectBox(ext, c.box);
    EXPECT_EQ(d.myMinWx, ext.ExtMinX);
    EXPECT_EQ(d.myMaxWy, ext.ExtMaxY);
  }
}

TEST(JwkExtents, Table) {
  struct Case {
    const char* name;
    float scale;
    std::function<void(TJwkData&)> fill;
    Box box;
  };
  const Case cases[] = {
      {"empty shape: the origin widened by 10", 1, [](TJwkData&) {}, {-10, -10, 10, 10}},
      {"the origin is always inside", 1,
       [](TJwkData& s) { s.EntLine = {JwcLine(100, 100, 200, 150)}; }, {0, 0, 200, 150}},
      {"points are divided by the scale", 50,
       [](TJwkData& s) { s.EntLine = {JwcLine(0, 0, 5000, 0)}; }, {0, 0, 100, 0}},
      {"arcs, texts and points", 10,
       [](TJwkData& s) {
         s.EntArc = {JwcArc(-100, 0, 50, 0, 0)};
         s.EntMoji = {JwcText(0, 300, 100, 300, u"t"), JwcText(900, 900, 900, 900, u"z")};
         s.EntTen = {JwcPoint(0, -200)};
       },
       {-15, -20, 10, 30}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TJwkData s = MakeJwkShape(c.scale);
    c.fill(s);
    DrawingExtents ext;
    s.GetMinMaxZahyo(ext);
    ExpectBox(ext, c.box);
  }
}

// After a read: the default pen colours come back and the extents are
// computed.
TEST(JwcAfterRead, ResetsColoursAndComputesExtents) {
  TgraAttribute attr;
  attr.SetAttrCol(2, 0xFF123456, 1, 0.9);
  TJwcData d = MakeJwcDrawing();
  d.EntLine = {JwcLine(1, 2, 3, 4)};
  DrawingExtents ext;
  d.AfterRead(attr, ext);
  EXPECT_EQ(attr.GetAttrColcol(2), 0xFF000000u);
  EXPECT_DOUBLE_EQ(attr.GetAttrColten(2), 0.3);
  ExpectBox(ext, {1, 2, 3, 4});

  attr.SetAttrCol(2, 0xFF123456, 1, 0.9);
  TJwkData s = MakeJwkShape();
  s.EntLine = {JwcLine(1, 2, 3, 4)};
  s.AfterRead(attr, ext);
  EXPECT_EQ(attr.GetAttrColcol(2), 0xFF000000u);
  ExpectBox(ext, {0, 0, 3, 4});
  EXPECT_FALSE(s.PaperCode().has_value());
}

}  // namespace
}  // namespace parvex::testing
