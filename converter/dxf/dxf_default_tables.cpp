#include "converter/dxf/dxf_default_tables.h"

#include <cmath>
#include <numbers>
#include <vector>

#include "converter/dxf/dxf_model.h"

namespace parvex {
namespace {

struct LtypeDef {
  const char16_t* name;
  const char16_t* description;
  std::vector<double> elements;  // dash > 0, gap < 0, dot 0
};

void AddAll(TDXFmodel& m, const std::vector<LtypeDef>& defs) {
  for (const LtypeDef& d : defs) {
    m.AddLtype(d.name, d.description, static_cast<int>(d.elements.size()), d.elements);
  }
}

// Entities of the point blocks: space 0, layer "0", and by block unless a
// colour is given, so that an INSERT's own attributes show through.
constexpr int kByBlock = -1;
// The grey of the filled marker parts, (179, 179, 179), as the ACI that
// readers show nearest to it, (173, 173, 173). Not 255, which readers show
// as white: the fills would vanish on paper.
constexpr int kMarkerGrey = 253;
constexpr DxfAttributes kPen = {
    .layer = kLayerZero, .colour = kByBlock, .ltype = kByBlock, .lineweight = kByBlock};

// The pen with an own colour (filled parts).
DxfAttributes Filled(int col) {
  DxfAttributes a = kPen;
  a.colour = col;
  return a;
}

class BlockPen {
 public:
  BlockPen(TDXFmodel& m, int bn) : m_(m), bn_(bn) {}

  void Line(double x1, double y1, double x2, double y2) {
    m_.AddLine(bn_, {.attr = kPen, .x1 = x1, .y1 = y1, .x2 = x2, .y2 = y2});
  }
  // Lines between polar points of radius r at the given angles (degrees).
  void PolarLine(double r, double a1, double a2) {
    Line(r * Cos(a1), r * Sin(a1), r * Cos(a2), r * Sin(a2));
  }
  // A closed outline through the points.
  void Outline(const std::vector<std::pair<double, double>>& p) {
    for (std::size_t i = 0; i < p.size(); ++i) {
      const auto& a = p[i];
      const auto& b = p[(i + 1) % p.size()];
      Line(a.first, a.second, b.first, b.second);
    }
  }
  void Circle(double r) { Arc(0, 0, r, 0, 0); }
  void Arc(double x, double y, double r, double start, double sweep) {
    m_.AddArc(bn_, {.attr = kPen, .x = x, .y = y, .r = r, .start = start, .sweep = sweep});
  }
  void Solid3(int col, double x1, double y1, double x2, double y2, double x3, double y3) {
    m_.AddSolid3(bn_, {.attr = Filled(col), .x1 = x1, .y1 = y1, .x2 = x2, .y2 = y2, .x3 = x3,
                       .y3 = y3});
  }
  void Solid4(int col, double x1, double y1, double x2, double y2, double x3, double y3,
              double x4, double y4) {
    m_.AddSolid4(bn_, {.attr = Filled(col), .x1 = x1, .y1 = y1, .x2 = x2, .y2 = y2, .x3 = x3,
                       .y3 = y3, .x4 = x4, .y4 = y4});
  }
  // A disc of radius 1.25: a closed two-vertex polyline of half circles,
  // radius 0.625, width 1.25.
  void Disc(int col) {
    const double pi = std::numbers::pi;
    m_.AddPLine(bn_, {.attr = Filled(col), .wd1 = 1.25, .wd2 = 1.25, .clf = true,
                      .v = {{-0.625, 0, pi}, {0.625, 0, pi}}});
  }

  static double Cos(double deg) { return std::cos(deg * std::numbers::pi / 180); }
  static double Sin(double deg) { return std::sin(deg * std::numbers::pi / 180); }

