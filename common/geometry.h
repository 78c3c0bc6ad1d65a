// Plane geometry on doubles: rotation, angles, line crossings, ellipse
// points, extents accumulation and clipping of segments to a rectangle.
// Angles are radians unless a name ends in Deg.
#pragma once

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
