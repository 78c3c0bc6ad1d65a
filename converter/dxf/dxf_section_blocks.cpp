// The BLOCKS section: the blocks of model space and the first paper space
// (empty: their entities are in ENTITIES), one block per further layout
// with that layout's entities, and every block definition.
#include <string>

#include "converter/dxf/dxf_handles.h"
#include "converter/dxf/dxf_section_shared.h"
#include "converter/dxf/dxf_sections.h"
#include "converter/dxf/dxf_writer.h"

namespace parvex {
namespace {

// The common start of BLOCK and ENDBLK: entity type, handle, owner, space
// and layer, then the subclass marker of 2000 and 2007.
void BlockMarker(DxfWriter& w, const char* type, const char* subclass, std::uint32_t handle,
                 std::uint32_t owner, bool paper) {
  const bool modern = w.Ver() != DxfVersion::R12;
  w.Code(0, type);
  w.Handle(5, handle);
  if (modern) {
    w.Handle(330, owner);
    w.Code(100, "AcDbEntity");
  }
  if (paper) w.Int(67, 1);
  w.Code(8, "0");
  if (modern) w.Code(100, subclass);
}

// A whole block: BLOCK, then what `body` writes, then ENDBLK. name is
// already encoded as the file holds it.
template <class Body>
void Block(DxfWriter& w, const DxfHandles::Block& h, std::uint32_t owner, std::string_view name,
           bool paper, Body body) {
  BlockMarker(w, "BLOCK", "AcDbBlockBegin", h.begin, owner, paper);
  w.Raw(2, name);
  w.Int(70, 0);
  w.XYZ(0, 0, 0);
  w.Raw(3, name);
  w.Code(1, "");
  body();
  BlockMarker(w, "ENDBLK", "AcDbBlockEnd", h.end, owner, paper);
}

}  // namespace

void SaveBlocks(const TDXFmodel& m, const DxfHandles& h, DxfWriter& w) {
  w.BeginSection("BLOCKS");
  dxfsec::EntityWriter ew(m, h, w);
  auto nothing = [] {};

  Block(w, h.blocks[0], h.SpaceRecord(0), "*Model_Space", false, nothing);
  Block(w, h.blocks[1], h.SpaceRecord(1), "*Paper_Space", true, nothing);

  // R12 knows one paper space only: a block "*Paper_Space0" would be an
  // orphan that readers drop. Its handles and those of its entities stay
  // used (dxf_handles.h).
  if (m.Ver != DxfVersion::R12) {
    for (int a = 2; a <= m.Ltn; ++a) {
      const std::uint32_t owner = h.SpaceRecord(a);
      Block(w, h.blocks[static_cast<std::size_t>(a)], owner, "*Paper_Space" + std::to_string(a - 2),
            false, [&] { ew.Write(m.Top(), a, owner); });
    }
  }

  for (int j = 0; j < m.deBlockDefN(); ++j) {
    const TDXF_BlockDef& def = m.deBlockDef[static_cast<std::size_t>(j)];
    const std::uint32_t owner = h.DefinitionRecord(j);
    Block(w, h.blocks[h.DefinitionBlock(j)], owner, w.EncodeName(def.nam), false,
          [&] { ew.Write(def.entities, 0, owner); });
  }
  w.EndSection();
}

}  // namespace parvex
