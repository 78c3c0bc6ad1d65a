#include "tests/support/block_fixtures.h"

#include <numbers>

#include "tests/support/jww_writer.h"

namespace parvex::testing {

namespace {

constexpr double kPi = std::numbers::pi;

TEntJwwLine Line(double x1, double y1, double x2, double y2, int color = 1, int group = 0) {
  TEntJwwLine l;
  l.att = Attr(0, 1, color, 1);
  l.att.lGroup = static_cast<uint32_t>(group);
  l.start_x = x1;
  l.start_y = y1;
  l.end_x = x2;
  l.end_y = y2;
  return l;
}

TEntJwwEnko Arc(double cx, double cy, double r, double start, double sweep, int group = 0,
                double flattening = 1.0, bool full = false) {
  TEntJwwEnko a;
  a.att = Attr(0, 1, 1, 1);
  a.att.lGroup = static_cast<uint32_t>(group);
  a.start_x = cx;
  a.start_y = cy;
  a.dHankei = r;
  a.radKaishiKaku = start;
  a.radEnkoKaku = sweep;
  a.dHenpeiRitsu = flattening;
  a.bZenEnFlg = full ? 1 : 0;
  return a;
}

TEntJwwBlock Insert(uint32_t number, double x, double y, double sx = 1, double sy = 1,
                    double rad = 0) {
  TEntJwwBlock b;
  b.att = Attr(0, 2, 2, 1);
  b.DPKijunTen_x = x;
  b.DPKijunTen_y = y;
  b.dBairitsuX = sx;
  b.dBairitsuY = sy;
  b.radKaitenKaku = rad;
  b.nNumber = number;
  return b;
}

TEntJwwBlockDef Definition(uint32_t number, std::u16string name) {
  TEntJwwBlockDef d;
  d.att = Attr(0, 0, 1, 1);
  d.nNumber = number;
  d.strName = std::move(name);
  return d;
}

}  // namespace

TJwwData MakeNestedBlocksDrawing(int32_t version, double scale) {
  TJwwData d = MakeJwwDrawing(version);
  for (auto& g : d.EntLgrp) g.adScale = scale;

  TEntJwwBlockDef leaf = Definition(kLeafBlock, u"LEAF@@SfigorgFlag@@12345");
  AddMember(leaf, Line(0, 0, 10, 0));
  AddMember(leaf, Line(0, 0, 0, 5));
  AddMember(leaf, Arc(5, 5, 2, 0, kPi / 2));

  TEntJwwBlockDef mid = Definition(kMidBlock, u"MID");
  AddMember(mid, Line(-1, -1, 1, 1));
  AddMember(mid, Insert(kLeafBlock, 20, 0, 2, 2, kPi / 6));

  TEntJwwBlockDef top = Definition(kTopBlock, u"TOP");
  AddMember(top, Insert(kMidBlock, 0, 30, -1, 1, kPi / 2));
  AddMember(top, Line(0, 0, 3, 4));
  AddMember(top, Insert(kLeafBlock, 5, 5, 0.5, 1.5, 0));

  TEntJwwBlockDef unused = Definition(kUnusedBlock, u"UNUSED");
  AddMember(unused, Line(0, 0, 1, 1));

  TEntJwwBlockDef midAgain = Definition(kMidAgainBlock, u"MID");
  AddMember(midAgain, Line(0, 0, 2, 0));

  TEntJwwBlockDef blank = Definition(kBlankBlock, u" \u3000 ");
  AddMember(blank, Line(0, 0, 0, 2));

  d.EntBlockDef = {leaf, mid, top, unused, midAgain, blank};

  AddEntity(d, Line(-100, -100, -90, -100));
  AddEntity(d, Insert(kTopBlock, 100, 50, 1.5, 1.5, -kPi / 2));
  AddEntity(d, Insert(kLeafBlock, -50, -20));
  AddEntity(d, Insert(kMidBlock, 0, 0, 1, 1, kPi));
  AddEntity(d, Insert(kMidAgainBlock, 10, -60));
  AddEntity(d, Insert(kBlankBlock, -10, -60));
  AddEntity(d, Insert(kMissingBlock, 0, -80));
  return d;
}

TJwwData MakeCurveGroupsDrawing(int32_t version) {
  TJwwData d = MakeJwwDrawing(version);

  // Group 7: (0,0)-(10,0), half circle about (10,5) up to (10,10), then
  // (10,10)-(0,10): one polyline of four vertices, bulge 1 on the arc.
  AddEntity(d, Line(0, 0, 10, 0, 1, 7));
  AddEntity(d, Arc(10, 5, 5, -kPi / 2, kPi, 7));
  AddEntity(d, Line(10, 10, 0, 10, 1, 7));
  // Group 8: touching lines of different colours give two polylines.
  AddEntity(d, Line(0, 20, 10, 20, 1, 8));
  AddEntity(d, Line(10, 20, 20, 20, 3, 8));
  // Written one by one.
  AddEntity(d, Line(0, 30, 10, 30));
  TEntJwwLine flagged = Line(0, 40, 10, 40, 1, 7);
  flagged.att.sFlg = 0x20;
  AddEntity(d, flagged);
  AddEntity(d, Arc(50, 50, 5, 0, kPi / 2, 7, 0.5));
  AddEntity(d, Arc(70, 50, 5, 0, 2 * kPi, 7, 1.0, true));

  TEntJwwBlockDef curves = Definition(1, u"CURVES");
  AddMember(curves, Line(0, 0, 5, 0, 1, 9));
  AddMember(curves, Line(5, 0, 5, 5, 1, 9));
  // Quarter circle about (0,5) from (5,5) to (0,10).
  AddMember(curves, Arc(0, 5, 5, 0, kPi / 2, 9));
  d.EntBlockDef = {curves};
  AddEntity(d, Insert(1, 200, 0));
  return d;
}

TJwwData MakeSelfInsertingBlocksDrawing(int32_t version) {
  TJwwData d = MakeJwwDrawing(version);
  TEntJwwBlockDef a = Definition(1, u"A");
  AddMember(a, Line(0, 0, 1, 0));
  AddMember(a, Insert(2, 5, 0));
  TEntJwwBlockDef b = Definition(2, u"B");
  AddMember(b, Line(0, 0, 0, 1));
  AddMember(b, Insert(1, 0, 5, 0.5, 0.5));
  TEntJwwBlockDef c = Definition(3, u"C");
  AddMember(c, Line(0, 0, 1, 1));
  AddMember(c, Insert(3, 2, 2, 0.5, 0.5));
  d.EntBlockDef = {a, b, c};
  AddEntity(d, Insert(1, 0, 0));
  AddEntity(d, Insert(3, 50, 0));
  return d;
}

}  // namespace parvex::testing
