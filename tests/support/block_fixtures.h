// Drawings with nested blocks and curve groups, for the block tests and the
// samples.
#pragma once

#include <cstdint>

#include "converter/jww/jww_data.h"

namespace parvex::testing {

// Block numbers of MakeNestedBlocksDrawing.
enum NestedBlockNumber : uint32_t {
  kLeafBlock = 1,    // "LEAF" (stored with an "@@SfigorgFlag@@" suffix)
  kMidBlock = 2,     // "MID": inserts LEAF scaled and rotated
  kTopBlock = 3,     // "TOP": inserts MID mirrored and rotated, LEAF scaled unevenly
  kUnusedBlock = 4,  // "UNUSED": never inserted
  kMidAgainBlock = 5,  // a second "MID"
  kBlankBlock = 6,     // a name of blanks only
  kMissingBlock = 99,  // inserted, but no definition has it
};

// A drawing whose block tree goes three levels deep: the drawing inserts
// TOP (scaled 1.5, rotated -90 degrees), LEAF, MID (rotated 180 degrees),
// the second MID, the blank-named block and the missing block 99; TOP
// inserts MID mirrored (x scale -1) and rotated 90 degrees, and LEAF with
// scales 0.5 and 1.5; MID inserts LEAF scaled 2 and rotated 30 degrees.
// Each definition also holds lines of its own. Every layer group has scale
// `scale`.
TJwwData MakeNestedBlocksDrawing(int32_t version = 600, double scale = 1.0);

// Curve groups. At the top level: group 7 is a line, a half circle and a
// line that chain into one polyline; group 8 is two touching lines of
// different colours; a line without group, a grouped line with flag 0x20, a
// grouped elliptic arc and a grouped full circle stay single entities.
// Definition 1 ("CURVES", inserted once at (200, 0)) holds group 9: two
// lines and a quarter arc that chain into one polyline.
TJwwData MakeCurveGroupsDrawing(int32_t version = 600);

// Blocks that insert themselves: A (1) inserts B (2) and B inserts A; C (3)
// inserts itself. The drawing inserts A and C. Each definition holds a line.
TJwwData MakeSelfInsertingBlocksDrawing(int32_t version = 600);

}  // namespace parvex::testing
