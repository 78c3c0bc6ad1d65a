#include "converter/dxf/dxf_handles.h"

#include <algorithm>
#include <cstddef>

#include "converter/dxf/dxf_model.h"
#include "converter/dxf/dxf_sections.h"

namespace parvex {
namespace {

// Handles one selected record takes in a file of version ver.
template <class R>
std::uint64_t HandlesOf(const R&, DxfVersion) {
  return 1;
}
std::uint64_t HandlesOf(const TDXF_Image&, DxfVersion) { return 2; }
std::uint64_t HandlesOf(const TDXF_PLine& r, DxfVersion) { return r.v.size() + 2; }
std::uint64_t HandlesOf(const TDXF_Ellipse& r, DxfVersion ver) {
  if (ver != DxfVersion::R12) return 1;
  return static_cast<std::uint64_t>(R12EllipseVertices(r.da)) + 2;
}

class Numbering {
 public:
  Numbering(std::uint64_t first, DxfVersion ver) : next_(first), ver_(ver) {}
  // The first of n handles in a row.
  std::uint32_t Take(std::uint64_t n = 1) {
    const std::uint64_t h = next_;
    next_ += n;
    return static_cast<std::uint32_t>(h);
  }
  std::uint64_t Next() const { return next_; }

  // Gives the records of c that run `run` writes their handles; with
  // `clearOthers`, records no run writes get 0.
  void Entities(DxfEntities& c, int run, int ltn, bool clearOthers) {
    c.Visit([&](auto& r) {
      const int w = WritingRun(c, r.attr.space, ltn);
      if (w == run) {
        r.handle = Take(HandlesOf(r, ver_));
      } else if (w < 0 && clearOthers) {
        r.handle = 0;
      }
    });
  }

 private:
  std::uint64_t next_;
  DxfVersion ver_;
};

}  // namespace

int WritingRun(const DxfEntities& c, int space, int ltn) {
  if (space <= 1) return 0;
  if (!c.IsBlock() && space <= ltn) return space;
  return -1;
}

Result<DxfHandles> AssignHandles(TDXFmodel& m) {
  DxfHandles h;
  const int ltn = m.Ltn;
  h.ltn = static_cast<std::uint32_t>(ltn);
  const std::uint64_t layouts = static_cast<std::uint64_t>(std::max(ltn - 1, 0));
  const std::uint64_t definitions = m.deBlockDef.size();
  Numbering n(static_cast<std::uint64_t>(ltn) + 6, m.Ver);

  if (m.Ver != DxfVersion::R12) {
    h.vport.table = n.Take(1 + kDxfActiveVports);
    h.ltype.table = n.Take(1 + std::size(kDxfFixedLtypes) + m.ltps.size());
    h.layer.table = n.Take(1 + m.lays.size());
    h.style.table = n.Take(1 + m.msts.size());
    h.view.table = n.Take();
    h.ucs.table = n.Take();
    h.appid.table = n.Take(1 + std::size(kDxfAppIds));
    h.dimstyle.table = n.Take(1 + kDxfDimStyles);
    // Model space, the first paper space, the layouts, the definitions.
    h.blockRecord.table = n.Take(1 + 2 + layouts + definitions);
  }

  h.blocks.resize(2 + layouts + definitions);
  for (int b = 0; b < 2; ++b) {
    h.blocks[static_cast<std::size_t>(b)].begin = n.Take();
    h.blocks[static_cast<std::size_t>(b)].end = n.Take();
  }
  for (int a = 2; a <= ltn; ++a) {
    DxfHandles::Block& b = h.blocks[static_cast<std::size_t>(a)];
    b.begin = n.Take();
    n.Entities(m.Top(), a, ltn, false);
    b.end = n.Take();
  }
  for (std::size_t j = 0; j < m.deBlockDef.size(); ++j) {
    DxfHandles::Block& b = h.blocks[h.DefinitionBlock(static_cast<int>(j))];
    b.begin = n.Take();
    n.Entities(m.deBlockDef[j].entities, 0, ltn, true);
    b.end = n.Take();
  }
  n.Entities(m.Top(), 0, ltn, true);

  if (m.Ver != DxfVersion::R12) {
    h.colours = n.Take();
    h.groups = n.Take();
    h.layouts = n.Take();
    h.plotStyles = n.Take();
  }
  for (TDXF_FileNameList& f : m.deFList) f.hnd = m.Ver != DxfVersion::R12 ? n.Take() : 0;

  // Handles are written as 32-bit values.
  if (n.Next() > 0x7FFFFFFFu)
    return Fail("the drawing needs more DXF handles than a file can hold");
  h.seed = static_cast<std::uint32_t>(n.Next());
  return h;
}

}  // namespace parvex
