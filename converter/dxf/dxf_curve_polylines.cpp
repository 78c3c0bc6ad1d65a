#include "converter/dxf/dxf_curve_polylines.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <unordered_map>

#include "common/value_helpers.h"

namespace parvex {

namespace {

constexpr double kTwoPi = 2.0 * std::numbers::pi;

bool SamePoint(double x1, double y1, double x2, double y2) {
  return std::fabs(x1 - x2) <= kPwMatchTolerance && std::fabs(y1 - y2) <= kPwMatchTolerance;
}

bool SameAttributes(const TDXF_PolyWorkEntity& a, const TDXF_PolyWorkEntity& b) {
  return a.lay == b.lay && a.col == b.col && a.ltp == b.ltp && a.wid == b.wid;
}

// One vertex reached while growing a chain: the point and the included
// angle of the segment that led to it, in that segment's own direction.
struct ChainStep {
  double x, y, a;
};

// Finds, among the segments of one group, those with an end point near a
// given point, so that growing a chain does not rescan the whole group for
// every segment it attaches. End points are filed in square cells much
// larger than the match tolerance; a query looks at the cells that a small
// box around the point touches (usually one) and applies the exact test.
class EndpointIndex {
 public:
  explicit EndpointIndex(const std::vector<TDXF_PolyWorkEntity>& e) : e_(e) {
    for (const TDXF_PolyWorkEntity& s : e) {
      for (double v : {s.x1, s.y1, s.x2, s.y2}) {
        if (!(std::fabs(v) <= kMaxCoordinate)) return;  // cells would be inexact
      }
    }
    usable_ = true;
    cells_.reserve(e.size() * 2);
    for (size_t l = 0; l < e.size(); ++l) {
      const Key a{Cell(e[l].x1), Cell(e[l].y1)}, b{Cell(e[l].x2), Cell(e[l].y2)};
      cells_[a].push_back(static_cast<int>(l));
      if (!(b == a)) cells_[b].push_back(static_cast<int>(l));
    }
  }

  bool usable() const { return usable_; }

  // The lowest index >= from, other than `skip`, of a free segment with the
  // attributes of `ref` that starts or ends within the tolerance of (x, y);
  // -1 if none.
  int First(double x, double y, int from, int skip, const TDXF_PolyWorkEntity& ref) {
    const double qx = x / kCell, qy = y / kCell;
    const int64_t x0 = static_cast<int64_t>(std::floor(qx - kMargin));
    const int64_t x1 = static_cast<int64_t>(std::floor(qx + kMargin));
    const int64_t y0 = static_cast<int64_t>(std::floor(qy - kMargin));
    const int64_t y1 = static_cast<int64_t>(std::floor(qy + kMargin));
    int best = -1;
    for (int64_t cx = x0; cx <= x1; ++cx) {
      for (int64_t cy = y0; cy <= y1; ++cy) {
        const auto it = cells_.find({cx, cy});
        if (it == cells_.end()) continue;
        std::vector<int>& list = it->second;
        size_t taken = 0;
        for (auto k = std::lower_bound(list.begin(), list.end(), from); k != list.end(); ++k) {
          const int l = *k;
          if (best >= 0 && l >= best) break;
          const TDXF_PolyWorkEntity& s = e_[static_cast<size_t>(l)];
          if (s.etp == 0) {
            ++taken;
            continue;
          }
          if (l == skip || !SameAttributes(s, ref)) continue;
          if (SamePoint(s.x1, s.y1, x, y) || SamePoint(s.x2, s.y2, x, y)) {
            best = l;
            break;
          }
        }
        // Taken segments stay filed until they slow a query down.
        if (taken > 16 && taken * 2 > list.size()) {
          std::erase_if(list, [&](int l) { return e_[static_cast<size_t>(l)].etp == 0; });
        }
      }
    }
    return best;
  }

 private:
  // Cells of 1e-3 hold the points of regular drawings one by one. Up to
  // kMaxCoordinate a cell number is exact to a hundredth of a cell, and two
  // matching points lie within kMargin of a cell of each other.
  static constexpr double kCell = 1e-3;
  static constexpr double kMaxCoordinate = 1e11;
  static constexpr double kMargin = 0.05;

  struct Key {
    int64_t x, y;
    bool operator==(const Key& o) const { return x == o.x && y == o.y; }
  };
  struct KeyHash {
    // Cell numbers of regular drawings are multiples of large powers of
    // ten; mixing the bits keeps them from sharing buckets.
    static uint64_t Mix(uint64_t v) {
      v += 0x9E3779B97F4A7C15ull;
      v = (v ^ (v >> 30)) * 0xBF58476D1CE4E5B9ull;
      v = (v ^ (v >> 27)) * 0x94D049BB133111EBull;
      return v ^ (v >> 31);
    }
    size_t operator()(const Key& k) const {
      return static_cast<size_t>(Mix(static_cast<uint64_t>(k.x) ^ Mix(static_cast<uint64_t>(k.y))));
    }
  };
  static int64_t Cell(double v) { return static_cast<int64_t>(std::floor(v / kCell)); }

