// The section writers that TDXFmodel::SaveDXF calls after the file comment
// and the HEADER, in this order: SaveClasses, SaveTables, SaveBlocks,
// SaveEntities, SaveObjects. The framing writes the comment, the HEADER and
// the closing "0 EOF" itself.
//
// Each function writes its whole section through w, including "0 SECTION",
// "2 <name>" (DxfWriter::BeginSection) and "0 ENDSEC" (EndSection), and
// writes nothing at all for a version that has no such section (CLASSES and
// OBJECTS are 2000/2007 only). The output version is m.Ver (= w.Ver()).
//
// Handles come from h, which AssignHandles (dxf_handles.h) made from the
// finished model, and from the records it numbered; the writers only read
// the model.
//
// Failures: output errors need no checks here: the sink remembers the
// first and SaveDXF reports it. Running out of memory raises std::bad_alloc,
// which the conversion run turns into its reason; the temporary file goes.
#pragma once

#include <cstddef>

#include "common/value_helpers.h"

namespace parvex {

class TDXFmodel;
class DxfWriter;
struct DxfHandles;

// Records of TABLES that every file holds besides the model's tables: the
// viewport "*Active", the line types ByBlock and ByLayer (2000 and 2007),
// the registered applications and two dimension styles.
inline constexpr std::size_t kDxfActiveVports = 1;
inline constexpr const char* kDxfFixedLtypes[] = {"ByBlock", "ByLayer"};
inline constexpr const char16_t* kDxfAppIds[] = {
    u"ACAD",           u"ACAD_PSEXT",         u"AcadAnnoPO",
    u"AcadAnnotative", u"ACAD_DSTYLE_DIMJAG", u"ACAD_DSTYLE_DIMTALN",
    u"ACAD_MLEADERVER"};
inline constexpr std::size_t kDxfDimStyles = 2;

// R12 has no ELLIPSE: an ellipse is written as a POLYLINE through this many
// points of it, every 5 degrees of a whole one (closed), 72 steps of an arc
// with both ends. Its vertices and SEQEND take handles like any polyline's.
inline int R12EllipseVertices(double sweep) {
  return sweep <= kTolerance14 && sweep >= -kTolerance14 ? 72 : 73;
}

void SaveClasses(const TDXFmodel& m, DxfWriter& w);
void SaveTables(const TDXFmodel& m, const DxfHandles& h, DxfWriter& w);
void SaveBlocks(const TDXFmodel& m, const DxfHandles& h, DxfWriter& w);
void SaveEntities(const TDXFmodel& m, const DxfHandles& h, DxfWriter& w);
void SaveObjects(const TDXFmodel& m, const DxfHandles& h, DxfWriter& w);

}  // namespace parvex
