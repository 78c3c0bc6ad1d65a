// Curve polylines: lines and circular arcs of one curve group go to the
// model's polyline collector, which joins them; each joined polyline is
// then placed like any other entity of its layer group.
#include "converter/mapping/mapping_polylines.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "common/value_helpers.h"
#include "converter/dxf/dxf_curve_polylines.h"
#include "converter/dxf/dxf_model.h"
#include "converter/mapping/jw_dxf_mapper.h"

namespace parvex {

namespace {

constexpr double kTwoPi = 2.0 * std::numbers::pi;

}  // namespace

bool JoinsCurvePolyline(const TEntJwwLine& e, bool curveToPolyline) {
  return curveToPolyline && e.att.lGroup != 0 && (e.att.sFlg & 0x20) == 0 &&
         (e.att.sFlg & 0x2000) == 0;
}

bool JoinsCurvePolyline(const TEntJwwEnko& e, bool curveToPolyline) {
  const double sweep = std::fabs(e.radEnkoKaku);
  return curveToPolyline && e.att.lGroup != 0 && (e.att.sFlg & 0x20) == 0 &&
         (e.att.sFlg & 0x40) == 0 && std::fabs(e.dHenpeiRitsu - 1.0) <= kTolerance12 &&
         e.bZenEnFlg == 0 && sweep > kTolerance12 && std::fabs(sweep - kTwoPi) > kTolerance12;
}

CurveSegment SegmentOf(const TEntJwwLine& e) {
  return {e.start_x, e.start_y, e.end_x, e.end_y, 0.0};
}

CurveSegment SegmentOf(const TEntJwwEnko& e) {
  const double t1 = e.radKaishiKaku + e.radKatamukiKaku;
  const double t2 = t1 + e.radEnkoKaku;
  return {e.start_x + e.dHankei * std::cos(t1), e.start_y + e.dHankei * std::sin(t1),
          e.start_x + e.dHankei * std::cos(t2), e.start_y + e.dHankei * std::sin(t2),
          e.radEnkoKaku};
}

int CurveLayer(const TEntJwwAttr& att) { return att.nGLayer * 16 + att.nLayer; }

namespace {

// A layer outside the drawing's 16 x 16 would not survive the trip through
// the collector's single layer number; such an entity is written alone.
bool ValidLayer(const TEntJwwAttr& att) { return att.nGLayer <= 15 && att.nLayer <= 15; }

// The collector's segment of entry `no` of kind tp (1 line, 2 arc).
TDXF_PolyWorkEntity Segment(const TEntJwwAttr& att, int no, int tp, const CurveSegment& s) {
  return {.eno = no,
          .etp = tp,
          .lay = CurveLayer(att),
          .col = att.nPenColor,
          .ltp = att.nPenStyle,
          .wid = att.nPenWidth,
          .x1 = s.x1,
          .y1 = s.y1,
          .x2 = s.x2,
          .y2 = s.y2,
          .da = s.sweep};
}

}  // namespace

bool JwDxfMapper::ToCurveCollector(const TEntJwwLine& e, int no) {
  if (!JoinsCurvePolyline(e, ctx_.Settings.CurveToPolyline) || !ValidLayer(e.att)) return false;
  const CurveSegment s = SegmentOf(e);
  // A segment with a number that is not finite is left out, as a line
  // would be.
  if (!Finite({s.x1, s.y1, s.x2, s.y2})) return true;
  joiner_.Pw_AddEnt(static_cast<int>(e.att.lGroup), Segment(e.att, no, 1, s));
  return true;
}

bool JwDxfMapper::ToCurveCollector(const TEntJwwEnko& e, int no) {
  if (!JoinsCurvePolyline(e, ctx_.Settings.CurveToPolyline) || !ValidLayer(e.att)) return false;
  const CurveSegment s = SegmentOf(e);
  if (!Finite({s.x1, s.y1, s.x2, s.y2, s.sweep})) return true;
  joiner_.Pw_AddEnt(static_cast<int>(e.att.lGroup), Segment(e.att, no, 2, s));
  return true;
}

void JwDxfMapper::DxfOutPLines(int bn, double dx, double dy) {
  if (!ctx_.Settings.CurveToPolyline) return;
  joiner_.Pw_Sort();
  for (const TDXF_PolyWorkSub& pl : joiner_.Results()) DxfOutPLine(pl, bn, dx, dy);
  joiner_.Pw_Init();
}

void JwDxfMapper::DxfOutPLine(const TDXF_PolyWorkSub& e, int bn, double dx, double dy) {
  const size_t n = e.v.size();
  if (n < 2) return;
  double minX = e.v[0].x, maxX = e.v[0].x, minY = e.v[0].y, maxY = e.v[0].y;
  for (size_t k = 1; k < n; ++k) {
    minX = std::min(minX, e.v[k].x);
    maxX = std::max(maxX, e.v[k].x);
    minY = std::min(minY, e.v[k].y);
    maxY = std::max(maxY, e.v[k].y);
  }
  // The polyline's attributes as an entity of the drawing would carry them.
  TEntJwwAttr att;
  att.nGLayer = static_cast<uint16_t>(e.lay / 16);
  att.nLayer = static_cast<uint16_t>(e.lay % 16);
  att.nPenColor = static_cast<uint16_t>(e.col);
  att.nPenStyle = static_cast<uint8_t>(e.ltp);
  att.nPenWidth = static_cast<uint16_t>(e.wid);
  const DxfAttributes a = AttributeRule(att);
  const Place p = Placement(att, bn, dx, dy, [&] {
    return ClipSquare(minX, minY, maxX, minY, maxX, maxY, minX, maxY);
  });
  std::vector<TDXF_PLinePoint> v(n);
  for (size_t k = 0; k < n; ++k) {
    const double x = e.v[k].x + dx, y = e.v[k].y + dy;
    v[k] = {p.X(x), p.Y(y), e.v[k].a};
    if (!Finite({v[k].x, v[k].y, v[k].a})) return;
  }
  for (size_t k = 0; k < n; ++k) Report(p, e.v[k].x + dx, e.v[k].y + dy);
  m_->AddPLine(bn, {.attr = p.In(a), .clf = e.clf, .v = std::move(v)});
}

}  // namespace parvex
