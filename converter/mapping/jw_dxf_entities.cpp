// Entity passes of the JWW/JWS to DXF mapping: the placement and attribute
// rules, and the conversion of lines, arcs, points, solids, texts and the
// parts of dimensions into DXF model entities.
//
// No number that is not finite may reach the DXF file: an entity whose
// values (as read, or after placement) are NaN or infinite is left out and
// the rest of the drawing converts.
#include <array>
#include <cmath>
#include <initializer_list>
#include <numbers>

#include "common/geometry.h"
#include "common/image_text.h"
#include "common/value_helpers.h"
#include "converter/attributes/gra_attribute.h"
#include "converter/dxf/dxf_model.h"
#include "converter/mapping/jw_dxf_mapper.h"
#include "converter/mapping/mapping_shapes.h"
#include "converter/mapping/pen_maps.h"

namespace parvex {

namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kRadToDeg = 180.0 / kPi;

}  // namespace

// ---- Rules -------------------------------------------------------------------

int JwDxfMapper::LayerIndex(const TEntJwwAttr& att) const {
  // A layer number outside the drawing's 16 x 16 layers has no DXF layer;
  // such an entity goes to layer "0" rather than to a layer that does not
  // exist.
  if (att.nGLayer > 15 || att.nLayer > 15) return 0;
  return att.nGLayer * 16 + att.nLayer + 4;
}

DxfAttributes JwDxfMapper::AttributeRule(const TEntJwwAttr& att) const {
  return {.layer = (att.nPenStyle == 9 || att.nPenColor == 9) ? 2 : LayerIndex(att),
          .colour = ColourOf(att.nPenColor),
          .ltype = PenStyleToLtype(att.nPenStyle),
          .lineweight = PenWidthToLineweight(att.nPenWidth)};
}

// ---- Pass --------------------------------------------------------------------

void JwDxfMapper::DxfOutEntity() {
  const ConversionSettings& st = ctx_.Settings;
  TDXFmodel& m = *m_;
  for (int g = 0; g < 16; ++g) m.deLgp[g].sc = GroupScale(g);
  m.SetLgp(st.BaseLayerGroup, layerGroupMost_, frames_.Frames());

  // Dimension blocks come before the definitions and entities. Images come
  // first in each list.
  if (st.DimensionAsEntity) DxfOutDimBlock();
  DxfOutBlockDefs();
  const double dx = ctx_.DrawingPaperSize.Width / 2, dy = ctx_.DrawingPaperSize.Height / 2;
  if (st.CurveToPolyline) joiner_.Pw_Init();
  ReserveTopLevel();
  DxfOutImages(d_.top, kTopLevel, dx, dy);
  OutList(d_.top, kTopLevel, dx, dy);
  DxfOutDim(kTopLevel, kTopLevel);
  DxfOutPLines(kTopLevel, dx, dy);

  // The definitions, filled like the top level with block-local
  // coordinates.
  for (size_t k = 0; k < d_.blockDefs.size(); ++k) {
    const int bn = BlockDefIndex(k);
    if (bn < 0) continue;
    if (st.CurveToPolyline) joiner_.Pw_Init();
    DxfOutImages(MembersOf(d_.blockDefs[k]), bn, 0, 0);
    OutList(MembersOf(d_.blockDefs[k]), bn, 0, 0);
    DxfOutDim(static_cast<int>(k), bn);
    DxfOutPLines(bn, 0, 0);
  }

  if (st.OutputSpace == OutputSpace::ModelAndPaper) {
    DxfOutBlockTree();
    m.SetVPortArea();
  }
}

// Room in the top level for what the drawing's entities become, so that a
// large drawing's arrays are allocated once rather than grown step by step
// (which leaves the memory of every smaller step behind). The counts are
// bounds for the common case, not limits.
void JwDxfMapper::ReserveTopLevel() {
  std::array<std::size_t, kJwwBlock + 1> n{};  // by drawing kind
  for (const TEntJwwNo& no : d_.top.no) {
    if (no.EntType >= kJwwLine && no.EntType <= kJwwBlock) ++n[no.EntType];
  }
  const std::size_t dims = n[kJwwSunpo];
  DxfEntities& c = m_->Top();
  // A dimension gives up to three lines, two points and a text.
  c.ReserveOrder(d_.top.no.size() + 5 * dims);
  c.Reserve<TDXF_Line>(n[kJwwLine] + 3 * dims + n[kJwwSolid]);
  // An arc, a temporary point or an arc-shaped fill is one of three kinds.
  const std::size_t curves = n[kJwwEnko] + n[kJwwTen] + n[kJwwSolid];
  c.Reserve<TDXF_Circle>(curves);
  c.Reserve<TDXF_Arc>(curves);
  c.Reserve<TDXF_Ellipse>(curves);
  c.Reserve<TDXF_Ten>(n[kJwwTen] + 2 * dims);
  c.Reserve<TDXF_Moji>(n[kJwwMoji] + dims);
  c.Reserve<TDXF_Solid3>(n[kJwwSolid]);
  c.Reserve<TDXF_Solid4>(n[kJwwSolid]);
  c.Reserve<TDXF_Block>(n[kJwwBlock]);
}

