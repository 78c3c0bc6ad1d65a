#include "converter/dxf/dxf_frames.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "common/geometry.h"
#include "common/value_helpers.h"

namespace parvex {

namespace {

constexpr double kCornerTolerance = 1e-8;

struct Corner {
  double x = 0, y = 0;
};

bool Meets(Corner a, double x, double y) {
  return std::fabs(a.x - x) <= kCornerTolerance && std::fabs(a.y - y) <= kCornerTolerance;
}

// The other end of candidate c when `from` meets one of its ends.
bool OtherEnd(const TJwZumenWakuWork& c, Corner from, Corner& other) {
  if (Meets(from, c.x1, c.y1)) {
    other = {c.x2, c.y2};
    return true;
  }
  if (Meets(from, c.x2, c.y2)) {
    other = {c.x1, c.y1};
    return true;
  }
  return false;
}

bool Enters(const TJwZumenWakuWork& f, double x1, double y1, double x2, double y2) {
  return ClipSegment(f.x1, f.y1, f.x2, f.y2, x1, y1, x2, y2).Code != 2;
}

}  // namespace

void DxfFrameFinder::InitZwhv(bool frames) {
  horizontal_.clear();
  vertical_.clear();
  if (frames) frames_.clear();
}

void DxfFrameFinder::Zw_AddH(double x1, double y1, double x2, double y2) {
  if (Finite({x1, y1, x2, y2})) horizontal_.push_back({0, x1, y1, x2, y2});
}

void DxfFrameFinder::Zw_AddV(double x1, double y1, double x2, double y2) {
  if (Finite({x1, y1, x2, y2})) vertical_.push_back({0, x1, y1, x2, y2});
}

void DxfFrameFinder::Zw_AddW(int n, double x1, double x2, double y1, double y2) {
  frames_.push_back({n, std::min(x1, x2), std::min(y1, y2), std::max(x1, x2), std::max(y1, y2)});
}

void DxfFrameFinder::Zw_SearchBox() {
  std::size_t work = 0;
  // Counts one comparison; false once the search has done its share.
  auto step = [&work] { return ++work <= kFrameSearchWork; };
  for (TJwZumenWakuWork& h : horizontal_) {
    if (h.no != 0) continue;
    const Corner hEnd{h.x2, h.y2};
    const Corner hStart{h.x1, h.y1};
    bool closed = false;
    for (TJwZumenWakuWork& v : vertical_) {
      if (!step()) return;
      Corner p;
      if (v.no != 0 || !OtherEnd(v, hEnd, p)) continue;
      for (TJwZumenWakuWork& k : horizontal_) {
        if (!step()) return;
        Corner q;
        if (&k == &h || k.no != 0 || !OtherEnd(k, p, q)) continue;
        for (TJwZumenWakuWork& l : vertical_) {
          if (!step()) return;
          Corner r;
          if (&l == &v || l.no != 0 || !OtherEnd(l, q, r)) continue;
          if (!Meets(r, hStart.x, hStart.y)) continue;
          Zw_AddW(0, h.x1, h.x2, v.y1, v.y2);
          const int number = static_cast<int>(frames_.size());
          h.no = v.no = k.no = l.no = number;
          closed = true;
          break;
        }
        if (closed) break;
      }
      if (closed) break;
    }
  }
}

void DxfFrameFinder::Zw_SortN(DxfVersion ver) {
  if (ver == DxfVersion::R12 && frames_.size() > 1) frames_.resize(1);
  auto byNumber = [](const TJwZumenWakuWork& a, const TJwZumenWakuWork& b) { return a.no < b.no; };
  std::stable_sort(frames_.begin(), frames_.end(), byNumber);
  if (frames_.size() > kMaxFrames) frames_.resize(kMaxFrames);
}

int DxfFrameFinder::Zw_ClipTen(double px, double py) const {
  for (std::size_t i = 0; i < frames_.size(); ++i) {
    const TJwZumenWakuWork& f = frames_[i];
    if (PointInRect(f.x1, f.y1, f.x2, f.y2, px, py) == 0) return static_cast<int>(i);
  }
  return -1;
}

int DxfFrameFinder::Zw_ClipLine(double px1, double py1, double px2, double py2) const {
  for (std::size_t i = 0; i < frames_.size(); ++i) {
    if (Enters(frames_[i], px1, py1, px2, py2)) return static_cast<int>(i);
  }
  return -1;
}

int DxfFrameFinder::Zw_ClipSquare(double px1, double py1, double px2, double py2, double px3,
                                  double py3, double px4, double py4) const {
  for (std::size_t i = 0; i < frames_.size(); ++i) {
    const TJwZumenWakuWork& f = frames_[i];
    if (Enters(f, px1, py1, px2, py2) || Enters(f, px2, py2, px3, py3) ||
        Enters(f, px3, py3, px4, py4) || Enters(f, px4, py4, px1, py1)) {
      return static_cast<int>(i);
    }
  }
  return -1;
}

int DxfFrameFinder::Zw_ClipArc(double px, double py, double pr, double ph, double ps, double pd,
                               double pk) const {
  constexpr double kDeg = std::numbers::pi / 180;
  const bool whole = std::fabs(pd) <= 1e-10 || std::fabs(pd - 360) <= 1e-10;
  // The five quarter points the chords join.
  Point2 q[5];
  for (int k = 0; k <= 4; ++k) {
    const double t = whole ? 90.0 * k : ps + k * pd / 4;
    q[k] = EllipsePoint(px, py, pr, ph, pk * kDeg, t * kDeg);
  }
  for (std::size_t i = 0; i < frames_.size(); ++i) {
    const TJwZumenWakuWork& f = frames_[i];
    if (whole && PointInRect(f.x1, f.y1, f.x2, f.y2, px, py) == 0) return static_cast<int>(i);
    for (int k = 0; k < 4; ++k) {
      if (Enters(f, q[k].X, q[k].Y, q[k + 1].X, q[k + 1].Y)) return static_cast<int>(i);
    }
  }
  return -1;
}

}  // namespace parvex
