// Drawing extents: the rectangle around every entity and every placed
// block, sampling curves at fixed angles.
#include <algorithm>
#include <cmath>
#include <numbers>
#include <optional>
#include <string>
#include <vector>

#include "common/geometry.h"
#include "common/image_text.h"
#include "common/value_helpers.h"
#include "converter/jww/jws_data.h"

namespace parvex {
namespace {

constexpr double kPointLimit = 5e11;  // points beyond are ignored
constexpr double kClampLimit = 1e8;   // the extents never reach beyond
constexpr int kArcSamples = 72;

bool Same(double a, double b) { return std::fabs(a - b) <= kTolerance12; }

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
    touched_ = true;
    Clamp();
  }

  // The limits are applied once, in Finish: clamping is monotone, so
  // clamping the final minimum and maximum gives what clamping after every
  // point would.
  void Add(double x, double y) {
    if (!Usable(x, y)) return;
    touched_ = true;
    if (x < e_.ExtMinX) e_.ExtMinX = x;
    if (x > e_.ExtMaxX) e_.ExtMaxX = x;
    if (y < e_.ExtMinY) e_.ExtMinY = y;
    if (y > e_.ExtMaxY) e_.ExtMaxY = y;
  }

  // True when the extents already hold the whole box, so that no point in
  // it can change them.
  bool Covers(double minX, double minY, double maxX, double maxY) const {
    return touched_ && minX >= e_.ExtMinX && maxX <= e_.ExtMaxX && minY >= e_.ExtMinY &&
           maxY <= e_.ExtMaxY;
  }

  void Finish() {
    if (touched_) Clamp();
  }

 private:
  // Every edge, not only the outer ones: a drawing wholly beyond the limit
  // on one side must not end with its minimum above its maximum.
  void Clamp() {
    for (double* v : {&e_.ExtMinX, &e_.ExtMinY, &e_.ExtMaxX, &e_.ExtMaxY})
      *v = std::clamp(*v, -kClampLimit, kClampLimit);
  }

  bool touched_ = false;
  DrawingExtents& e_;
};

struct EllipseShape {
  double cx, cy, r, flat, tilt;
  void At(double t, double& x, double& y) const {
    const double ct = std::cos(tilt), st = std::sin(tilt);
    const double u = r * std::cos(t), v = r * flat * std::sin(t);
    x = cx + ct * u - st * v;
    y = cy + st * u + ct * v;
  }
  // Half the side of a square around the centre that holds every point
  // the ellipse gives, with room for the rounding of the sampling below.
  double Reach() const { return std::fabs(r) * std::max(1.0, std::fabs(flat)) * (1 + 1e-6); }
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

// Offers every point the extents take from a set of entities to `sink`.
template <typename Sink>
class EntitySampler {
 public:
  explicit EntitySampler(Sink& sink) : sink_(sink) {}

  void Point(double u, double v) { sink_(u, v); }

  // Whether the sink already holds a box, when it can tell: a sink that
  // keeps only extents needs no sample of a curve that lies inside them.
  bool Covered(const EllipseShape& e) const {
    if constexpr (requires { sink_.Covers(0.0, 0.0, 0.0, 0.0); }) {
      const double reach = e.Reach();
      // Not a number anywhere makes every comparison false: sampled.
      return sink_.Covers(e.cx - reach, e.cy - reach, e.cx + reach, e.cy + reach);
    } else {
      return false;
    }
  }

  void Entities(const JwwEntityModel& m) {
    Lines(m.EntLine);
    Arcs(m.EntEnko);
    Points(m.EntTen);
    Texts(m.EntMoji);
    Dimensions(m.EntSunpo);
    Solids(m.EntSolid);
  }