void JwDxfMapper::OutList(const JwEntityList& list, int bn, double dx, double dy) {
  auto entry = [&](const TEntJwwNo& no) { return static_cast<int>(&no - list.no.data()); };
  for (const TEntJwwNo& no : list.no) {
    if (no.EntNo < 0 || TakenByDimension(no)) continue;
    const size_t i = static_cast<size_t>(no.EntNo);
    switch (no.EntType) {
      case kJwwLine:
        if (i < list.line.size() && !ToCurveCollector(list.line[i], entry(no)))
          DxfOutLine(list.line[i], bn, dx, dy);
        break;
      case kJwwEnko:
        if (i < list.enko.size() && !ToCurveCollector(list.enko[i], entry(no)))
          DxfOutEnko(list.enko[i], bn, dx, dy);
        break;
      case kJwwTen:
        if (i < list.ten.size()) DxfOutTen(list.ten[i], bn, dx, dy);
        break;
      case kJwwMoji:
        if (i < list.moji.size()) DxfOutMoji(list.moji[i], bn, dx, dy);
        break;
      case kJwwSunpo:
        if (i < list.sunpo.size()) DxfOutSunpo(list.sunpo[i], bn, dx, dy);
        break;
      case kJwwSolid:
        if (i < list.solid.size()) DxfOutSolid(list.solid[i], bn, dx, dy);
        break;
      case kJwwBlock:
        if (i < list.block.size()) DxfOutBlock(list.block[i], bn, dx, dy);
        break;
      default:
        break;  // negative = already written
    }
  }
}

void JwDxfMapper::DxfOutSunpo(const TEntJwwSunpo& e, int bn, double dx, double dy) {
  DxfOutLine(e.Sen, bn, dx, dy);
  if (e.bSxfMode != 0) {
    DxfOutLine(e.Ho1, bn, dx, dy);
    DxfOutLine(e.Ho2, bn, dx, dy);
    DxfOutTen(e.Te1, bn, dx, dy);
    DxfOutTen(e.Te2, bn, dx, dy);
  }
  DxfOutMoji(e.Moji, bn, dx, dy);
}

// ---- Lines -------------------------------------------------------------------

void JwDxfMapper::DxfOutLine(const TEntJwwLine& e, int bn, double dx, double dy) {
  if (!Finite({e.start_x, e.start_y, e.end_x, e.end_y})) return;
  if (SamePoint12(e.start_x, e.start_y, e.end_x, e.end_y)) return;
  const DxfAttributes a = AttributeRule(e.att);
  const Place p = Placement(e.att, bn, dx, dy, [&] {
    return ClipLine(e.start_x, e.start_y, e.end_x, e.end_y);
  });
  const double x1 = e.start_x + dx, y1 = e.start_y + dy;
  const double x2 = e.end_x + dx, y2 = e.end_y + dy;
  const double ox1 = p.X(x1), oy1 = p.Y(y1), ox2 = p.X(x2), oy2 = p.Y(y2);
  if (!Finite({ox1, oy1, ox2, oy2})) return;
  Report(p, x1, y1);
  Report(p, x2, y2);
  m_->AddLine(bn, {.attr = p.In(a), .x1 = ox1, .y1 = oy1, .x2 = ox2, .y2 = oy2});
}

// ---- Arcs, circles, ellipses -------------------------------------------------

