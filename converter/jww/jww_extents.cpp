// Drawing extents: the rectangle around every entity and every placed
// block, sampling curves at fixed angles.
#include <algorithm>
#include <cmath>
#include <numbers>
#include <string>

#include "common/geometry.h"
#include "common/image_text.h"
#include "converter/jww/jws_data.h"

namespace parvex {
namespace {

constexpr double kPointLimit = 5e11;  // points beyond are ignored
constexpr double kClampLimit = 1e8;   // the extents never reach beyond
constexpr double kTol = 1e-12;
constexpr int kArcSamples = 72;

bool Same(double a, double b) { return std::fabs(a - b) <= kTol; }

class ExtentsBuilder {
 public:
  explicit ExtentsBuilder(DrawingExtents& e) : e_(e) {}

  static bool Usable(double x, double y) {
    // NaN fails every comparison, so it is rejected here too.
    return x >= -kPointLimit && x <= kPointLimit && y >= -kPointLimit && y <= kPointLimit;
  }

  void Start(double x, double y) {
    if (!Usable(x, y)) return;
    e_.ExtMinX = e_.ExtMaxX = x;
    e_.ExtMinY = e_.ExtMaxY = y;
    Clamp();
  }

  void Add(double x, double y) {
    if (!Usable(x, y)) return;
    if (x < e_.ExtMinX) e_.ExtMinX = x;
    if (x > e_.ExtMaxX) e_.ExtMaxX = x;
    if (y < e_.ExtMinY) e_.ExtMinY = y;
    if (y > e_.ExtMaxY) e_.ExtMaxY = y;
    Clamp();
  }

 private:
  // Every edge, not only the outer ones: a drawing wholly beyond the limit
  // on one side must not end with its minimum above its maximum.
  void Clamp() {
    for (double* v : {&e_.ExtMinX, &e_.ExtMinY, &e_.ExtMaxX, &e_.ExtMaxY})
      *v = std::clamp(*v, -kClampLimit, kClampLimit);
  }

  DrawingExtents& e_;
};

// Placement of block contents; the identity for the drawing itself.
struct Placement {
  double x = 0, y = 0, r1 = 1, r2 = 0, r3 = 0, r4 = 1;
  bool identity = true;
};

struct EllipseShape {
  double cx, cy, r, flat, tilt;
  void At(double t, double& x, double& y) const {
    const double ct = std::cos(tilt), st = std::sin(tilt);
    const double u = r * std::cos(t), v = r * flat * std::sin(t);
    x = cx + ct * u - st * v;
    y = cy + st * u + ct * v;
  }
  // Calls f(x, y) at t0 + k * dt for k = 0..n. The angle is advanced by a
  // rotation instead of two trigonometric calls per sample; over the few
  // dozen steps used here the drift stays far below drawing precision.
  template <typename F>
  void Sample(double t0, double dt, int n, F&& f) const {
    const double ct = std::cos(tilt), st = std::sin(tilt);
    const double cd = std::cos(dt), sd = std::sin(dt);
    double c = std::cos(t0), s = std::sin(t0);
    for (int k = 0; k <= n; ++k) {
      const double u = r * c, v = r * flat * s;
      f(cx + ct * u - st * v, cy + st * u + ct * v);
      const double c2 = c * cd - s * sd;
      s = s * cd + c * sd;
      c = c2;
    }
  }
};

bool IsPlaceholderText(const TEntJwwMoji& m) {
  return Same(m.start_x, 0) && Same(m.start_y, 0) && Same(m.end_x, 0.01) && Same(m.end_y, 0.01);
}

bool IsZeroLengthText(const TEntJwwMoji& m) {
  return Same(m.start_x, m.end_x) && Same(m.start_y, m.end_y);
}

class EntityExtents {
 public:
  EntityExtents(ExtentsBuilder& b, const Placement& p) : b_(b), p_(p) {}

  void Point(double u, double v) {
    if (p_.identity) [[likely]] {
      b_.Add(u, v);
    } else {
      b_.Add(p_.x + p_.r1 * u + p_.r2 * v, p_.y + p_.r3 * u + p_.r4 * v);
    }
  }

  void Lines(const std::vector<TEntJwwLine>& lines) {
    for (const TEntJwwLine& l : lines) {
      Point(l.start_x, l.start_y);
      Point(l.end_x, l.end_y);
    }
  }

  void Arcs(const std::vector<TEntJwwEnko>& arcs) {
    constexpr double kPi = std::numbers::pi;
    for (const TEntJwwEnko& a : arcs) {
      EllipseShape e{a.start_x, a.start_y, a.dHankei, a.dHenpeiRitsu, a.radKatamukiKaku};
      double x, y;
      if (a.bZenEnFlg != 0) {
        for (double t : {0.0, kPi / 2, kPi, 3 * kPi / 2}) {
          e.At(t, x, y);
          Point(x, y);
        }
      } else {
        e.Sample(a.radKaishiKaku, a.radEnkoKaku / kArcSamples, kArcSamples,
                 [this](double px, double py) { Point(px, py); });
      }
    }
  }

  void Points(const std::vector<TEntJwwTen>& pts) {
    for (const TEntJwwTen& t : pts) Point(t.start_x, t.start_y);
  }

