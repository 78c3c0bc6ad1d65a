#include "converter/mapping/mapping_shapes.h"

#include <cmath>
#include <numbers>

#include "common/geometry.h"
#include "common/value_helpers.h"

namespace parvex {

namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kRadToDeg = 180.0 / kPi;
constexpr double kDegToRad = kPi / 180.0;

}  // namespace

ArcAngles ToArcAngles(double radStart, double radSweep, double radTilt) {
  ArcAngles a;
  a.sa = NormalizeDeg(radStart * kRadToDeg);
  a.sw = NormalizeDeg(radSweep * kRadToDeg);
  a.k = NormalizeDeg(radTilt * kRadToDeg);
  if (radSweep < 0) {
    a.sa = NormalizeDeg((radStart + radSweep) * kRadToDeg);
    a.sw = NormalizeDeg(-radSweep * kRadToDeg);
  }
  return a;
}

double SnapFlattening(double h) { return std::fabs(h - 1.0) <= kTolerance12 ? 1.0 : h; }

Pt CurvePoint(Pt c, double r, double h, double kDeg, double tDeg) {
  const Point2 q = EllipsePoint(c.x, c.y, r, h, kDeg * kDegToRad, tDeg * kDegToRad);
  return {q.X, q.Y};
}

TextBox TextBoxOf(const TEntJwwMoji& e) {
  TextBox b;
  b.angle = VectorAngle(e.end_x - e.start_x, e.end_y - e.start_y);
  const double ux = std::cos(b.angle + kPi / 2) * e.dSizeY;
  const double uy = std::sin(b.angle + kPi / 2) * e.dSizeY;
  b.corners[0] = {e.start_x, e.start_y};
  b.corners[1] = {e.end_x, e.end_y};
  b.corners[2] = {e.end_x + ux, e.end_y + uy};
  b.corners[3] = {e.start_x + ux, e.start_y + uy};
  return b;
}

CurvedArea CurvedAreaOf(const TEntJwwSolid& e) {
  CurvedArea area;
  area.c = {e.start_x, e.start_y};
  area.r = e.end_x;
  area.h = SnapFlattening(e.end_y);
  area.a = ToArcAngles(e.DPoint2_y, e.DPoint3_x, e.DPoint2_x);
  area.last = e.DPoint3_y;
  // The last value is a form code only for 101 and 111; for rings it is
  // the inner radius, which must not turn a partial ring into a full one.
  const int style = e.att.nPenStyle;
  const bool hasForm = style == 101 || style == 111;
  if (hasForm && std::fabs(area.last - 100) <= 1e-10) area.a.sw = 0;
  return area;
}

bool IsImageText(const TEntJwwMoji& e) {
  return e.str.starts_with(u"^@BM") && e.str.find(u',') != std::u16string::npos;
}

Pt SolidFanPoint(Pt centre, double r, double h, const ArcAngles& a, double form, Pt outerStart,
                 Pt outerEnd) {
  if (std::fabs(form - 5) <= 1e-10) {
    // Segment: fan from the midpoint of the chord.
    return {(outerStart.x + outerEnd.x) / 2, (outerStart.y + outerEnd.y) / 2};
  }
  if (std::fabs(form) <= 1e-10 || std::fabs(form - 100) <= 1e-10) return centre;
  // Other forms fan from where the end tangents meet.
  const EllipseArcEnds ends = EllipseArcPoints(centre.x, centre.y, r, h, a.sa * kDegToRad,
                                               a.sw * kDegToRad, a.k * kDegToRad);
  return {ends.TangentCrossing.X, ends.TangentCrossing.Y};
}

}  // namespace parvex