void JwDxfMapper::DxfOutEnko(const TEntJwwEnko& e, int bn, double dx, double dy) {
  if (!Finite({e.start_x, e.start_y, e.dHankei, e.radKaishiKaku, e.radEnkoKaku,
               e.radKatamukiKaku, e.dHenpeiRitsu})) {
    return;
  }
  const DxfAttributes a = AttributeRule(e.att);
  const ArcAngles ang = ToArcAngles(e.radKaishiKaku, e.radEnkoKaku, e.radKatamukiKaku);
  const double h = SnapFlattening(e.dHenpeiRitsu);
  const double r = e.dHankei;
  const Place p = Placement(e.att, bn, dx, dy, [&] {
    return ClipArc(e.start_x, e.start_y, r, h, ang.sa, ang.sw, ang.k);
  });
  const Pt c{e.start_x + dx, e.start_y + dy};
  const double ox = p.X(c.x), oy = p.Y(c.y), orad = r * p.s;
  if (!Finite({ox, oy, orad})) return;
  if (ctx_.Settings.OutputSpace == OutputSpace::ModelAndPaper && p.top)
    ForCurveSamples(c, r, h, ang, [&](Pt q) { Report(p, q.x, q.y); });
  m_->AddArc(bn, {.attr = p.In(a), .x = ox, .y = oy, .r = orad, .ratio = h, .start = ang.sa,
                  .sweep = ang.sw, .axis = ang.k});
}

// ---- Points ------------------------------------------------------------------

void JwDxfMapper::DxfOutTen(const TEntJwwTen& e, int bn, double dx, double dy) {
  if (!Finite({e.start_x, e.start_y})) return;
  const ConversionSettings& st = ctx_.Settings;
  // Only the auxiliary colour sends a point to "HOJO": a point's pen style
  // carries other meanings.
  const int ly = e.att.nPenColor == 9 ? 2 : LayerIndex(e.att);
  const int co = ColourOf(e.att.nPenColor);
  int wd = PenWidthToLineweight(e.att.nPenWidth);
  const Place p = Placement(e.att, bn, dx, dy,
                            [&] { return ClipTen(e.start_x, e.start_y); });
  const double x = e.start_x + dx, y = e.start_y + dy;
  const double ox = p.X(x), oy = p.Y(y);
  if (!Finite({ox, oy})) return;

  if (e.bKariten == 1) {
    // A temporary point becomes a small circle on the auxiliary layer.
    const double rad = st.PointRadius * p.s;
    if (!Finite({rad})) return;
    Report(p, x, y);
    m_->AddArc(bn,
               {.attr = {.space = p.sp, .layer = 2, .lineweight = wd}, .x = ox, .y = oy, .r = rad});
    return;
  }

  int cd = static_cast<int>(e.nCode);
  double pa = 0;
  double pb = 1.0;
  if (e.att.nPenStyle == 100) {
    if (!Finite({e.radKaitenKaku, e.dBairitsu})) return;
    pa = NormalizeDeg(e.radKaitenKaku * kRadToDeg);
    pb = e.dBairitsu;
  } else {
    cd = 0;
  }
  if (cd == 0) {
    pb = attr_.GetAttrColten(e.att.nPenColor) + e.att.nPenWidth * 0.5;
    wd = 5;
  }
  const double size = pb * p.s;
  if (!Finite({size})) return;
  Report(p, x, y);
  m_->AddTen(bn, {.attr = {.space = p.sp, .layer = ly, .colour = co, .lineweight = wd}, .cod = cd,
                  .x = ox, .y = oy, .a = pa, .ba = size});
}

// ---- Solids ------------------------------------------------------------------

