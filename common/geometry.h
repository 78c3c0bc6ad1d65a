// Plane geometry on doubles: rotation, angles, line crossings, ellipse
// points, extents accumulation and clipping of segments to a rectangle.
// Angles are radians unless a name ends in Deg.
#pragma once

#include <cstddef>
#include <vector>

namespace parvex {

struct Point2 {
  double X = 0;
  double Y = 0;
};

double RotateX(double x, double y, double cx, double cy, double a);
double RotateY(double x, double y, double cx, double cy, double a);
Point2 RotatePointDeg(double x, double y, double cx, double cy, double deg);

// Direction of (dx, dy) in [0, 2*pi); 0 for a vector shorter than 1e-14 on
// both axes.
double VectorAngle(double dx, double dy);

struct SegmentProjection {
  bool Within = false;  // the point's foot lies on the segment (1e-12 slack)
  double Offset = 0;    // signed distance, positive on the left of the direction
};
SegmentProjection PointWithinSegment(double x1, double y1, double x2, double y2, double px,
                                     double py);

struct Crossing {
  int Code = 0;  // 0 parallel, 1 crossing on both segments, 2 crossing elsewhere
  double X = 0;
  double Y = 0;
};
Crossing SegmentIntersection(double ax1, double ay1, double ax2, double ay2, double bx1,
                             double by1, double bx2, double by2);

// Point at parameter t of the ellipse with half-axes r and r * k, tilted by
// `tilt` and centred on (cx, cy).
Point2 EllipsePoint(double cx, double cy, double r, double k, double tilt, double t);

struct EllipseArcEnds {
  Point2 Start;
  Point2 End;
  Point2 TangentCrossing;  // (cx, cy) when the end tangents are parallel
};
EllipseArcEnds EllipseArcPoints(double cx, double cy, double r, double k, double t0,
                                double sweep, double tilt);

// Bounding box grown point by point. Each point is divided by s first;
// points whose input coordinates lie outside [-5e11, 5e11] (or give a
// non-finite quotient) are ignored, and the box is kept within +-1e8.
struct ExtentsBox {
  double MinX = 0;
  double MinY = 0;
  double MaxX = 0;
  double MaxY = 0;
};
void ExtentsStart(ExtentsBox& box, double x, double y, double s);
void ExtentsAdd(ExtentsBox& box, double x, double y, double s);
void ExtentsAddTransformed(ExtentsBox& box, double u, double v, double x0, double y0,
                           double r1, double r2, double r3, double r4, double s);

// What every affine placement (x, y) -> (x0 + r1 x + r2 y, y0 + r3 x + r4 y)
// of a set of points needs to know about their extent: their box and
// their convex outline. Points that are not finite are left out.
struct PointOutline {
  bool Any = false;  // some finite point
  double MinX = 0, MinY = 0, MaxX = 0, MaxY = 0;
  std::vector<Point2> Hull;  // convex outline, points on its edges kept
};
PointOutline MakePointOutline(std::vector<Point2> pts);
// The points that stand for every point of the set under a placement with
// matrix (r1 r2; r3 r4): the box corners when it neither rotates nor
// shears (each placed coordinate then follows one of x, y alone, and
// rounding keeps that order), else the outline. Their count, and a call
// f(x, y) for each.
std::size_t OutlineCost(const PointOutline& o, double r2, double r3);
template <typename F>
void ForOutlinePoints(const PointOutline& o, double r2, double r3, F&& f) {
  if (r2 == 0 && r3 == 0) {
    for (double x : {o.MinX, o.MaxX})
      for (double y : {o.MinY, o.MaxY}) f(x, y);
    return;
  }
  for (const Point2& q : o.Hull) f(q.X, q.Y);
}

// Rectangle (x1, y1)-(x2, y2) with x1 < x2 and y1 < y2. Bits 1/2/4/8 for
// left/right/below/above; a point on an edge (within 1e-12) is outside.
int OutCode(double x1, double y1, double x2, double y2, double px, double py);
// 0 inside, 2 outside.
int PointInRect(double x1, double y1, double x2, double y2, double px, double py);

struct ClippedSegment {
  int Code = 2;  // 0 wholly inside, 1 partly inside (ends moved), 2 outside
  double X1 = 0, Y1 = 0, X2 = 0, Y2 = 0;
};
ClippedSegment ClipSegment(double x1, double y1, double x2, double y2, double px1, double py1,
                           double px2, double py2);

}  // namespace parvex
