// Placeholder section writers: empty sections, so that the framing and the
// HEADER can be written and tested before the real sections exist.
#include "converter/dxf/dxf_model.h"
#include "converter/dxf/dxf_sections.h"
#include "converter/dxf/dxf_writer.h"

namespace parvex {

void SaveClasses(TDXFmodel& m, DxfWriter& w) {
  if (m.Ver == 0) return;
  w.BeginSection("CLASSES");
  w.EndSection();
}

void SaveTables(TDXFmodel&, DxfWriter& w) {
  w.BeginSection("TABLES");
  w.EndSection();
}

void SaveBlocks(TDXFmodel&, DxfWriter& w) {
  w.BeginSection("BLOCKS");
  w.EndSection();
}

void SaveEntities(TDXFmodel&, DxfWriter& w) {
  w.BeginSection("ENTITIES");
  w.EndSection();
}

void SaveObjects(TDXFmodel& m, DxfWriter& w) {
  if (m.Ver == 0) return;
  w.BeginSection("OBJECTS");
  w.EndSection();
}

}  // namespace parvex