void JwDxfMapper::DxfOutSolid(const TEntJwwSolid& e, int bn, double dx, double dy) {
  if (!Finite({e.start_x, e.start_y, e.end_x, e.end_y, e.DPoint2_x, e.DPoint2_y, e.DPoint3_x,
               e.DPoint3_y})) {
    return;
  }
  const int style = e.att.nPenStyle;
  if (style > 100 && style != 101 && style != 105 && style != 106 && style != 111) return;

  DxfAttributes a = AttributeRule(e.att);
  if (e.att.nPenColor == 10) {
    a.colour = AciOf(ColorRefToAlphaColor(static_cast<int32_t>(e.Color)));
  }

  auto addSolid3 = [&](const Place& p, Pt p1, Pt p2, Pt p3) {
    m_->AddSolid3(
        bn,
        {.attr = p.In(a), .x1 = p1.x, .y1 = p1.y, .x2 = p2.x, .y2 = p2.y, .x3 = p3.x, .y3 = p3.y});
  };
  auto addSolid4 = [&](const Place& p, Pt p1, Pt p2, Pt p3, Pt p4) {
    m_->AddSolid4(bn, {.attr = p.In(a), .x1 = p1.x, .y1 = p1.y, .x2 = p2.x, .y2 = p2.y, .x3 = p3.x,
                       .y3 = p3.y, .x4 = p4.x, .y4 = p4.y});
  };
  auto place = [](const Place& p, Pt q) { return Pt{p.X(q.x), p.Y(q.y)}; };
  auto finitePts = [](std::initializer_list<Pt> pts) {
    for (const Pt& q : pts) {
      if (!Finite({q.x, q.y})) return false;
    }
    return true;
  };

  if (style <= 100) {
    // A polygon of up to four corners.
    const Pt r1{e.start_x, e.start_y}, r2{e.end_x, e.end_y}, r3{e.DPoint2_x, e.DPoint2_y},
        r4{e.DPoint3_x, e.DPoint3_y};
    auto same = [](Pt u, Pt v) { return SamePoint12(u.x, u.y, v.x, v.y); };
    const Place p = Placement(e.att, bn, dx, dy, [&] {
      return ClipSquare(r1.x, r1.y, r2.x, r2.y, r3.x, r3.y, r4.x, r4.y);
    });
    const Pt q1{r1.x + dx, r1.y + dy}, q2{r2.x + dx, r2.y + dy}, q3{r3.x + dx, r3.y + dy},
        q4{r4.x + dx, r4.y + dy};
    const Pt o1 = place(p, q1), o2 = place(p, q2), o3 = place(p, q3), o4 = place(p, q4);
    if (!finitePts({o1, o2, o3, o4})) return;
    const bool p3Apart = !same(r3, r1) && !same(r3, r2);
    const bool p4Apart = !same(r4, r1) && !same(r4, r2);
    if (p3Apart || p4Apart) {
      if (p4Apart && !same(r4, r3)) {
        for (Pt q : {q1, q2, q3, q4}) Report(p, q.x, q.y);
        addSolid4(p, o1, o2, o3, o4);
      } else {
        for (Pt q : {q1, q2, q3}) Report(p, q.x, q.y);
        addSolid3(p, o1, o2, o3);
      }
    } else {
      // Corners 3 and 4 lie on the first two: the area is a line.
      Report(p, q1.x, q1.y);
      Report(p, q2.x, q2.y);
      DxfAttributes continuous = p.In(a);
      continuous.ltype = 1;
      m_->AddLine(bn, {.attr = continuous, .x1 = o1.x, .y1 = o1.y, .x2 = o2.x, .y2 = o2.y});
    }
    return;
  }

  // Curved areas: centre, radius, flattening, tilt, start, sweep, and the
  // form (101, 111) or the inner radius (105, 106) in the last value.
  const CurvedArea area = CurvedAreaOf(e);
  const double r = area.r, h = area.h, last = area.last;
  const ArcAngles ang = area.a;
  const Place p = Placement(e.att, bn, dx, dy, [&] {
    return ClipArc(e.start_x, e.start_y, r, h, ang.sa, ang.sw, ang.k);
  });
  const Pt c{e.start_x + dx, e.start_y + dy};
  const Pt oc = place(p, c);
  if (!finitePts({oc}) || !Finite({r * p.s})) return;

  if (style == 111) {
    if (ctx_.Settings.OutputSpace == OutputSpace::ModelAndPaper && p.top)
      ForCurveSamples(c, r, h, ang, [&](Pt q) { Report(p, q.x, q.y); });
    DxfAttributes continuous = p.In(a);
    continuous.ltype = 1;
    m_->AddArc(bn, {.attr = continuous, .x = oc.x, .y = oc.y, .r = r * p.s, .ratio = h,
                    .start = ang.sa, .sweep = ang.sw, .axis = ang.k});
    return;
  }

  constexpr int kSteps = 72;
  const double step = std::fabs(ang.sw) <= 1e-10 ? 360.0 / kSteps : ang.sw / kSteps;
  std::array<Pt, kSteps + 1> outer{};
  for (int i = 0; i <= kSteps; ++i) outer[i] = CurvePoint(c, r, h, ang.k, ang.sa + i * step);

  if (style == 101) {
    const Pt fan = SolidFanPoint(c, r, h, ang, last, outer[0], outer[kSteps]);
    std::array<Pt, kSteps + 1> o{};
    for (int i = 0; i <= kSteps; ++i) o[i] = place(p, outer[i]);
    const Pt of = place(p, fan);
    for (const Pt& q : o) {
      if (!finitePts({q})) return;
    }
    if (!finitePts({of})) return;
    Report(p, fan.x, fan.y);
    for (const Pt& q : outer) Report(p, q.x, q.y);
    for (int i = 1; i <= kSteps; ++i) addSolid3(p, of, o[i - 1], o[i]);
    return;
  }

  // Rings (105, 106): quadrilaterals between the outer and the inner curve.
  const double ri = last;
  std::array<Pt, kSteps + 1> inner{};
  if (std::fabs(ri) <= kTolerance12) {
    // No inner radius: the inner curve shrinks to the centre (the ring is
    // a full disc) instead of dividing by zero below.
    inner.fill(c);
  } else {
    // 106 keeps the difference between the axes of both curves.
    const double hi = style == 106 ? (r * h - r) / ri + 1 : h;
    for (int i = 0; i <= kSteps; ++i) inner[i] = CurvePoint(c, ri, hi, ang.k, ang.sa + i * step);
  }
  std::array<Pt, kSteps + 1> oo{}, oi{};
  for (int i = 0; i <= kSteps; ++i) {
    oo[i] = place(p, outer[i]);
    oi[i] = place(p, inner[i]);
    if (!finitePts({oo[i], oi[i]})) return;
  }
  for (const Pt& q : outer) Report(p, q.x, q.y);
  for (int i = 1; i <= kSteps; ++i) addSolid4(p, oo[i - 1], oo[i], oi[i], oi[i - 1]);
}

