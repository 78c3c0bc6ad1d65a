// The curve-polyline joiner, a unit with its own work lists. Lines and
// circular arcs that the drawing marks as one curve group are collected
// segment by segment (Pw_AddEnt) and then chained end to end into
// polylines (Pw_Sort); the mapping turns every result into a polyline of
// the DXF model and empties the joiner (Pw_Init) for the next container.
#pragma once

#include <vector>

#include "converter/dxf/dxf_records.h"

namespace parvex {

// Two end points are the same vertex when both coordinates differ by at
// most this much.
inline constexpr double kPwMatchTolerance = 1e-8;

struct TDXF_PolyWorkEntity {
  int eno = 0;  // the caller's entity number (kept, not used)
  int etp = 0;  // 1 line, 2 arc (never 0 when added); 0 = already taken while sorting
  int lay = 0, col = 0, ltp = 0, wid = 0;  // compared for equality
  double x1 = 0, y1 = 0, x2 = 0, y2 = 0;   // start and end in the segment's own direction
  double da = 0;                           // signed included angle (radians), 0 for a line
};

struct TDXF_PolyWorkMain {
  int no = 0;  // curve-group number
  std::vector<TDXF_PolyWorkEntity> e;
};

struct TDXF_PolyWorkSub {
  int lay = 0, col = 0, ltp = 0, wid = 0;
  bool clf = false;
  std::vector<TDXF_PLinePoint> v;
};

class DxfCurveJoiner {
 public:
  // Empties the groups and the results.
  void Pw_Init();
  // Position of the group whose number is n, -1 if none.
  int Pw_GetIdx(int n) const;
  // Adds one segment to group n (a new group is appended when n is new).
  // Its angle is stored reduced by whole turns toward zero (7 -> 7 - 2pi,
  // -7 -> -(7 - 2pi)). A segment with a coordinate or angle that is not a
  // finite number is dropped.
  void Pw_AddEnt(int n, TDXF_PolyWorkEntity segment);
  // Replaces the results by the polylines chained from the segments of
  // each group. Chaining is greedy: each still free segment, in group
  // order, starts a polyline in its own direction, and the free segments of
  // the same group with equal layer, colour, line type and lineweight are
  // attached at either end as they are met. A vertex's angle `a` is the
  // included angle of the arc to the next vertex (negated for a segment
  // used backwards); a chain whose ends meet keeps both end vertices and is
  // not flagged closed. Marks the segments taken (etp = 0).
  void Pw_Sort();

  const std::vector<TDXF_PolyWorkMain>& Groups() const { return groups_; }
  const std::vector<TDXF_PolyWorkSub>& Results() const { return results_; }

 private:
  std::vector<TDXF_PolyWorkMain> groups_;
  std::vector<TDXF_PolyWorkSub> results_;
};

}  // namespace parvex