  const std::vector<TDXF_PolyWorkEntity>& e_;
  bool usable_ = false;
  std::unordered_map<Key, std::vector<int>, KeyHash> cells_;
};

// Takes segment s onto the chain end (x, y) when one of its ends meets it:
// the step to its other end goes to `steps`, and that end becomes the chain
// end. True when it was taken.
bool Meet(TDXF_PolyWorkEntity& s, double& x, double& y, std::vector<ChainStep>& steps) {
  if (SamePoint(s.x1, s.y1, x, y)) {
    steps.push_back({s.x2, s.y2, s.da});
    x = s.x2;
    y = s.y2;
  } else if (SamePoint(s.x2, s.y2, x, y)) {
    steps.push_back({s.x1, s.y1, -s.da});
    x = s.x1;
    y = s.y1;
  } else {
    return false;
  }
  s.etp = 0;
  return true;
}

// Attaches segment s to the chain if it meets the head or, failing that,
// the tail; true when it was taken.
bool Attach(TDXF_PolyWorkEntity& s, double& hx, double& hy, double& tx, double& ty,
            std::vector<ChainStep>& back, std::vector<ChainStep>& fwd) {
  return Meet(s, hx, hy, back) || Meet(s, tx, ty, fwd);
}

// Grows the chain started by segment `first` (already marked taken) at
// both ends and returns its vertices in the direction of `first`.
std::vector<TDXF_PLinePoint> Chain(TDXF_PolyWorkMain& group, int first, EndpointIndex& index) {
  const TDXF_PolyWorkEntity& start = group.e[first];
  const int en = static_cast<int>(group.e.size());
  std::vector<ChainStep> back;  // steps beyond the start point
  std::vector<ChainStep> fwd;   // steps beyond the end point
  double hx = start.x1, hy = start.y1;
  double tx = start.x2, ty = start.y2;

  // At most one pass per segment. Each pass visits the free segments in
  // group order against the current head and tail; a pass that takes
  // nothing leaves the state unchanged, so later passes would take nothing
  // either and the search stops there.
  for (int pass = 0; pass < en; ++pass) {
    bool took = false;
    if (index.usable()) {
      // The same visit, jumping straight to the next segment in group
      // order that meets the head or the tail as they are at that moment:
      // the segments in between would not have been taken.
      int from = 0;
      for (;;) {
        const int lh = index.First(hx, hy, from, first, start);
        const int lt = index.First(tx, ty, from, first, start);
        const int l = lh < 0 ? lt : (lt < 0 ? lh : std::min(lh, lt));
        if (l < 0) break;
        took = Attach(group.e[l], hx, hy, tx, ty, back, fwd) || took;
        from = l + 1;
      }
    } else {
      for (int l = 0; l < en; ++l) {
        TDXF_PolyWorkEntity& s = group.e[l];
        if (l == first || s.etp == 0 || !SameAttributes(s, start)) continue;
        took = Attach(s, hx, hy, tx, ty, back, fwd) || took;
      }
    }
    if (!took) break;
  }

  std::vector<TDXF_PLinePoint> v;
  v.reserve(back.size() + fwd.size() + 2);
  // The steps beyond the start point are walked back toward it, so each of
  // their segments runs against the direction it was met in.
  for (auto it = back.rbegin(); it != back.rend(); ++it) v.push_back({it->x, it->y, -it->a});
  v.push_back({start.x1, start.y1, start.da});
  v.push_back({start.x2, start.y2, fwd.empty() ? start.da : fwd.front().a});
  for (size_t k = 0; k < fwd.size(); ++k) {
    // The last vertex's angle belongs to no segment of an open polyline.
    const double a = k + 1 < fwd.size() ? fwd[k + 1].a : -fwd[k].a;
    v.push_back({fwd[k].x, fwd[k].y, a});
  }
  return v;
}

}  // namespace

void DxfCurveJoiner::Pw_Init() {
  groups_.clear();
  results_.clear();
}

int DxfCurveJoiner::Pw_GetIdx(int n) const {
  for (size_t i = 0; i < groups_.size(); ++i) {
    if (groups_[i].no == n) return static_cast<int>(i);
  }
  return -1;
}

void DxfCurveJoiner::Pw_AddEnt(int n, TDXF_PolyWorkEntity s) {
  // A segment with a coordinate or angle that is not a number would carry
  // it into the output; it is dropped like one that cannot be stored.
  if (!Finite({s.x1, s.y1, s.x2, s.y2, s.da})) return;
  int gi = Pw_GetIdx(n);
  if (gi < 0) {
    groups_.push_back({});
    groups_.back().no = n;
    gi = static_cast<int>(groups_.size()) - 1;
  }
  // Whole turns are removed toward zero, keeping the sign of the sweep.
  s.da = s.da - std::trunc(s.da / kTwoPi) * kTwoPi;
  groups_[static_cast<size_t>(gi)].e.push_back(s);
}

void DxfCurveJoiner::Pw_Sort() {
  results_.clear();
  for (TDXF_PolyWorkMain& g : groups_) {
    EndpointIndex index(g.e);
    for (size_t i = 0; i < g.e.size(); ++i) {
      TDXF_PolyWorkEntity& s = g.e[i];
      if (s.etp == 0) continue;
      s.etp = 0;
      TDXF_PolyWorkSub r;
      r.lay = s.lay;
      r.col = s.col;
      r.ltp = s.ltp;
      r.wid = s.wid;
      r.clf = false;
      r.v = Chain(g, static_cast<int>(i), index);
      results_.push_back(std::move(r));
    }
  }
}

}  // namespace parvex