// ---- Texts -------------------------------------------------------------------

void JwDxfMapper::DxfOutMoji(const TEntJwwMoji& e, int bn, double dx, double dy) {
  // Images are carried as texts "^@BM<file>,<numbers>"; the image pass
  // handles them.
  if (IsImageText(e.str)) return;
  if (!Finite({e.start_x, e.start_y, e.end_x, e.end_y, e.dSizeX, e.dSizeY, e.dKankaku})) return;
  if (SamePoint12(e.start_x, e.start_y, e.end_x, e.end_y)) return;
  const ConversionSettings& st = ctx_.Settings;

  const int ly = e.att.nPenColor == 9 ? 2 : LayerIndex(e.att);
  const int co = ColourOf(e.att.nPenColor);
  int kind = static_cast<int>(e.nMojiShu % 100);
  // Only text kinds 0..10 have styles; a kind above reads as kind 0.
  if (kind > 10) kind = 0;
  const bool italic = (e.nMojiShu / 10000) % 2 == 1;
  int tp = 2 * kind + 2;
  double w = e.dSizeX, h = e.dSizeY, d = e.dKankaku;
  const TextBox box = TextBoxOf(e);
  const double ang = box.angle;
  std::u16string font = e.strFontName;

  const Place p = Placement(e.att, bn, dx, dy, [&] {
    const Pt* q = box.corners;
    return ClipSquare(q[0].x, q[0].y, q[1].x, q[1].y, q[2].x, q[2].y, q[3].x, q[3].y);
  });
  double x1 = e.start_x + dx, y1 = e.start_y + dy, x2 = e.end_x + dx, y2 = e.end_y + dy;
  const bool vertical = (e.att.sFlg & 0x20) != 0;
  if (vertical) {
    tp += 1;
    std::swap(w, h);
    font = u"@" + e.strFontName;
    if (st.TextStyleMode != TextStyleMode::TrueType) {
      // SHX vertical text is centred on the stored line.
      const double mx = std::cos(ang + kPi / 2) * h / 2;
      const double my = std::sin(ang + kPi / 2) * h / 2;
      x1 += mx;
      y1 += my;
      x2 += mx;
      y2 += my;
    }
  }
  const double ox1 = p.X(x1), oy1 = p.Y(y1), ox2 = p.X(x2), oy2 = p.Y(y2);
  const double ow = w * p.s, oh = h * p.s, od = d * p.s;
  if (!Finite({ox1, oy1, ox2, oy2, ow, oh, od})) return;
  for (const Pt& q : box.corners) Report(p, q.x + dx, q.y + dy);
  const double deg = ang * kRadToDeg;
  m_->AddMoji(bn, {.attr = {.space = p.sp, .layer = ly, .colour = co}, .style = tp,
                   .bas = e.att.nPenStyle, .font = m_->FontIndex(font), .tate = vertical,
                   .syat = italic, .x1 = ox1, .y1 = oy1, .x2 = ox2, .y2 = oy2, .w = ow, .h = oh,
                   .d = od, .a = deg, .st = e.str});
}

}  // namespace parvex
