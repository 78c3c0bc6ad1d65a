// The BLOCKS section: the blocks of model space and the first paper space
// (empty: their entities are in ENTITIES), one block per further layout
// with that layout's entities, and every block definition.
#include <memory>
#include <string>
#include <vector>

#include "converter/dxf/dxf_handles.h"
#include "converter/dxf/dxf_parallel_write.h"
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

// The start of a block up to its entities; name is already encoded as the
// file holds it.
void BlockBegin(DxfWriter& w, const DxfHandles::Block& h, std::uint32_t owner,
                std::string_view name, bool paper) {
  BlockMarker(w, "BLOCK", "AcDbBlockBegin", h.begin, owner, paper);
  w.Raw(2, name);
  w.Int(70, 0);
  w.XYZ(0, 0, 0);
  w.Raw(3, name);
  w.Code(1, "");
}

void BlockEnd(DxfWriter& w, const DxfHandles::Block& h, std::uint32_t owner, bool paper) {
  BlockMarker(w, "ENDBLK", "AcDbBlockEnd", h.end, owner, paper);
}

// A block with entities: the records of `entities` that writing run `run`
// selects, owned by `owner`.
struct BlockUnit {
  const DxfHandles::Block* handles;
  std::uint32_t owner;
  std::string name;
  const DxfEntities* entities;
  int run;
};

}  // namespace

void SaveBlocks(const TDXFmodel& m, const DxfHandles& h, DxfWriter& w) {
  w.BeginSection("BLOCKS");
  for (int s = 0; s < 2; ++s) {
    const DxfHandles::Block& b = h.blocks[static_cast<std::size_t>(s)];
    BlockBegin(w, b, h.SpaceRecord(s), s == 0 ? "*Model_Space" : "*Paper_Space", s == 1);
    BlockEnd(w, b, h.SpaceRecord(s), s == 1);
  }

  std::vector<BlockUnit> units;
  // R12 knows one paper space only: a block "*Paper_Space0" would be an
  // orphan that readers drop. Its handles and those of its entities stay
  // used (dxf_handles.h).
  if (m.Ver != DxfVersion::R12) {
    for (int a = 2; a <= m.Ltn; ++a) {
      units.push_back({&h.blocks[static_cast<std::size_t>(a)], h.SpaceRecord(a),
                       "*Paper_Space" + std::to_string(a - 2), &m.Top(), a});
    }
  }
  for (int j = 0; j < m.deBlockDefN(); ++j) {
    const TDXF_BlockDef& def = m.deBlockDef[static_cast<std::size_t>(j)];
    units.push_back({&h.blocks[h.DefinitionBlock(j)], h.DefinitionRecord(j),
                     w.EncodeName(def.nam), &def.entities, 0});
  }

  std::vector<std::size_t> entries;
  for (const BlockUnit& u : units) entries.push_back(u.entities->size());
  const auto chunks = SplitIntoChunks(entries, kDxfChunkEntries);
  WriteChunksInOrder(w, chunks.size(), [&](DxfWriter& cw) -> DxfChunkFormatter {
    auto ew = std::make_shared<dxfsec::EntityWriter>(m, h, cw);
    return [ew, &cw, &units, &chunks](std::size_t i) {
      for (const DxfEntryRun& run : chunks[i]) {
        const BlockUnit& u = units[run.unit];
        if (run.head) BlockBegin(cw, *u.handles, u.owner, u.name, false);
        ew->Write(*u.entities, u.run, u.owner, run.first, run.last);
        if (run.tail) BlockEnd(cw, *u.handles, u.owner, false);
      }
    };
  });
  w.EndSection();
}

}  // namespace parvex
