// The curve-polyline joiner. Lines and circular arcs that the drawing marks
// as one curve group are collected segment by segment (Pw_AddEnt) and then
// chained end to end into polylines (Pw_Sort). The work lists live in the
// model (dpw1: the groups, dpw2: the joined polylines); TDXFmodel::Pw_Init
// empties both.
#pragma once

#include <vector>

#include "converter/dxf/dxf_model.h"

namespace parvex {

// Two end points are the same vertex when both coordinates differ by at
// most this much.
inline constexpr double kPwMatchTolerance = 1e-8;

// Position of the group whose number is n, -1 if none.
int Pw_GetIdx(const std::vector<TDXF_PolyWorkMain>& groups, int n);
int Pw_GetIdx(const TDXFmodel& model, int n);

// Adds one segment to group n (a new group is appended when n is new).
// tp is the segment kind (1 line, 2 arc; never 0), la/co/lt/wd its
// attributes, (pa1, pa2) its start and (pa3, pa4) its end in the segment's
// own direction, pa5 the signed sweep of an arc in radians (0 for a line),
// stored reduced by whole turns toward zero (7 -> 7 - 2pi, -7 -> -(7 - 2pi)).
void Pw_AddEnt(std::vector<TDXF_PolyWorkMain>& groups, int n, int no, int tp, int la, int co,
               int lt, int wd, double pa1, double pa2, double pa3, double pa4, double pa5);
void Pw_AddEnt(TDXFmodel& model, int n, int no, int tp, int la, int co, int lt, int wd,
               double pa1, double pa2, double pa3, double pa4, double pa5);

// Replaces `results` by the polylines chained from the segments of each
// group. Chaining is greedy: each still free segment, in group order,
// starts a polyline in its own direction, and the free segments of the same
// group with equal layer, colour, line type and lineweight are attached at
// either end as they are met. A vertex's angle `a` is the included angle of
// the arc to the next vertex (negated for a segment used backwards); a
// chain whose ends meet keeps both end vertices and is not flagged closed.
// Marks taken segments in `groups` (etp = 0).
void Pw_Sort(std::vector<TDXF_PolyWorkMain>& groups, std::vector<TDXF_PolyWorkSub>& results);
void Pw_Sort(TDXFmodel& model);

}  // namespace parvex
