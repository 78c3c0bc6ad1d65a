// The BLOCKS section: the blocks of model space and the first paper space
// (empty: their entities are in ENTITIES), one block per further layout
// with that layout's entities, and every block definition.
#include <string>

#include "converter/dxf/dxf_section_shared.h"
#include "converter/dxf/dxf_sections.h"
#include "converter/dxf/dxf_writer.h"

namespace parvex {
namespace {

// The common start of BLOCK and ENDBLK: entity type, handle, owner, space
// and layer, then the subclass marker of 2000 and 2007.
void BlockMarker(TDXFmodel& m, DxfWriter& w, const char* type, const char* subclass, int owner,
                 bool paper) {
  const bool modern = m.Ver != 0;
  w.Code(0, type);
  w.Handle(5, static_cast<std::uint32_t>(m.NewHandle()));
  if (modern) {
    w.Handle(330, static_cast<std::uint32_t>(owner));
    w.Code(100, "AcDbEntity");
  }
  if (paper) w.Int(67, 1);
  w.Code(8, "0");
  if (modern) w.Code(100, subclass);
}

// name is already encoded as the file holds it.
void BlockBegin(TDXFmodel& m, DxfWriter& w, int owner, std::string_view name, bool paper) {
  BlockMarker(m, w, "BLOCK", "AcDbBlockBegin", owner, paper);
  w.Raw(2, name);
  w.Int(70, 0);
  w.XYZ(0, 0, 0);
  w.Raw(3, name);
  w.Code(1, "");
}

void BlockEnd(TDXFmodel& m, DxfWriter& w, int owner, bool paper) {
  BlockMarker(m, w, "ENDBLK", "AcDbBlockEnd", owner, paper);
}

}  // namespace

void SaveBlocks(TDXFmodel& m, DxfWriter& w) {
  // IMAGE handles are given while writing; clear those of an earlier write
  // so that only images written now get reactors.
  for (TDXF_Image& r : m.deImag) r.hnd = 0;
  for (TDXF_BlockDef& b : m.deBlockDef) {
    for (TDXF_Image& r : b.dmImag) r.hnd = 0;
  }

  w.BeginSection("BLOCKS");
  dxfsec::EntityWriter ew(m, w);

  BlockBegin(m, w, m.hn_blk + 1, "*Model_Space", false);
  BlockEnd(m, w, m.hn_blk + 1, false);
  BlockBegin(m, w, m.hn_blk + 2, "*Paper_Space", true);
  BlockEnd(m, w, m.hn_blk + 2, true);

  dxfsec::EntityLists top = dxfsec::TopLevel(m);
  for (int a = 2; a <= m.Ltn; ++a) {
    const int owner = m.hn_blk + a + 1;
    if (m.Ver == 0) {
      // R12 knows one paper space only: a block "*Paper_Space0" would be
      // an orphan that readers drop. Its handles and those of its entities
      // (which R12 does not write) stay used, so the numbering is the same
      // in every version.
      m.DXFHnd += 2;
      for (const TDXF_EntNo& e : m.deNo) ew.Write(a, owner, top, e);
      continue;
    }
    BlockBegin(m, w, owner, "*Paper_Space" + std::to_string(a - 2), false);
    for (const TDXF_EntNo& e : m.deNo) ew.Write(a, owner, top, e);
    BlockEnd(m, w, owner, false);
  }

  for (int j = 0; j < m.deBlockDefN(); ++j) {
    TDXF_BlockDef& def = m.deBlockDef[static_cast<std::size_t>(j)];
    const int owner = m.hn_blk + m.Ltn + 2 + j;
    BlockBegin(m, w, owner, w.EncodeName(def.nam), false);
    dxfsec::EntityLists lists = dxfsec::OfBlock(def);
    for (const TDXF_EntNo& e : def.dmNo) ew.Write(0, owner, lists, e);
    BlockEnd(m, w, owner, false);
  }
  w.EndSection();
}

}  // namespace parvex
