// Curve polylines of the JWW/JWS to DXF mapping: which lines and arcs of a
// curve group go to the model's polyline collector instead of being
// written one by one, and the segment each of them becomes.
#pragma once

#include "converter/jww/jww_records.h"

namespace parvex {

// One collector segment: start and end in the segment's own direction and
// the signed sweep in radians (0 for a line).
struct CurveSegment {
  double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
  double sweep = 0;
};

// With curve polylines on: a line of a curve group (lGroup != 0) that is
// neither flagged 0x20 nor 0x2000.
bool JoinsCurvePolyline(const TEntJwwLine& e, bool curveToPolyline);
// With curve polylines on: a circular arc of a curve group that is neither
// flagged 0x20 nor 0x40, not a full circle, and sweeps more than nothing
// and less than a whole turn.
bool JoinsCurvePolyline(const TEntJwwEnko& e, bool curveToPolyline);

CurveSegment SegmentOf(const TEntJwwLine& e);
// Arc end points: centre + radius (cos t, sin t) turned by the tilt, at
// the start angle and at start + sweep.
CurveSegment SegmentOf(const TEntJwwEnko& e);

// The collector's layer number of an entity (group * 16 + layer).
int CurveLayer(const TEntJwwAttr& att);

}  // namespace parvex
