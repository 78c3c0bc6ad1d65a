#include "common/geometry.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "common/value_helpers.h"

namespace parvex {

double RotateX(double x, double y, double cx, double cy, double a) {
  return cx + std::cos(a) * (x - cx) - std::sin(a) * (y - cy);
}

double RotateY(double x, double y, double cx, double cy, double a) {
  return cy + std::sin(a) * (x - cx) + std::cos(a) * (y - cy);
}

Point2 RotatePointDeg(double x, double y, double cx, double cy, double deg) {
  double a = deg * std::numbers::pi / 180.0;
  return {RotateX(x, y, cx, cy, a), RotateY(x, y, cx, cy, a)};
}

double VectorAngle(double dx, double dy) {
  if (std::fabs(dx) < kTolerance14 && std::fabs(dy) < kTolerance14) return 0;
  double a = std::atan2(dy, dx);
  if (a < 0) a += 2 * std::numbers::pi;
  return a;
}

SegmentProjection PointWithinSegment(double x1, double y1, double x2, double y2, double px,
                                     double py) {
  double a = -VectorAngle(x2 - x1, y2 - y1);
  double rpx = RotateX(px, py, x1, y1, a);
  double rpy = RotateY(px, py, x1, y1, a);
  double rx2 = RotateX(x2, y2, x1, y1, a);
  SegmentProjection r;
  r.Offset = rpy - y1;
  r.Within = x1 - kTolerance12 <= rpx && rpx <= rx2 + kTolerance12;
  return r;
}

Crossing SegmentIntersection(double ax1, double ay1, double ax2, double ay2, double bx1,
                             double by1, double bx2, double by2) {
  Crossing c;
  bool aVertical = std::fabs(ax2 - ax1) <= 1e-10;
  bool bVertical = std::fabs(bx2 - bx1) <= 1e-10;
  if (aVertical && bVertical) return c;
  double x, y;
  if (aVertical) {
    double mb = (by2 - by1) / (bx2 - bx1);
    x = ax1;
    y = by1 + mb * (x - bx1);
  } else if (bVertical) {
    double ma = (ay2 - ay1) / (ax2 - ax1);
    x = bx1;
    y = ay1 + ma * (x - ax1);
  } else {
    double ma = (ay2 - ay1) / (ax2 - ax1);
    double mb = (by2 - by1) / (bx2 - bx1);
    if (std::fabs(ma - mb) <= 1e-10) return c;
    x = (by1 - ay1 + ma * ax1 - mb * bx1) / (ma - mb);
    y = ay1 + ma * (x - ax1);
  }
  c.X = x;
  c.Y = y;
  bool onA = PointWithinSegment(ax1, ay1, ax2, ay2, x, y).Within;
  bool onB = PointWithinSegment(bx1, by1, bx2, by2, x, y).Within;
  c.Code = onA && onB ? 1 : 2;
  return c;
}

namespace {

Point2 TiltAndMove(double cx, double cy, double tilt, double px, double py) {
  double c = std::cos(tilt), s = std::sin(tilt);
  return {cx + px * c - py * s, cy + px * s + py * c};
}

}  // namespace

Point2 EllipsePoint(double cx, double cy, double r, double k, double tilt, double t) {
  return TiltAndMove(cx, cy, tilt, r * std::cos(t), r * k * std::sin(t));
}

EllipseArcEnds EllipseArcPoints(double cx, double cy, double r, double k, double t0,
                                double sweep, double tilt) {
  double t1 = t0 + sweep;
  EllipseArcEnds e;
  e.Start = EllipsePoint(cx, cy, r, k, tilt, t0);
  e.End = EllipsePoint(cx, cy, r, k, tilt, t1);
  // Tangents in the ellipse's own axes: P(t) + d * P'(t).
  double p0x = r * std::cos(t0), p0y = r * k * std::sin(t0);
  double p1x = r * std::cos(t1), p1y = r * k * std::sin(t1);
  double d0x = -r * std::sin(t0), d0y = r * k * std::cos(t0);
  double d1x = -r * std::sin(t1), d1y = r * k * std::cos(t1);
  Crossing c = SegmentIntersection(p0x, p0y, p0x + d0x, p0y + d0y, p1x, p1y, p1x + d1x,
                                   p1y + d1y);
  e.TangentCrossing = c.Code == 0 ? Point2{cx, cy} : TiltAndMove(cx, cy, tilt, c.X, c.Y);
  return e;
}

namespace {

bool UsableInput(double x) { return x >= -5e11 && x <= 5e11; }

void KeepInRange(ExtentsBox& b) {
  if (!(b.MinX >= -1e8)) b.MinX = -1e8;
  if (!(b.MinY >= -1e8)) b.MinY = -1e8;
  if (b.MaxX > 1e8) b.MaxX = 1e8;
  if (b.MaxY > 1e8) b.MaxY = 1e8;
}

bool Scaled(double x, double y, double s, double& sx, double& sy) {
  if (!UsableInput(x) || !UsableInput(y)) return false;
  sx = x / s;
  sy = y / s;
  return Finite({sx, sy});
}

void Grow(ExtentsBox& b, double x, double y) {
  if (x < b.MinX) b.MinX = x;
  if (y < b.MinY) b.MinY = y;
  if (x > b.MaxX) b.MaxX = x;
  if (y > b.MaxY) b.MaxY = y;
  KeepInRange(b);
}

}  // namespace

void ExtentsStart(ExtentsBox& box, double x, double y, double s) {
  double sx, sy;
  if (!Scaled(x, y, s, sx, sy)) return;
  box = {sx, sy, sx, sy};
  KeepInRange(box);
}

void ExtentsAdd(ExtentsBox& box, double x, double y, double s) {
  double sx, sy;
  if (!Scaled(x, y, s, sx, sy)) return;
  Grow(box, sx, sy);
}

void ExtentsAddTransformed(ExtentsBox& box, double u, double v, double x0, double y0,
                           double r1, double r2, double r3, double r4, double s) {
  if (!UsableInput(u) || !UsableInput(v)) return;
  double x = x0 + r1 * u + r2 * v;
  double y = y0 + r3 * u + r4 * v;
  double sx = x / s, sy = y / s;
  if (!Finite({sx, sy})) return;
  Grow(box, sx, sy);
}

int OutCode(double x1, double y1, double x2, double y2, double px, double py) {
  int code = 0;
  if (px - x1 < kTolerance12) code |= 1;
  if (px - x2 > -kTolerance12) code |= 2;
  if (py - y1 < kTolerance12) code |= 4;
  if (py - y2 > -kTolerance12) code |= 8;
  return code;
}

int PointInRect(double x1, double y1, double x2, double y2, double px, double py) {
  return OutCode(x1, y1, x2, y2, px, py) == 0 ? 0 : 2;
}

ClippedSegment ClipSegment(double x1, double y1, double x2, double y2, double px1, double py1,
                           double px2, double py2) {
  ClippedSegment r{2, px1, py1, px2, py2};
  int c1 = OutCode(x1, y1, x2, y2, px1, py1);
  int c2 = OutCode(x1, y1, x2, y2, px2, py2);
  if (c1 == 0 && c2 == 0) {
    r.Code = 0;
    return r;
  }
  if ((c1 & c2) != 0) return r;
  double dx = px2 - px1;
  double dy = py2 - py1;
  auto move = [&](double& x, double& y) {
    int c = OutCode(x1, y1, x2, y2, x, y);
    if ((c & 1) && std::fabs(dx) > kTolerance12) {
      x = x1;
      y = py1 + (x1 - px1) * dy / dx;
      c = OutCode(x1, y1, x2, y2, x, y);
    }
    if ((c & 2) && std::fabs(dx) > kTolerance12) {
      x = x2;
      y = py1 + (x2 - px1) * dy / dx;
      c = OutCode(x1, y1, x2, y2, x, y);
    }
    if ((c & 4) && std::fabs(dy) > kTolerance12) {
      y = y1;
      x = px1 + (y1 - py1) * dx / dy;
      c = OutCode(x1, y1, x2, y2, x, y);
    }
    if ((c & 8) && std::fabs(dy) > kTolerance12) {
      y = y2;
      x = px1 + (y2 - py1) * dx / dy;
    }
  };
  move(r.X1, r.Y1);
  move(r.X2, r.Y2);
  bool differ = std::fabs(r.X1 - r.X2) >= kTolerance12 || std::fabs(r.Y1 - r.Y2) >= kTolerance12;
  r.Code = differ ? 1 : 2;
  return r;
}

namespace {

double Cross(const Point2& o, const Point2& a, const Point2& b) {
  return (a.X - o.X) * (b.Y - o.Y) - (a.Y - o.Y) * (b.X - o.X);
}

// Convex hull of the points (monotone chain). Points on its edges are kept:
// an edge point ties with the corners in the direction across that edge,
// and rounding then decides which one a placement puts furthest out.
std::vector<Point2> ConvexOutline(std::vector<Point2> pts) {
  auto less = [](const Point2& a, const Point2& b) {
    return a.X < b.X || (a.X == b.X && a.Y < b.Y);
  };
  auto same = [](const Point2& a, const Point2& b) { return a.X == b.X && a.Y == b.Y; };
  std::sort(pts.begin(), pts.end(), less);
  pts.erase(std::unique(pts.begin(), pts.end(), same), pts.end());
  if (pts.size() <= 2) return pts;
  std::vector<Point2> hull;
  hull.reserve(pts.size() + 1);
  for (int pass = 0; pass < 2; ++pass) {
    const std::size_t start = hull.size();
    for (std::size_t i = 0; i < pts.size(); ++i) {
      const Point2& p = pass == 0 ? pts[i] : pts[pts.size() - 1 - i];
      while (hull.size() >= start + 2 && Cross(hull[hull.size() - 2], hull.back(), p) < 0)
        hull.pop_back();
      hull.push_back(p);
    }
    hull.pop_back();  // the first point of the other chain
  }
  return hull;
}

}  // namespace

PointOutline MakePointOutline(std::vector<Point2> pts) {
  std::erase_if(pts, [](const Point2& p) { return !Finite({p.X, p.Y}); });
  PointOutline o;
  if (pts.empty()) return o;
  o.Any = true;
  o.MinX = o.MaxX = pts[0].X;
  o.MinY = o.MaxY = pts[0].Y;
  for (const Point2& p : pts) {
    o.MinX = std::min(o.MinX, p.X);
    o.MaxX = std::max(o.MaxX, p.X);
    o.MinY = std::min(o.MinY, p.Y);
    o.MaxY = std::max(o.MaxY, p.Y);
  }
  o.Hull = ConvexOutline(std::move(pts));
  o.Hull.shrink_to_fit();
  return o;
}

std::size_t OutlineCost(const PointOutline& o, double r2, double r3) {
  return r2 == 0 && r3 == 0 ? 4 : o.Hull.size();
}

}  // namespace parvex
