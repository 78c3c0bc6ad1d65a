// Dimensions as DIMENSION entities. Jw_cad keeps a dimension either as a
// dimension record (a line and a text, in SXF mode also extension lines and
// end points) or as loose lines, arcs, points and texts that share one
// group number. With DimensionAsEntity on, the mapping groups the entities,
// recognises which groups are dimensions, writes each recognised group's
// entities into an anonymous block "*D" + number and adds a DIMENSION that
// names that block; the entity pass then skips what a block took.
//
// This header holds the grouping and the recognition as pure functions of
// the drawing; the mapper's dimension pass (DxfOutDimBlock, DxfOutDim and
// DxfOutDimEnt in mapping_dimensions.cpp) places and writes what they find.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "converter/dxf/dxf_records.h"
#include "converter/jww/jww_records.h"
#include "converter/mapping/jw_drawing_view.h"

namespace parvex {

// Entities that may form one dimension: those of one level (the top level
// or one block definition) that share a group number, or one SXF-mode
// dimension record alone.
struct DimensionGroup {
  std::uint32_t key = 0;     // the shared group number; 0 for an SXF-mode record
  int def = -1;              // index into the drawing's block definitions; -1 top level
  std::vector<int> members;  // entries of that level's order list, in order
};

// The groups of a drawing, in the order they were opened: the elements of
// every block definition the block tree reached (definition by definition),
// then the top level. Lines, arcs, points, solids, texts and non-SXF
// dimension records join the group of their group number (0: none); texts
// without extent and image texts never join; an SXF-mode dimension record
// is a group of its own; block inserts are never grouped. A group number
// belongs to the level that used it first: an entity of another level with
// that number stays out of every group. JWW drawings and JWS shapes are
// grouped alike.
std::vector<DimensionGroup> GroupDimensionMembers(const JwDrawingView& d);

enum class DimensionKind {
  SxfRecord,  // linear, from an SXF-mode dimension record
  Diameter,
  Radius,
  Angular,  // three points: centre and the ends of the dimension arc
  Linear,
};

struct DimensionSegment {
  double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
};

// What recognition found in a group, in drawing coordinates.
struct RecognisedDimension {
  DimensionKind kind = DimensionKind::Linear;
  // Layer and pens of the DIMENSION: those of the dimension record (its
  // layer, the pens of its line) when it supplied the dimension line, else
  // those of the dimension line or arc.
  TEntJwwAttr attr;
  const TEntJwwMoji* text = nullptr;  // the dimension text (in the drawing)
  // The dimension line (linear, diameter, radius: for a radius the end on
  // the arc second); angular: the start and end points of the arc.
  DimensionSegment line;
  // Extension lines (linear and angular), their first point at the measured
  // place (SXF records: nearer the reference point; angular: nearer the
  // centre; loose linear ones as drawn). Absent when the group has none.
  std::optional<DimensionSegment> ext1, ext2;
  // Angular only: centre, radius, start and end angle of the arc (degrees,
  // counter-clockwise from start to end).
  double cx = 0, cy = 0, r = 0, sa = 0, ea = 0;
};

// The first of the tests that accepts the group (SXF-mode record,
// diameter, radius, angular, linear), or nothing when none does. `list` is
// the level the group's members index.
std::optional<RecognisedDimension> RecogniseDimension(const DimensionGroup& g,
                                                      const JwEntityList& list);

// The DIMENSION record of a recognised dimension before placement: its
// points in drawing coordinates moved by (dx, dy), type, attachment,
// angles, dimension style ("ISO-25", the file's own) and text. Block and
// attributes are left for the caller. Nothing when a value is not finite.
std::optional<TDXF_Dimension> DimensionEntity(const RecognisedDimension& d, double dx, double dy);

}  // namespace parvex
