// Extents of DOS-edition drawings and shapes: the rectangle around every
// line, arc, text and point (and the virtual points of a drawing).
#include <cmath>
#include <limits>
#include <numbers>

#include "common/geometry.h"
#include "common/value_helpers.h"
#include "converter/jwc/jwc_data.h"

namespace parvex {
namespace {

constexpr double kRadPerDeg = std::numbers::pi / 180;

double Wrap360(double deg) {
  const double d = std::fmod(deg, 360.0);
  return d < 0 ? d + 360 : d;
}

// The box grows from its first usable point, so that it never starts from
// the values the run held before (the placeholder box of a fresh run).
class ExtentsGrowth {
 public:
  explicit ExtentsGrowth(double divisor) : divisor_(divisor) {}

  void Start(double x, double y) {
    constexpr double nan = std::numeric_limits<double>::quiet_NaN();
    ExtentsBox box{nan, nan, nan, nan};
    ExtentsStart(box, x, y, divisor_);
    if (std::isnan(box.MinX)) return;  // an unusable point starts nothing
    box_ = box;
    started_ = true;
  }

  void Add(double x, double y) {
    if (started_) {
      ExtentsAdd(box_, x, y, divisor_);
    } else {
      Start(x, y);
    }
  }

  void Lines(const std::vector<TEntJwcLine>& lines) {
    for (const TEntJwcLine& l : lines) {
      Add(l.x1, l.y1);
      Add(l.x2, l.y2);
    }
  }

  // The ends of an arc and the points where its ellipse is leftmost,
  // rightmost, lowest and highest, where they lie on the arc; a full
  // ellipse gives those four points. Without tilt they are the points at
  // parameter angles 0, 90, 180 and 270 degrees.
  void Arcs(const std::vector<TEntJwcArc2>& arcs) {
    for (const TEntJwcArc2& a : arcs) {
      const double k = a.h, tilt = a.tt * kRadPerDeg;
      auto at = [&](double deg) {
        const Point2 p = EllipsePoint(a.x, a.y, a.r, k, tilt, deg * kRadPerDeg);
        Add(p.X, p.Y);
      };
      const double c = std::cos(tilt), s = std::sin(tilt);
      const double tx = std::atan2(-k * s, c) / kRadPerDeg;
      const double ty = std::atan2(k * c, s) / kRadPerDeg;
      const double extremes[4] = {tx, tx + 180, ty, ty + 180};
      const double start = Wrap360(a.st);
      const double sweep = Wrap360(a.et - start);
      if (!(sweep > kTolerance14 && sweep < 360 - kTolerance14)) {
        for (double e : extremes) at(e);
        continue;
      }
      at(start);
      at(start + sweep);
      for (double e : extremes)
        if (Wrap360(e - start) <= sweep) at(e);
    }
  }

  void Texts(const std::vector<TEntJwcMoji2>& texts) {
    for (const TEntJwcMoji2& m : texts) {
      if (SamePoint12(m.x1, m.y1, m.x2, m.y2)) continue;
      Add(m.x1, m.y1);
      Add(m.x2, m.y2);
    }
  }

  void Points(const std::vector<TEntJwcTen>& points) {
    for (const TEntJwcTen& t : points) Add(t.x, t.y);
  }

  // The box into `ext` when anything started it (else `ext` keeps its
  // values); a box without extent is widened by 10 on every side.
  void Finish(DrawingExtents& ext, JwcEntityModel& model) const {
    if (started_) ext = {box_.MinX, box_.MinY, box_.MaxX, box_.MaxY};
    if (SameValue12(ext.ExtMinX, ext.ExtMaxX) && SameValue12(ext.ExtMinY, ext.ExtMaxY)) {
      ext.ExtMinX -= 10;
      ext.ExtMinY -= 10;
      ext.ExtMaxX += 10;
      ext.ExtMaxY += 10;
    }
    model.myMinWx = ext.ExtMinX;
    model.myMinWy = ext.ExtMinY;
    model.myMaxWx = ext.ExtMaxX;
    model.myMaxWy = ext.ExtMaxY;
  }

 private:
  double divisor_;
  ExtentsBox box_;
  bool started_ = false;
};

}  // namespace

void TJwcData::GetMinMaxZahyo(DrawingExtents& ext) {
  ExtentsGrowth g(1);
  // Without lines, the first arc's centre starts the box.
  if (EntLine.empty() && !EntArc.empty()) g.Start(EntArc[0].x, EntArc[0].y);
  g.Lines(EntLine);
  g.Arcs(EntArc);
  g.Texts(EntMoji);
  g.Points(EntTen);
  for (int i = 1; i <= VirtualPointCount(); ++i) g.Add(EntVten[i].x, EntVten[i].y);
  g.Finish(ext, *this);
}

void TJwkData::GetMinMaxZahyo(DrawingExtents& ext) {
  ExtentsGrowth g(Enthd.scale);
  g.Start(0, 0);  // a shape's extents always hold its origin
  g.Lines(EntLine);
  g.Arcs(EntArc);
  g.Texts(EntMoji);
  g.Points(EntTen);
  g.Finish(ext, *this);
}

}  // namespace parvex
