// Drawing extents of JWW drawings and JWS shapes.
#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <numbers>

#include "converter/jww/jws_data.h"

namespace parvex {
namespace {

constexpr double kPi = std::numbers::pi;

TEntJwwLine Line(double x1, double y1, double x2, double y2) {
  TEntJwwLine l;
  l.start_x = x1;
  l.start_y = y1;
  l.end_x = x2;
  l.end_y = y2;
  return l;
}

TEntJwwEnko Arc(double r, double start, double sweep, bool full, double flat = 1, double tilt = 0) {
  TEntJwwEnko a;
  a.dHankei = r;
  a.radKaishiKaku = start;
  a.radEnkoKaku = sweep;
  a.bZenEnFlg = full ? 1 : 0;
  a.dHenpeiRitsu = flat;
  a.radKatamukiKaku = tilt;
  return a;
}

TEntJwwMoji Text(double x, double y, double ex, double ey, std::u16string s = u"t") {
  TEntJwwMoji m;
  m.start_x = x;
  m.start_y = y;
  m.end_x = ex;
  m.end_y = ey;
  m.str = std::move(s);
  return m;
}

struct Box {
  double x0, y0, x1, y1;
};

TEST(JwwExtents, Table) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  struct Case {
    const char* name;
    std::function<void(TJwwData&)> fill;
    Box box;
  };
  const Case cases[] = {
      {"empty keeps the start values", [](TJwwData&) {}, {0, 0, 400, 400}},
      {"single point widened by 10",
       [](TJwwData& d) {
         TEntJwwTen t;
         t.start_x = 5;
         t.start_y = 7;
         d.EntTen = {t};
       },
       {-5, -3, 15, 17}},
      {"horizontal line is not widened",
       [](TJwwData& d) { d.EntLine = {Line(0, 0, 100, 0)}; }, {0, 0, 100, 0}},
      {"full circle", [](TJwwData& d) { d.EntEnko = {Arc(10, 0, 0, true)}; }, {-10, -10, 10, 10}},
      {"quarter arc", [](TJwwData& d) { d.EntEnko = {Arc(10, 0, kPi / 2, false)}; }, {0, 0, 10, 10}},
      {"tilted full ellipse sampled at its axis ends",
       [](TJwwData& d) { d.EntEnko = {Arc(10, 0, 0, true, 0.5, kPi / 4)}; },
       {-7.0710678118654755, -7.0710678118654755, 7.0710678118654755, 7.0710678118654755}},
      {"far line clamped to 1e8", [](TJwwData& d) { d.EntLine = {Line(0, 0, 1e9, 0)}; }, {0, 0, 1e8, 0}},
      {"drawing wholly beyond -1e8 clamped on both edges",
       [](TJwwData& d) { d.EntLine = {Line(5, -2e8, 10, -3e8)}; }, {5, -1e8, 10, -1e8}},
      {"absurd end ignored",
       [](TJwwData& d) { d.EntLine = {Line(0, 0, 1e12, 0)}; }, {-10, -10, 10, 10}},
      {"NaN and infinite points ignored",
       [nan](TJwwData& d) {
         d.EntLine = {Line(1, 2, nan, 0), Line(std::numeric_limits<double>::infinity(), 0, 3, 4)};
       },
       {1, 2, 3, 4}},
      {"NaN seed leaves the start values",
       [nan](TJwwData& d) { d.EntLine = {Line(nan, 0, 500, 500)}; }, {0, 0, 500, 500}},
      {"dimension only: never seeded",
       [](TJwwData& d) {
         TEntJwwSunpo s;
         s.Sen = Line(100, 100, 200, 100);
         d.EntSunpo = {s};
       },
       {0, 0, 400, 400}},
      {"placeholder text seeds from the solid",
       [](TJwwData& d) {
         d.EntMoji = {Text(0, 0, 0.01, 0.01)};
         TEntJwwSolid s;
         s.start_x = s.end_x = s.DPoint2_x = s.DPoint3_x = 1000;
         s.start_y = 1000;
         s.end_y = s.DPoint2_y = s.DPoint3_y = 1010;
         d.EntSolid = {s};
       },
       {1000, 1000, 1000, 1010}},
      {"image text adds its size",
       [](TJwwData& d) { d.EntMoji = {Text(10, 10, 20, 10, u"^@BMa.bmp,50,30,1,1")}; },
       {10, 10, 60, 40}},
      {"block line scaled and turned",
       [](TJwwData& d) {
         TEntJwwBlockDef def;
         def.nNumber = 1;
         def.mLine = {Line(0, 0, 10, 0)};
         d.EntBlockDef = {def};
         TEntJwwBlock b;
         b.nNumber = 1;
         b.DPKijunTen_x = b.DPKijunTen_y = 100;
         b.dBairitsuX = b.dBairitsuY = 2;
         b.radKaitenKaku = kPi / 2;
         d.EntBlock = {b};
         d.EntLine = {Line(100, 100, 100, 100)};
         d.MakeBlockTree();
       },
       {100, 100, 100, 120}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TJwwData d;
    c.fill(d);
    DrawingExtents ext;
    d.GetMinMaxZahyo(ext);
    EXPECT_NEAR(ext.ExtMinX, c.box.x0, 1e-9);
    EXPECT_NEAR(ext.ExtMinY, c.box.y0, 1e-9);
    EXPECT_NEAR(ext.ExtMaxX, c.box.x1, 1e-9);
    EXPECT_NEAR(ext.ExtMaxY, c.box.y1, 1e-9);
    EXPECT_EQ(d.myMaxWx, ext.ExtMaxX);
  }
}

TEST(JwwExtents, CurvedSolids) {
  // A filled half disc of radius 10 about (0, 0), from 0 to pi; as a
  // sector (kind 0) it also includes the centre.
  TEntJwwSolid s;
  s.att.nPenStyle = 101;
  s.end_x = 10;       // radius
  s.end_y = 1;        // flattening
  s.DPoint2_y = 0;    // start
  s.DPoint3_x = kPi;  // swept
  s.DPoint3_y = 0;    // kind
  TJwwData d;
  d.EntLine = {Line(0, -5, 0, -5)};
  d.EntSolid = {s};
  DrawingExtents ext;
  d.GetMinMaxZahyo(ext);
  EXPECT_NEAR(ext.ExtMinX, -10, 1e-9);
  EXPECT_NEAR(ext.ExtMaxX, 10, 1e-9);
  EXPECT_NEAR(ext.ExtMinY, -5, 1e-9);
  EXPECT_NEAR(ext.ExtMaxY, 10, 1e-9);
  // Kind -1 over a quarter: the tangents at (10, 0) and (0, 10) meet at
  // (10, 10).
  s.DPoint3_x = kPi / 2;
  s.DPoint3_y = -1;
  d.EntSolid = {s};
  d.EntLine = {Line(5, 5, 5, 5)};
  DrawingExtents ext2;
  d.GetMinMaxZahyo(ext2);
  EXPECT_NEAR(ext2.ExtMaxX, 10, 1e-9);
  EXPECT_NEAR(ext2.ExtMaxY, 10, 1e-9);
  EXPECT_NEAR(ext2.ExtMinX, 0, 1e-9);
}

TEST(JwsExtents, SeededWithTheBasePoint) {
  TJwsData s;
  s.Enthd.BasePoint_x = 3;
  s.Enthd.BasePoint_y = 4;
  DrawingExtents ext;
  s.GetMinMaxZahyo(ext);
  EXPECT_EQ(ext.ExtMinX, -7);
  EXPECT_EQ(ext.ExtMinY, -6);
  EXPECT_EQ(ext.ExtMaxX, 13);
  EXPECT_EQ(ext.ExtMaxY, 14);

  TJwsData t;
  t.EntLine = {Line(10, 10, 20, 10)};
  DrawingExtents ext2;
  t.GetMinMaxZahyo(ext2);
  EXPECT_EQ(ext2.ExtMinX, 0);
  EXPECT_EQ(ext2.ExtMinY, 0);
  EXPECT_EQ(ext2.ExtMaxX, 20);
  EXPECT_EQ(ext2.ExtMaxY, 10);

  // A base point far below the limit: clamped on both edges, then widened.
  TJwsData far;
  far.Enthd.BasePoint_y = -6e8;
  DrawingExtents ext3;
  far.GetMinMaxZahyo(ext3);
  EXPECT_EQ(ext3.ExtMinY, -1e8 - 10);
  EXPECT_EQ(ext3.ExtMaxY, -1e8 + 10);
}

}  // namespace
}  // namespace parvex
