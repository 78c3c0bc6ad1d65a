#include "tests/support/sample_drawings.h"

#include <cmath>
#include <numbers>

#include "tests/support/jww_fixtures.h"

namespace parvex::testing {

namespace {

constexpr double kPi = std::numbers::pi;

TEntJwwEnko Arc(TEntJwwAttr a, double cx, double cy, double r, double start, double sweep,
                double flat = 1, double tilt = 0) {
  TEntJwwEnko e;
  e.att = a;
  e.start_x = cx;
  e.start_y = cy;
  e.dHankei = r;
  e.radKaishiKaku = start;
  e.radEnkoKaku = sweep;
  e.radKatamukiKaku = tilt;
  e.dHenpeiRitsu = flat;
  e.bZenEnFlg = sweep >= 2 * kPi ? 1 : 0;
  return e;
}

TEntJwwMoji Text(TEntJwwAttr a, double x, double y, std::u16string s, uint32_t kind, double size,
                 double angle = 0) {
  TEntJwwMoji e;
  e.att = a;
  e.start_x = x;
  e.start_y = y;
  // Full-width characters are as wide as the size, half-width half of it.
  double width = 0;
  for (char16_t c : s) width += (c < 0x80 ? 0.5 : 1.0) * size;
  e.end_x = x + width * std::cos(angle * kPi / 180);
  e.end_y = y + width * std::sin(angle * kPi / 180);
  e.nMojiShu = kind;
  e.dSizeX = size;
  e.dSizeY = size;
  e.dKankaku = 0;
  e.degKakudo = angle;
  e.strFontName = u"ＭＳ ゴシック";
  e.str = std::move(s);
  return e;
}

// Block 1: a window of the given length on layer 2 of `group`, two frame
// lines `half` off its axis and a glass line (colour 4) on it.
TEntJwwBlockDef WindowBlock(int group, std::u16string name, double length, double half) {
  TEntJwwBlockDef w;
  w.att = Attr(group, 2, 1, 1);
  w.nNumber = 1;
  w.strName = std::move(name);
  AddMember(w, MakeLine(Attr(group, 2, 1, 1), 0, -half, length, -half));
  AddMember(w, MakeLine(Attr(group, 2, 1, 1), 0, half, length, half));
  AddMember(w, MakeLine(Attr(group, 2, 4, 1), 0, 0, length, 0));
  return w;
}

}  // namespace

// Group 0 holds the plan at 1:50, group 1 the title block at 1:1.
TJwwData MakePlan() {
  TJwwData d = MakeJwwDrawing(700);
  TEntJwwHeader& h = d.Enthd;
  h.strMemo = u"Parvex sample plan\r\nサンプル平面図";
  h.nZumen = 3;  // A3
  h.nWriteGLay = 0;
  h.dPrtBairitsu = 1;
  h.nPrtDpi = 360;
  for (int k = 0; k < kJwwMojiTypeCount; ++k) {
    const double size = 2.0 + k * 1.0;
    d.EntMoj[k] = {size, size, 0.0, k % 8 + 1};
  }
  h.dMojiSizeX = h.dMojiSizeY = 3.5;
  const int32_t screen[] = {0xFFFFFF, 0x000000, 0x0000FF, 0x00FF00, 0xFF0000,
                            0xFF00FF, 0x00FFFF, 0x808000, 0x0080FF, 0xC0C0C0};
  for (int c = 0; c < kJwwColorCount; ++c) {
    d.EntCol[c] = {screen[c], 1, screen[c], c + 1, 0.3};
  }
  d.EntLtp1[0] = {static_cast<int32_t>(0xFFFF0000u), 16, 1, 1};  // dashed
  d.EntLtp1[1] = {static_cast<int32_t>(0xFF00FF00u), 16, 1, 1};
  d.EntLtp1[2] = {static_cast<int32_t>(0xFFF0FF00u), 16, 1, 1};  // dash-dot
  d.EntLgrp[0].adScale = 50;
  d.EntLgrp[0].aStrGLayName = u"平面図";
  d.EntLgrp[1].adScale = 1;
  d.EntLgrp[1].aStrGLayName = u"Title block";
  const char16_t* layer_names[] = {u"通り芯", u"壁", u"建具", u"設備", u"室名", u"寸法", u"仕上"};
  for (int l = 0; l < 7; ++l) d.EntLay[l].aStrLayName = layer_names[l];
  d.EntLay[16].aStrLayName = u"Frame";
  d.EntLay[17].aStrLayName = u"Notes";

  // Grid lines (layer 0, colour 6, dash-dot).
  for (double x : {-120.0, 0.0, 120.0}) AddEntity(d, MakeLine(Attr(0, 0, 6, 4), x, -100, x, 100));
  for (double y : {-80.0, 80.0}) AddEntity(d, MakeLine(Attr(0, 0, 6, 4), -140, y, 140, y));
  // Walls (layer 1, colour 2 thick, solid line).
  const double walls[][4] = {{-120, -80, 120, -80}, {120, -80, 120, 80}, {120, 80, -120, 80},
                             {-120, 80, -120, -80}, {0, -80, 0, 20},     {0, 40, 0, 80},
                             {-120, 0, -40, 0},     {-20, 0, 0, 0}};
  for (const auto& w : walls) {
    TEntJwwAttr a = Attr(0, 1, 2, 1);
    a.nPenWidth = 5;
    AddEntity(d, MakeLine(a, w[0], w[1], w[2], w[3]));
  }
  // Hidden line (dashed, colour 3).
  AddEntity(d, MakeLine(Attr(0, 1, 3, 2), 20, -60, 100, -60));
  // Door swings (layer 2): quarter arcs and door leaves.
  AddEntity(d, Arc(Attr(0, 2, 1, 1), -40, 0, 20, 0, kPi / 2));
  AddEntity(d, MakeLine(Attr(0, 2, 1, 1), -40, 0, -40, 20));
  AddEntity(d, Arc(Attr(0, 2, 1, 1), 0, 20, 20, kPi / 2, kPi / 2));
  // Columns: full circles; a table: an ellipse; a wash basin: an elliptic arc.
  for (double x : {-120.0, 0.0, 120.0})
    for (double y : {-80.0, 80.0}) AddEntity(d, Arc(Attr(0, 3, 4, 1), x, y, 4, 0, 2 * kPi));
  AddEntity(d, Arc(Attr(0, 3, 5, 1), 60, 20, 25, 0, 2 * kPi, 0.6, kPi / 12));
  AddEntity(d, Arc(Attr(0, 3, 5, 3), -90, 50, 12, kPi, kPi, 0.5));
  // Points: survey marks, one with a code (arrow), one temporary.
  TEntJwwTen p;
  p.att = Attr(0, 3, 7, 1);
  p.start_x = -130;
  p.start_y = -90;
  AddEntity(d, p);
  p.start_x = 130;
  p.start_y = 90;
  AddEntity(d, p);
  TEntJwwTen coded;
  coded.att = Attr(0, 3, 2, 100);
  coded.start_x = 100;
  coded.start_y = -70;
  coded.nCode = 1;
  coded.radKaitenKaku = kPi / 4;
  coded.dBairitsu = 1;
  AddEntity(d, coded);
  // Solids: a coloured floor finish and an SXF-coloured hatch.
  TEntJwwSolid floor;
  floor.att = Attr(0, 6, 10, 1);
  floor.start_x = 10;
  floor.start_y = -75;
  floor.end_x = 110;
  floor.end_y = -75;
  floor.DPoint2_x = 110;
  floor.DPoint2_y = -5;
  floor.DPoint3_x = 10;
  floor.DPoint3_y = -5;
  floor.Color = 0x00C0E0FF;  // Windows RGB: light orange
  AddEntity(d, floor);
  TEntJwwSolid wet = floor;
  wet.att = Attr(0, 6, 8, 1);
  wet.start_x = wet.DPoint3_x = -110;
  wet.end_x = wet.DPoint2_x = -70;
  wet.start_y = wet.end_y = 30;
  wet.DPoint2_y = wet.DPoint3_y = 70;
  wet.Color = 0;
  AddEntity(d, wet);
  // Room names (layer 4): Japanese, text kinds 3 to 5.
  AddEntity(d, Text(Attr(0, 4, 1, 1), -90, -45, u"居間・食堂", 5, 6));
  AddEntity(d, Text(Attr(0, 4, 1, 1), 40, -45, u"台所", 4, 5));
  AddEntity(d, Text(Attr(0, 4, 1, 1), 40, 55, u"寝室 ６畳", 4, 5));
  AddEntity(d, Text(Attr(0, 4, 3, 1), -100, 10, u"洗面所", 3, 4));
  AddEntity(d, Text(Attr(0, 4, 2, 1), 125, -20, u"North ↑", 2, 3, 90));
  // Dimension (layer 5).
  TEntJwwSunpo dim;
  dim.att = Attr(0, 5, 1, 1);
  dim.Sen = MakeLine(dim.att, -120, -95, 120, -95);
  dim.Moji = Text(dim.att, -8, -94, u"12000", 2, 3);
  dim.bSxfMode = 0;
  AddEntity(d, dim);
  // Title block (group 1): frame lines, Latin and Japanese texts.
  AddEntity(d, MakeLine(Attr(1, 0, 1, 1), -200, -138, 200, -138));
  AddEntity(d, MakeLine(Attr(1, 0, 1, 1), 200, -138, 200, 138));
  AddEntity(d, MakeLine(Attr(1, 0, 1, 1), 200, 138, -200, 138));
  AddEntity(d, MakeLine(Attr(1, 0, 1, 1), -200, 138, -200, -138));
  AddEntity(d, MakeLine(Attr(1, 0, 1, 1), 100, -138, 100, -110));
  AddEntity(d, MakeLine(Attr(1, 0, 1, 1), 100, -110, 200, -110));
  AddEntity(d, Text(Attr(1, 1, 1, 1), 105, -120, u"Parvex sample house", 6, 4));
  AddEntity(d, Text(Attr(1, 1, 1, 1), 105, -132, u"平面図 S=1/50", 3, 3));
  AddEntity(d, Text(Attr(1, 1, 5, 1), -195, 130, u"%dt %fn", 1, 2.5));

  // A window block: two lines and a glass line, inserted twice.
  d.EntBlockDef.push_back(WindowBlock(0, u"窓W1600", 32, 2));
  TEntJwwBlock insert;
  insert.att = Attr(0, 2, 1, 1);
  insert.dBairitsuX = insert.dBairitsuY = 1;
  insert.nNumber = 1;
  insert.DPKijunTen_x = -90;
  insert.DPKijunTen_y = 80;
  AddEntity(d, insert);
  insert.DPKijunTen_x = 40;
  AddEntity(d, insert);
  return d;
}

TJwsData MakeParts() {
  TJwsData s = MakeJwsShape(700);
  s.Enthd.BasePoint_x = 0;
  s.Enthd.BasePoint_y = 0;
  s.Enthd.Mx1 = -30;
  s.Enthd.My1 = -30;
  s.Enthd.Mx2 = 30;
  s.Enthd.My2 = 30;
  s.EntLgrp[0].adScale = 1;
  AddEntity(s, MakeLine(Attr(0, 0, 1, 1), -30, -30, 30, -30));
  AddEntity(s, MakeLine(Attr(0, 0, 1, 1), 30, -30, 30, 30));
  AddEntity(s, MakeLine(Attr(0, 0, 1, 1), 30, 30, -30, 30));
  AddEntity(s, MakeLine(Attr(0, 0, 1, 1), -30, 30, -30, -30));
  AddEntity(s, MakeLine(Attr(0, 1, 6, 4), -40, 0, 40, 0));
  AddEntity(s, MakeLine(Attr(0, 1, 6, 4), 0, -40, 0, 40));
  AddEntity(s, Arc(Attr(0, 0, 2, 1), 0, 0, 12, 0, 2 * kPi));
  for (double x : {-22.0, 22.0})
    for (double y : {-22.0, 22.0}) AddEntity(s, Arc(Attr(0, 0, 3, 1), x, y, 3, 0, 2 * kPi));
  AddEntity(s, Text(Attr(0, 2, 1, 1), -25, -38, u"ジャッキベース", 0, 3));
  return s;
}

namespace {

// A sheet's frame (x1, y1)-(x2, y2) and its title block in the lower right.
void AddSheetFrame(TJwwData& d, double x1, double y1, double x2, double y2,
                   const std::u16string& title, int sheet) {
  AddFrameRectangle(d, x1, y1, x2, y2);
  const TEntJwwAttr t = Attr(0, 1, 1, 1);
  AddEntity(d, MakeLine(t, x2 - 150, y1 + 5, x2 - 5, y1 + 5));
  AddEntity(d, MakeLine(t, x2 - 5, y1 + 5, x2 - 5, y1 + 35));
  AddEntity(d, MakeLine(t, x2 - 5, y1 + 35, x2 - 150, y1 + 35));
  AddEntity(d, MakeLine(t, x2 - 150, y1 + 35, x2 - 150, y1 + 5));
  AddEntity(d, MakeLine(t, x2 - 150, y1 + 20, x2 - 5, y1 + 20));
  AddEntity(d, MakeLine(t, x2 - 35, y1 + 5, x2 - 35, y1 + 20));
  AddEntity(d, Text(t, x2 - 145, y1 + 24, u"Parvex サンプル住宅", 5, 5));
  AddEntity(d, Text(t, x2 - 145, y1 + 9, title, 3, 4));
  const std::u16string number(1, static_cast<char16_t>(u'0' + sheet));
  AddEntity(d, Text(t, x2 - 28, y1 + 9, u"A-" + number, 3, 4));
}

}  // namespace

TJwwData MakeSheets() {
  TJwwData d = MakeJwwDrawing(700);
  TEntJwwHeader& h = d.Enthd;
  h.strMemo = u"Parvex sample sheets";
  h.nZumen = 1;  // A1
  h.nPrtSet = 40;
  for (int k = 0; k < kJwwMojiTypeCount; ++k) {
    const double size = 2.0 + k * 1.0;
    d.EntMoj[k] = {size, size, 0.0, 1};
  }
  const int32_t screen[] = {0xFFFFFF, 0x000000, 0x0000FF, 0x00A000, 0xFF0000,
                            0xFF00FF, 0x00A0A0, 0x808000, 0x0080FF, 0x808080};
  for (int c = 0; c < kJwwColorCount; ++c) d.EntCol[c] = {screen[c], 1, screen[c], c + 1, 0.3};
  d.EntLtp1[1] = {static_cast<int32_t>(0xFFF0FF00u), 16, 1, 1};  // dash-dot
  d.EntLgrp[0].adScale = 1;
  d.EntLgrp[0].aStrGLayName = u"図面枠";
  d.EntLgrp[1].adScale = 100;
  d.EntLgrp[1].aStrGLayName = u"S=1/100";
  const char16_t* layer_names[] = {u"通り芯", u"壁", u"建具", u"室名", u"寸法"};
  for (int l = 0; l < 5; ++l) d.EntLay[16 + l].aStrLayName = layer_names[l];

  // Blocks: a window (1:100, group 1) and a north arrow (1:1, group 0).
  d.EntBlockDef.push_back(WindowBlock(1, u"窓W1800", 18, 1));
  TEntJwwBlockDef north;
  north.att = Attr(0, 2, 1, 1);
  north.nNumber = 2;
  north.strName = u"方位";
  AddMember(north, Arc(Attr(0, 2, 1, 1), 0, 0, 8, 0, 2 * kPi));
  AddMember(north, MakeLine(Attr(0, 2, 1, 1), 0, -10, 0, 10));
  TEntJwwSolid arrow;
  arrow.att = Attr(0, 2, 1, 1);
  arrow.start_x = 0, arrow.start_y = 10, arrow.end_x = -3, arrow.end_y = 2;
  arrow.DPoint2_x = 3, arrow.DPoint2_y = 2, arrow.DPoint3_x = 3, arrow.DPoint3_y = 2;
  AddMember(north, arrow);
  AddMember(north, Text(Attr(0, 2, 1, 1), -1.5, 12, u"N", 2, 3));
  d.EntBlockDef.push_back(north);

  // Sheet 1: the floor plan, 12 m x 8 m at 1:100, centred on (-210, 15).
  AddSheetFrame(d, -410, -140, -10, 140, u"1階平面図 S=1/100", 1);
  const double px = -270, py = -25;  // lower-left corner of the building
  for (double x : {0.0, 60.0, 120.0})
    AddEntity(d, MakeLine(Attr(1, 0, 6, 2), px + x, py - 15, px + x, py + 95));
  for (double y : {0.0, 80.0})
    AddEntity(d, MakeLine(Attr(1, 0, 6, 2), px - 15, py + y, px + 135, py + y));
  TEntJwwAttr wall = Attr(1, 1, 2, 1);
  wall.nPenWidth = 5;
  const double walls[][4] = {{0, 0, 120, 0},  {120, 0, 120, 80}, {120, 80, 0, 80},
                             {0, 80, 0, 0},   {60, 0, 60, 30},   {60, 50, 60, 80},
                             {0, 40, 25, 40}, {40, 40, 60, 40}};
  for (const auto& w : walls)
    AddEntity(d, MakeLine(wall, px + w[0], py + w[1], px + w[2], py + w[3]));
  AddEntity(d, Arc(Attr(1, 2, 1, 1), px + 25, py + 40, 15, 0, kPi / 2));
  AddEntity(d, MakeLine(Attr(1, 2, 1, 1), px + 25, py + 40, px + 25, py + 55));
  AddEntity(d, Arc(Attr(1, 2, 1, 1), px + 60, py + 30, 20, kPi / 2, kPi / 2));
  for (double x : {15.0, 85.0}) AddEntity(d, MakeInsert(Attr(1, 2, 1, 1), 1, px + x, py + 80));
  AddEntity(d, MakeInsert(Attr(1, 2, 1, 1), 1, px + 120, py + 50, 1, kPi / 2));
  AddEntity(d, Text(Attr(1, 3, 1, 1), px + 15, py + 15, u"居間・食堂", 5, 5));
  AddEntity(d, Text(Attr(1, 3, 1, 1), px + 75, py + 55, u"寝室", 5, 5));
  AddEntity(d, Text(Attr(1, 3, 1, 1), px + 75, py + 15, u"台所", 5, 5));
  TEntJwwSunpo dim;
  dim.att = Attr(1, 4, 1, 1);
  dim.Sen = MakeLine(dim.att, px, py - 8, px + 120, py - 8);
  dim.Moji = Text(dim.att, px + 52, py - 7, u"12000", 2, 3);
  AddEntity(d, dim);
  AddEntity(d, MakeInsert(Attr(0, 2, 1, 1), 2, -50, 90));

  // Sheet 2: the south elevation at 1:100, centred on (210, 15).
  AddSheetFrame(d, 10, -140, 410, 140, u"南立面図 S=1/100", 2);
  const double ex = 150, ey = -40;  // left end of the ground line
  TEntJwwAttr ground = Attr(1, 1, 2, 1);
  ground.nPenWidth = 7;
  AddEntity(d, MakeLine(ground, ex - 20, ey, ex + 140, ey));
  const double outline[][4] = {{0, 0, 0, 55}, {120, 0, 120, 55}, {0, 55, 120, 55},
                               {-8, 52, 60, 90}, {60, 90, 128, 52}};
  for (const auto& o : outline)
    AddEntity(d, MakeLine(wall, ex + o[0], ey + o[1], ex + o[2], ey + o[3]));
  for (double x : {15.0, 50.0, 85.0}) {
    AddEntity(d, MakeInsert(Attr(1, 2, 1, 1), 1, ex + x, ey + 30));
    AddEntity(d, MakeInsert(Attr(1, 2, 1, 1), 1, ex + x, ey + 15));
  }
  AddEntity(d, Text(Attr(1, 3, 1, 1), ex + 40, ey - 12, u"GL", 3, 4));
  return d;
}

namespace {

template <class Model>
FuzzSeed Seed(std::string path, const Model& model, const JwwWriteOptions& options, std::string bytes) {
  FuzzSeed seed;
  seed.path = std::move(path);
  seed.bytes = std::move(bytes);
  seed.entities = model;
  seed.version = model.Enthd.jwVer;
  NormalizeForWrite(seed.entities, seed.version, options);
  seed.images = static_cast<int32_t>(options.images.size());
  return seed;
}

FuzzSeed JwwSeed(std::string path, const TJwwData& drawing, const JwwWriteOptions& options = {}) {
  return Seed(std::move(path), drawing, options, WriteJww(drawing, options));
}

FuzzSeed JwsSeed(std::string path, const TJwsData& shape, const JwwWriteOptions& options = {}) {
  return Seed(std::move(path), shape, options, WriteJws(shape, options));
}

}  // namespace

std::vector<FuzzSeed> FuzzSeeds() {
  std::vector<FuzzSeed> seeds;
  for (int32_t version : {220, 300, 351, 420, 700}) {
    JwwWriteOptions options;
    options.cycle_class_refs = version == 420;
    options.long_time_stamps = version == 351;
    if (version == 700) options.images.push_back({u"a.bmp", "BM0123", -1});
    seeds.push_back(JwwSeed("jww/all_kinds_" + std::to_string(version) + ".jww", MakeAllKindsDrawing(version),
                            options));
  }
  seeds.push_back(JwwSeed("jww/empty_230.jww", MakeJwwDrawing(230)));
  for (int32_t version : {230, 420, 700}) {
    JwwWriteOptions options;
    options.strings = version == 700 ? UnicodeStrings::kAlways : UnicodeStrings::kWhenNeeded;
    options.class_refs = version == 420 ? ClassRefForm::kLong : ClassRefForm::kShort;
    seeds.push_back(JwsSeed("jws/all_kinds_" + std::to_string(version) + ".jws", MakeAllKindsShape(version),
                            options));
  }
  seeds.push_back(JwsSeed("jws/parts_700.jws", MakeParts()));
  return seeds;
}

}  // namespace parvex::testing
