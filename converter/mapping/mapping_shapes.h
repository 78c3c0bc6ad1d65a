// Geometry the entity passes derive from drawing records, shared by the
// passes that write entities and the pass that measures placed blocks for
// the viewports: arc angles and sample points, the box of a text, the fan
// point of a curved area. Drawing coordinates; angles in degrees unless a
// name says otherwise.
#pragma once

#include "converter/jww/jww_records.h"

namespace parvex {

struct Pt {
  double x = 0;
  double y = 0;
};

// Start, sweep and tilt of an arc in normalised degrees; a negative sweep
// is turned into the same arc swept counter-clockwise.
struct ArcAngles {
  double sa = 0;
  double sw = 0;
  double k = 0;
};
ArcAngles ToArcAngles(double radStart, double radSweep, double radTilt);

// A flattening within 1e-12 of 1 is a circle's.
double SnapFlattening(double h);

// Point at parameter t (degrees) of the ellipse with centre c, radius r,
// flattening h and tilt k (degrees).
Pt CurvePoint(Pt c, double r, double h, double kDeg, double tDeg);

// The 33 points that stand for a curve in a viewport's extents: from the
// start in 32 equal steps of the sweep (of a whole turn for a sweep of
// nothing).
template <class F>
void ForCurveSamples(Pt c, double r, double h, const ArcAngles& a, F&& f) {
  const double step = (a.sw >= -1e-10 && a.sw <= 1e-10) ? 360.0 / 32 : a.sw / 32;
  for (int i = 0; i <= 32; ++i) f(CurvePoint(c, r, h, a.k, a.sa + i * step));
}

// The box of a text: start, end, and both moved by the height across the
// text's direction, in boundary order; the direction in radians.
struct TextBox {
  Pt corners[4];
  double angle = 0;
};
TextBox TextBoxOf(const TEntJwwMoji& e);

// A filled curved area (pen styles 101, 105, 106, 111): centre, radius,
// flattening, angles, and the last value, the form for 101 and 111 (100:
// the whole curve) or the inner radius of a ring (105, 106).
struct CurvedArea {
  Pt c;
  double r = 0;
  double h = 1;
  ArcAngles a;
  double last = 0;
};
CurvedArea CurvedAreaOf(const TEntJwwSolid& e);

// An image is carried as a text "^@BM<file>,<numbers>"; the image pass
// handles those.
bool IsImageText(const TEntJwwMoji& e);

// The point a filled curved area of style 101 fans out from: the centre
// (form 0 or 100), the midpoint of the chord (form 5), else where the end
// tangents meet. outerStart and outerEnd are the curve's end points.
Pt SolidFanPoint(Pt centre, double r, double h, const ArcAngles& a, double form, Pt outerStart,
                 Pt outerEnd);

}  // namespace parvex
