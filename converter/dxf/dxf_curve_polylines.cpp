#include "converter/dxf/dxf_curve_polylines.h"

#include <cmath>
#include <numbers>

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

// Grows the chain started by segment `first` (already marked taken) at
// both ends and returns its vertices in the direction of `first`.
std::vector<TDXF_PLinePoint> Chain(TDXF_PolyWorkMain& group, int first) {
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
    for (int l = 0; l < en; ++l) {
      TDXF_PolyWorkEntity& s = group.e[l];
      if (l == first || s.etp == 0 || !SameAttributes(s, start)) continue;
      if (SamePoint(s.x1, s.y1, hx, hy)) {
        back.push_back({s.x2, s.y2, s.da});
        hx = s.x2;
        hy = s.y2;
        s.etp = 0;
      } else if (SamePoint(s.x2, s.y2, hx, hy)) {
        back.push_back({s.x1, s.y1, -s.da});
        hx = s.x1;
        hy = s.y1;
        s.etp = 0;
      }
      if (s.etp != 0) {
        if (SamePoint(s.x1, s.y1, tx, ty)) {
          fwd.push_back({s.x2, s.y2, s.da});
          tx = s.x2;
          ty = s.y2;
          s.etp = 0;
        } else if (SamePoint(s.x2, s.y2, tx, ty)) {
          fwd.push_back({s.x1, s.y1, -s.da});
          tx = s.x1;
          ty = s.y1;
          s.etp = 0;
        }
      }
      if (s.etp == 0) took = true;
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

int Pw_GetIdx(const std::vector<TDXF_PolyWorkMain>& groups, int n) {
  for (size_t i = 0; i < groups.size(); ++i) {
    if (groups[i].no == n) return static_cast<int>(i);
  }
  return -1;
}

int Pw_GetIdx(const TDXFmodel& model, int n) { return Pw_GetIdx(model.dpw1, n); }

void Pw_AddEnt(std::vector<TDXF_PolyWorkMain>& groups, int n, int no, int tp, int la, int co,
               int lt, int wd, double pa1, double pa2, double pa3, double pa4, double pa5) {
  // A segment with a coordinate or angle that is not a number would carry
  // it into the output; it is dropped like one that cannot be stored.
  if (!std::isfinite(pa1) || !std::isfinite(pa2) || !std::isfinite(pa3) ||
      !std::isfinite(pa4) || !std::isfinite(pa5)) {
    return;
  }
  int gi = Pw_GetIdx(groups, n);
  if (gi < 0) {
    if (groups.size() == groups.capacity()) groups.reserve(groups.size() + 200);
    groups.push_back({});
    groups.back().no = n;
    gi = static_cast<int>(groups.size()) - 1;
  }
  TDXF_PolyWorkMain& g = groups[gi];
  if (g.e.size() == g.e.capacity()) g.e.reserve(g.e.size() + 100);
  TDXF_PolyWorkEntity s;
  s.eno = no;
  s.etp = tp;
  s.lay = la;
  s.col = co;
  s.ltp = lt;
  s.wid = wd;
  s.x1 = pa1;
  s.y1 = pa2;
  s.x2 = pa3;
  s.y2 = pa4;
  // Whole turns are removed toward zero, keeping the sign of the sweep.
  s.da = pa5 - std::trunc(pa5 / kTwoPi) * kTwoPi;
  g.e.push_back(s);
  g.en = static_cast<int>(g.e.size());
}

void Pw_AddEnt(TDXFmodel& model, int n, int no, int tp, int la, int co, int lt, int wd,
               double pa1, double pa2, double pa3, double pa4, double pa5) {
  Pw_AddEnt(model.dpw1, n, no, tp, la, co, lt, wd, pa1, pa2, pa3, pa4, pa5);
}

void Pw_Sort(std::vector<TDXF_PolyWorkMain>& groups, std::vector<TDXF_PolyWorkSub>& results) {
  results.clear();
  for (TDXF_PolyWorkMain& g : groups) {
    for (size_t i = 0; i < g.e.size(); ++i) {
      TDXF_PolyWorkEntity& s = g.e[i];
      if (s.etp == 0) continue;
      s.etp = 0;
      if (results.size() == results.capacity()) results.reserve(results.size() + 100);
      TDXF_PolyWorkSub r;
      r.lay = s.lay;
      r.col = s.col;
      r.ltp = s.ltp;
      r.wid = s.wid;
      r.clf = false;
      r.v = Chain(g, static_cast<int>(i));
      r.n = static_cast<int>(r.v.size());
      results.push_back(std::move(r));
    }
  }
}

void Pw_Sort(TDXFmodel& model) { Pw_Sort(model.dpw1, model.dpw2); }

}  // namespace parvex