  void Texts(const std::vector<TEntJwwMoji>& texts) {
    for (const TEntJwwMoji& m : texts) {
      if (IsZeroLengthText(m) || IsPlaceholderText(m)) continue;
      Point(m.start_x, m.start_y);
      Point(m.end_x, m.end_y);
      if (m.str.starts_with(u"^@BM")) {
        // An image reference: its far corner from the stated width and
        // height (rotation not taken into account).
        const ImageTextFields f = ParseImageText(m.str);
        Point(m.start_x + f.W, m.start_y + f.H);
      }
    }
  }

  void Dimensions(const std::vector<TEntJwwSunpo>& dims) {
    for (const TEntJwwSunpo& d : dims) {
      Point(d.Sen.start_x, d.Sen.start_y);
      Point(d.Sen.end_x, d.Sen.end_y);
      Point(d.Moji.start_x, d.Moji.start_y);
      Point(d.Moji.end_x, d.Moji.end_y);
      if (d.bSxfMode != 0) {
        for (const TEntJwwLine* l : {&d.Ho1, &d.Ho2}) {
          Point(l->start_x, l->start_y);
          Point(l->end_x, l->end_y);
        }
      }
    }
  }

  void Solids(const std::vector<TEntJwwSolid>& solids) {
    for (const TEntJwwSolid& s : solids) {
      const int style = s.att.nPenStyle;
      if (style < 101) {
        Point(s.start_x, s.start_y);
        Point(s.end_x, s.end_y);
        Point(s.DPoint2_x, s.DPoint2_y);
        Point(s.DPoint3_x, s.DPoint3_y);
        continue;
      }
      // Curved area: centre, radius, flattening, tilt, start, swept, kind.
      EllipseShape e{s.start_x, s.start_y, s.end_x, s.end_y, s.DPoint2_x};
      const double start = s.DPoint2_y, swept = s.DPoint3_x, kind = s.DPoint3_y;
      if (style == 101 && Same(kind, 0)) Point(s.start_x, s.start_y);
      if (style == 101 && Same(kind, -1)) {
        const EllipseArcEnds ends =
            EllipseArcPoints(s.start_x, s.start_y, s.end_x, s.end_y, start, swept, s.DPoint2_x);
        Point(ends.TangentCrossing.X, ends.TangentCrossing.Y);
      }
      double step = swept / kArcSamples;
      if ((style == 101 || style == 111) && Same(kind, 100)) step = std::numbers::pi / 36;
      e.Sample(start, step, kArcSamples, [this](double px, double py) { Point(px, py); });
    }
  }

 private:
  ExtentsBuilder& b_;
  const Placement& p_;
};

}  // namespace

void JwwEntityModel::AccumulateExtents(DrawingExtents& ext) {
  ExtentsBuilder b(ext);
  const Placement drawing;
  EntityExtents top(b, drawing);
  top.Lines(EntLine);
  top.Arcs(EntEnko);
  top.Points(EntTen);
  top.Texts(EntMoji);
  top.Dimensions(EntSunpo);
  top.Solids(EntSolid);

  for (const TEntJwwBlockTree& node : EntBlockTree) {
    if (node.defno < 0) continue;
    const TEntJwwBlockDef& d = EntBlockDef[static_cast<size_t>(node.defno)];
    Placement p{node.x, node.y, node.r1, node.r2, node.r3, node.r4, false};
    EntityExtents in(b, p);
    in.Lines(d.mLine);
    in.Arcs(d.mEnko);
    in.Points(d.mTen);
    in.Texts(d.mMoji);
    in.Dimensions(d.mSunpo);
    in.Solids(d.mSolid);
  }

  if (Same(ext.ExtMinX, ext.ExtMaxX) && Same(ext.ExtMinY, ext.ExtMaxY)) {
    ext.ExtMinX -= 10;
    ext.ExtMinY -= 10;
    ext.ExtMaxX += 10;
    ext.ExtMaxY += 10;
  }
  myMinWx = ext.ExtMinX;
  myMinWy = ext.ExtMinY;
  myMaxWx = ext.ExtMaxX;
  myMaxWy = ext.ExtMaxY;
}

void TJwwData::GetMinMaxZahyo(DrawingExtents& ext) {
  ExtentsBuilder b(ext);
  if (!EntLine.empty()) {
    b.Start(EntLine[0].start_x, EntLine[0].start_y);
  } else if (!EntEnko.empty()) {
    b.Start(EntEnko[0].start_x, EntEnko[0].start_y);
  } else if (!EntTen.empty()) {
    b.Start(EntTen[0].start_x, EntTen[0].start_y);
  } else if (!EntMoji.empty()) {
    const TEntJwwMoji& m = EntMoji[0];
    if (IsZeroLengthText(m)) {
      // nothing seeds
    } else if (IsPlaceholderText(m)) {
      if (!EntSunpo.empty()) {
        b.Start(EntSunpo[0].Sen.start_x, EntSunpo[0].Sen.start_y);
      } else if (!EntSolid.empty()) {
        b.Start(EntSolid[0].start_x, EntSolid[0].start_y);
      } else if (!EntBlock.empty()) {
        b.Start(EntBlock[0].DPKijunTen_x, EntBlock[0].DPKijunTen_y);
      }
    } else {
      b.Start(m.start_x, m.start_y);
    }
  }
  AccumulateExtents(ext);
}

void TJwsData::GetMinMaxZahyo(DrawingExtents& ext) {
  ExtentsBuilder b(ext);
  b.Start(Enthd.BasePoint_x, Enthd.BasePoint_y);
  AccumulateExtents(ext);
}

}  // namespace parvex
