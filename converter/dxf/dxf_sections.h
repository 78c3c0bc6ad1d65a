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
// Handles. When SaveClasses is called, m.DXFHnd is the first running handle
// (m.Ltn + 6) and m.CountHandles() has already given every image file entry
// (m.deFList[i].hnd) its IMAGEDEF handle. Each object takes the next running
// handle with m.NewHandle(), in writing order; a record that is selected but
// not written still takes the handles it would have used, so the numbers
// stay in step with CountHandles. Fixed handles: 1 the plot-style
// placeholder, 2 layout "Model", i + 2 layout i (1..Ltn), Ltn + 3 the root
// dictionary, Ltn + 4 the image dictionary, Ltn + 5 the raster variables.
//
// Owners. SaveTables sets m.hn_blk to the handle of the BLOCK_RECORD table
// object; the record of model space is then hn_blk + 1, of layout i
// hn_blk + i + 1, of block definition j hn_blk + Ltn + 2 + j.
//
// Failures: a writer may throw (std::exception) on an internal error;
// SaveDXF catches it and fails the write. Output errors need no checks
// here: the sink remembers them.
#pragma once

namespace parvex {

class TDXFmodel;
class DxfWriter;

void SaveClasses(TDXFmodel& m, DxfWriter& w);
void SaveTables(TDXFmodel& m, DxfWriter& w);
void SaveBlocks(TDXFmodel& m, DxfWriter& w);
void SaveEntities(TDXFmodel& m, DxfWriter& w);
void SaveObjects(TDXFmodel& m, DxfWriter& w);

}  // namespace parvex