  // A definition's own members; nested insertions are tree nodes of their own.
  void Members(const TEntJwwBlockDef& d) {
    Lines(d.mLine);
    Arcs(d.mEnko);
    Points(d.mTen);
    Texts(d.mMoji);
    Dimensions(d.mSunpo);
    Solids(d.mSolid);
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
      if (Covered(e)) continue;
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
      // The crossing of the end tangents can lie outside the ellipse.
      if (!(style == 101 && Same(kind, -1)) && Covered(e)) continue;
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
  Sink& sink_;
};

// Where a tree node puts a point (u, v) of its definition.
struct Placement {
  double x, y, r1, r2, r3, r4;
  double X(double u, double v) const { return x + r1 * u + r2 * v; }
  double Y(double u, double v) const { return y + r3 * u + r4 * v; }
};

PointOutline MakeOutline(const TEntJwwBlockDef& d) {
  std::vector<Point2> pts;
  auto collect = [&pts](double u, double v) { pts.push_back({u, v}); };
  EntitySampler<decltype(collect)> sampler(collect);
  sampler.Members(d);
  return MakePointOutline(std::move(pts));
}

// Adds the placed outline; false (nothing added) when one of its points
// falls outside the usable range, where the points in between may still
// count and have to be placed one by one.
bool AddPlacedOutline(ExtentsBuilder& b, const PointOutline& o, const Placement& p) {
  bool usable = true;
  ForOutlinePoints(o, p.r2, p.r3, [&](double u, double v) {
    usable = usable && ExtentsBuilder::Usable(p.X(u, v), p.Y(u, v));
  });
  if (!usable) return false;
  ForOutlinePoints(o, p.r2, p.r3, [&](double u, double v) { b.Add(p.X(u, v), p.Y(u, v)); });
  return true;
}

Status TooMuchWork() {
  return Fail("the drawing places its blocks too often: measuring its extents would take more than " +
              std::to_string(kMaxExtentsWork) + " points");
}

}  // namespace

Status JwwEntityModel::AccumulateExtents(DrawingExtents& ext, bool everyPoint) {
  DrawingExtents result = ext;
  ExtentsBuilder b(result);
  // Curves inside the extents so far are passed over, unless every point
  // is asked for (which checks that passing them over changes nothing).
  struct TopLevelSink {
    ExtentsBuilder& b;
    bool everyPoint;
    void operator()(double x, double y) { b.Add(x, y); }
    bool Covers(double x0, double y0, double x1, double y1) const {
      return !everyPoint && b.Covers(x0, y0, x1, y1);
    }
  } add{b, everyPoint};
  EntitySampler<TopLevelSink> top(add);
  top.Entities(*this);

  // Each placed definition reduced once to its outline; the cost of every
  // placement is known before any is made.
  std::vector<std::optional<PointOutline>> outlines(EntBlockDef.size());
  size_t work = 0;
  if (!everyPoint) {
    for (const TEntJwwBlockTree& node : EntBlockTree) {
      if (node.defno < 0) continue;
      auto& o = outlines[static_cast<size_t>(node.defno)];
      if (!o) o = MakeOutline(EntBlockDef[static_cast<size_t>(node.defno)]);
      work += OutlineCost(*o, node.r2, node.r3);
      if (work > kMaxExtentsWork) return TooMuchWork();
    }
  }

  for (const TEntJwwBlockTree& node : EntBlockTree) {
    if (node.defno < 0) continue;
    const Placement p{node.x, node.y, node.r1, node.r2, node.r3, node.r4};
    if (!everyPoint) {
      const PointOutline& o = *outlines[static_cast<size_t>(node.defno)];
      if (!o.Any || AddPlacedOutline(b, o, p)) continue;
    }
    auto placed = [&](double u, double v) {
      ++work;
      b.Add(p.X(u, v), p.Y(u, v));
    };
    EntitySampler<decltype(placed)> in(placed);
    in.Members(EntBlockDef[static_cast<size_t>(node.defno)]);
    if (work > kMaxExtentsWork) return TooMuchWork();
  }

  b.Finish();
  if (Same(result.ExtMinX, result.ExtMaxX) && Same(result.ExtMinY, result.ExtMaxY)) {
    result.ExtMinX -= 10;
    result.ExtMinY -= 10;
    result.ExtMaxX += 10;
    result.ExtMaxY += 10;
  }
  ext = result;
  myMinWx = ext.ExtMinX;
  myMinWy = ext.ExtMinY;
  myMaxWx = ext.ExtMaxX;
  myMaxWy = ext.ExtMaxY;
  return Ok();
}

Status MeasureExtents(TJwwData& d, DrawingExtents& ext, bool everyPoint) {
  DrawingExtents seeded = ext;
  ExtentsBuilder b(seeded);
  if (!d.EntLine.empty()) {
    b.Start(d.EntLine[0].start_x, d.EntLine[0].start_y);
  } else if (!d.EntEnko.empty()) {
    b.Start(d.EntEnko[0].start_x, d.EntEnko[0].start_y);
  } else if (!d.EntTen.empty()) {
    b.Start(d.EntTen[0].start_x, d.EntTen[0].start_y);
  } else if (!d.EntMoji.empty()) {
    const TEntJwwMoji& m = d.EntMoji[0];
    if (IsZeroLengthText(m)) {
      // nothing seeds
    } else if (IsPlaceholderText(m)) {
      if (!d.EntSunpo.empty()) {
        b.Start(d.EntSunpo[0].Sen.start_x, d.EntSunpo[0].Sen.start_y);
      } else if (!d.EntSolid.empty()) {
        b.Start(d.EntSolid[0].start_x, d.EntSolid[0].start_y);
      } else if (!d.EntBlock.empty()) {
        b.Start(d.EntBlock[0].DPKijunTen_x, d.EntBlock[0].DPKijunTen_y);
      }
    } else {
      b.Start(m.start_x, m.start_y);
    }
  }
  Status measured = d.AccumulateExtents(seeded, everyPoint);
  if (measured) ext = seeded;
  return measured;
}

Status MeasureExtents(TJwsData& s, DrawingExtents& ext, bool everyPoint) {
  DrawingExtents seeded = ext;
  ExtentsBuilder b(seeded);
  b.Start(s.Enthd.BasePoint_x, s.Enthd.BasePoint_y);
  Status measured = s.AccumulateExtents(seeded, everyPoint);
  if (measured) ext = seeded;
  return measured;
}

void TJwwData::GetMinMaxZahyo(DrawingExtents& ext) { (void)MeasureExtents(*this, ext); }

void TJwsData::GetMinMaxZahyo(DrawingExtents& ext) { (void)MeasureExtents(*this, ext); }

}  // namespace parvex