 private:
  TDXFmodel& m_;
  int bn_;
};

}  // namespace

void AddDefaultLtypes(TDXFmodel& m) {
  AddAll(m, {
      {u"Continuous", u"Solid line", {}},
      {u"DOT", u"Dot . . . . . . . . . . . . . . . . . . . . . . . .", {0, -6.35}},
      {u"DASHED", u"Dashed __ __ __ __ __ __ __ __ __ __ __ __ __ _", {12.7, -6.35}},
      {u"DASHED2", u"Dashed (.5x) _ _ _ _ _ _ _ _ _ _ _ _ _ _ _ _ _", {6.35, -3.175}},
      {u"CENTER", u"Center ____ _ ____ _ ____ _ ____ _ ____ _ ____",
       {31.75, -6.35, 6.35, -6.35}},
      {u"CENTER2", u"Center (.5x) ___ _ ___ _ ___ _ ___ _ ___ _ ___",
       {19.05, -3.175, 3.175, -3.175}},
      {u"PHANTOM", u"Phantom ______  __  __  ______  __  __  ______",
       {31.75, -6.35, 6.35, -6.35, 6.35, -6.35}},
      {u"PHANTOM2", u"Phantom (.5x) ___ _ _ ___ _ _ ___ _ _ ___ _ _",
       {15.875, -3.175, 3.175, -3.175, 3.175, -3.175}},
      {u"DOT2", u"Dot (.5x) ...................................", {0, -3.175}},
      {u"RAND1", u"ランダム線1", {1, -2, 3, -4}},
      {u"RAND2", u"ランダム線2", {2, -3, 4, -5}},
      {u"RAND3", u"ランダム線3", {3, -4, 5, -6}},
      {u"RAND4", u"ランダム線4", {4, -5, 6, -7}},
      {u"RAND5", u"ランダム線5", {5, -6, 7, -8}},
      {u"CENTERX2", u"Center (2x) ________  __  ________  __  _____",
       {63.5, -12.7, 12.7, -12.7}},
      {u"PHANTOMX2", u"Phantom (2x) ____________    ____    ____   _",
       {63.5, -12.7, 12.7, -12.7, 12.7, -12.7}},
      {u"DASHEDX2", u"Dashed (2x) ____  ____  ____  ____  ____  ___", {25.4, -12.7}},
      {u"DASHEDX4", u"Dashed (4x) ________  ________  _______  ____", {50.8, -12.7}},
  });
}

void AddSxfLtypes(TDXFmodel& m) {
  AddAll(m, {
      {u"SXF_破線", u"02 dashed -- -- -- -- -- --", {6, -1.5}},
      {u"SXF_跳び破線", u"03 dashed_spaced --  --  --  --", {6, -6}},
      {u"SXF_一点長鎖線", u"04 long_dashed_dotted ---- . ---- . ----", {12, -1.5, 0.25, -1.5}},
      {u"SXF_二点長鎖線", u"05 long_dashed_double-dotted ---- . . ----",
       {12, -1.5, 0.25, -1.5, 0.25, -1.5}},
      {u"SXF_三点長鎖線", u"06 long_dashed_triplicate-dotted ---- ... ----",
       {12, -1.5, 0.25, -1.5, 0.25, -1.5, 0.25, -1.5}},
      {u"SXF_点線", u"07 dotted . . . . . . . . . . . .", {0.25, -1.5}},
      {u"SXF_一点鎖線", u"08 chain ---- - --- - --- - ---", {12, -1.5, 3.5, -1.5}},
      {u"SXF_二点鎖線", u"09 chain_double_dash ---- - - ---- - - ----",
       {12, -1.5, 3.5, -1.5, 3.5, -1.5}},
      {u"SXF_一点短鎖線", u"10 dashed_dotted -- . -- . -- . --", {6, -1.5, 0.25, -1.5}},
      {u"SXF_一点二短鎖線", u"11 double-dashed_dotted -- -- . -- --",
       {6, -1.5, 6, -1.5, 0.25, -1.5}},
      {u"SXF_二点短鎖線", u"12 dashed_double_dotted -- . . -- . . --",
       {6, -1.5, 0.25, -1.5, 0.25, -1.5}},
      {u"SXF_二点二短鎖線", u"13 double-dashed_double-dotted -- -- . . -- --",
       {6, -1.5, 6, -1.5, 0.25, -1.5, 0.25, -1.5}},
      {u"SXF_三点短鎖線", u"14 dashed triplicate-dotted -- . . . -- . . . --",
       {6, -1.5, 0.25, -1.5, 0.25, -1.5, 0.25, -1.5}},
      {u"SXF_三点二短鎖線", u"15 double-dashed triplicate-dotted -- -- . . . -- --",
       {6, -1.5, 6, -1.5, 0.25, -1.5, 0.25, -1.5, 0.25, -1.5}},
  });
}

void AddDefaultLayers(TDXFmodel& m) {
  m.AddLayer(u"0", 7, kLtypeContinuous, 0, true, true);
  m.AddLayer(u"DEFPOINTS", 7, kLtypeContinuous, 0, true, false);
  m.AddLayer(u"HOJO", 6, kLtypeDot2, 0, true, false);
  m.AddLayer(u"VP", 7, kLtypeContinuous, 0, false, false);
}

void AddDefaultStyles(TDXFmodel& m) {
  m.AddStyle({.nam = u"Standard", .fo1 = u"txt", .fo2 = u"extfont2.shx", .mhl = 2.5});
  m.AddStyle({.nam = u"Annotative", .fo1 = u"txt.shx", .fo2 = u"extfont2.shx", .mhl = 2.5});
}

void AddTenBlock(TDXFmodel& m) {
  // Only the marker shapes need the block; a value outside the list gets none.
  if (SettingNumber(m.tentyp) < SettingNumber(PointConversion::DoubleCircle) ||
      SettingNumber(m.tentyp) > SettingNumber(PointConversion::FilledOctagon))
    return;
  m.tenidx = m.AddBlockDef(u"_TRANS_TEN", -1);
  if (m.tenidx < 0) return;
  BlockPen pen(m, m.tenidx);
  const double r = m.tenrad;
  switch (m.tentyp) {
    case PointConversion::DoubleCircle:
      pen.Circle(r);
      pen.Circle(r / 2);
      break;
    case PointConversion::CircleCross:
      pen.Circle(r);
      pen.Line(-r, 0, r, 0);
      pen.Line(0, r, 0, -r);
      break;
    case PointConversion::Rhombus:
      pen.Outline({{r, 0}, {0, r}, {-r, 0}, {0, -r}});
      break;
    case PointConversion::FilledRhombus:
      pen.Solid4(kByBlock, r, 0, 0, r, -r, 0, 0, -r);
      break;
    case PointConversion::FilledOctagon:
    {
      // A regular octagon of four quarter pieces, each from the centre.
      const double ax[5] = {r, 0, -r, 0, r};
      const double ay[5] = {0, r, 0, -r, 0};
      for (int q = 0; q < 4; ++q) {
        const double mid = 90.0 * q + 45;
        pen.Solid4(kByBlock, 0, 0, ax[q], ay[q], r * BlockPen::Cos(mid), r * BlockPen::Sin(mid),
                   ax[q + 1], ay[q + 1]);
      }
      break;
    }
    case PointConversion::Point:
    case PointConversion::Circle:
      break;
  }
}

void AddMarkerBlocks(TDXFmodel& m) {
  static constexpr double k = 1.25;
  struct Marker {
    const char16_t* name;
    void (*draw)(BlockPen&);
  };
  // The filled parts that must not take the insert's colour are grey,
  // (179, 179, 179): kMarkerGrey.
  static const Marker markers[] = {
      {u"_TRANS_TMARKER_1",
       [](BlockPen& p) {
         p.Line(0, k, 0, -k);
         p.PolarLine(k, 30, 210);
         p.PolarLine(k, 150, 330);
       }},
      {u"_TRANS_TMARKER_2", [](BlockPen& p) { p.Circle(k); }},
      {u"_TRANS_TMARKER_4",
       [](BlockPen& p) {
         p.Line(0, k, 0, -k);
         p.Line(-k, 0, k, 0);
       }},
      {u"_TRANS_TMARKER_5", [](BlockPen& p) { p.Outline({{-k, -k}, {k, -k}, {k, k}, {-k, k}}); }},
      {u"_TRANS_TMARKER_6",
       [](BlockPen& p) {
         const double r = 5.0 / 3.0;
         p.PolarLine(r, 90, 210);
         p.PolarLine(r, 210, 330);
         p.PolarLine(r, 330, 90);
       }},
      {u"_TRANS_TMARKER_7",
       [](BlockPen& p) {
         p.PolarLine(k, 45, 225);
         p.PolarLine(k, 135, 315);
       }},
      {u"_TRANS_TMARKER1",
       [](BlockPen& p) {
         p.Solid3(kMarkerGrey, 0, 0, -7.5, k, -7.5, -k);
         p.Outline({{0, 0}, {-7.5, k}, {-7.5, -k}});
       }},
      {u"_TRANS_TMARKER2",
       [](BlockPen& p) {
         p.Solid4(kMarkerGrey, -k, -k, k, -k, k, k, -k, k);
         p.Outline({{-k, -k}, {k, -k}, {k, k}, {-k, k}});
       }},
      {u"_TRANS_TMARKER3",
       [](BlockPen& p) {
         p.Disc(kMarkerGrey);
         p.Circle(k);
       }},
      {u"_TRANS_TMARKER4", [](BlockPen& p) { p.Circle(k); }},
      {u"_TRANS_TMARKER5", [](BlockPen& p) { p.Solid4(kByBlock, -k, -k, k, -k, k, k, -k, k); }},
      {u"_TRANS_TMARKER6", [](BlockPen& p) { p.Solid3(kByBlock, 0, 0, -7.5, k, -7.5, -k); }},
      {u"_TRANS_TMARKER7", [](BlockPen& p) { p.Disc(kByBlock); }},
      {u"_TRANS_TMARKER8",
       [](BlockPen& p) {
         const double r = k * std::numbers::sqrt2;
         p.Arc(r, 0, r, 90, 90);
         p.Arc(-r, 0, r, 270, 90);
       }},
      {u"_TRANS_TMARKER9",
       [](BlockPen& p) {
         p.Line(0, 0, -7.5, k);
         p.Line(0, 0, -7.5, -k);
       }},
      {u"_TRANS_TMARKER10", [](BlockPen& p) { p.PolarLine(2.5, 45, 225); }},
      {u"_TRANS_TMARKER11", [](BlockPen& p) { p.Outline({{0, 0}, {-7.5, k}, {-7.5, -k}}); }},
  };
  for (const Marker& mk : markers) {
    const int bn = m.AddBlockDef(mk.name, -1);
    if (bn < 0) continue;
    BlockPen pen(m, bn);
    mk.draw(pen);
  }
}

}  // namespace parvex
