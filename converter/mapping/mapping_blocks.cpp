// Block definitions and inserts: which definitions the DXF file gets, under
// which names, and the INSERT entities at the top level and inside
// definitions.
#include "converter/mapping/mapping_blocks.h"

#include <cmath>
#include <numbers>
#include <utility>

#include "common/value_helpers.h"
#include "converter/dxf/dxf_model.h"
#include "converter/mapping/jw_dxf_mapper.h"

namespace parvex {

std::u16string BlockDefName(std::u16string_view strName) {
  const size_t cut = strName.find(kBlockNameMarker);
  return std::u16string(strName.substr(0, cut));
}

std::vector<std::vector<bool>> FindCyclicInserts(const std::vector<std::vector<int>>& members,
                                                 const std::vector<int>& roots) {
  const int n = static_cast<int>(members.size());
  std::vector<std::vector<bool>> cut(members.size());
  for (size_t d = 0; d < members.size(); ++d) cut[d].assign(members[d].size(), false);

  enum : unsigned char { kNew, kOnPath, kDone };
  std::vector<unsigned char> state(members.size(), kNew);
  // (definition, next member to follow)
  std::vector<std::pair<int, size_t>> path;
  auto walkFrom = [&](int root) {
    if (root < 0 || root >= n || state[root] != kNew) return;
    state[root] = kOnPath;
    path.emplace_back(root, 0);
    while (!path.empty()) {
      const int d = path.back().first;
      const size_t k = path.back().second;
      if (k >= members[d].size()) {
        state[d] = kDone;
        path.pop_back();
        continue;
      }
      ++path.back().second;
      const int t = members[d][k];
      if (t < 0 || t >= n) continue;
      if (state[t] == kOnPath) {
        cut[d][k] = true;  // this insert would lead back into its own path
      } else if (state[t] == kNew) {
        state[t] = kOnPath;
        path.emplace_back(t, 0);
      }
    }
  };
  for (int r : roots) walkFrom(r);
  for (int d = 0; d < n; ++d) walkFrom(d);
  return cut;
}

int JwDxfMapper::WrittenBlock(uint32_t number) const {
  const auto it = blockOfNumber_.find(number);
  return it == blockOfNumber_.end() ? -1 : it->second;
}

void JwDxfMapper::DxfOutBlockDefs() {
  TDXFmodel& m = *m_;
  const auto defs = d_.blockDefs;
  blockIndex_.assign(defs.size(), -1);
  blockOfNumber_.clear();
  cutInserts_.clear();

  // Every definition the block tree reached, in drawing order, empty for
  // now: they are filled after the top-level entities.
  for (size_t k = 0; k < defs.size(); ++k) {
    if (!defs[k].ref_flag) continue;
    const int bn = m.AddBlockDef(BlockDefName(defs[k].strName), static_cast<int>(defs[k].nNumber));
    blockIndex_[k] = bn;
    // An insert names the first definition of its number, as the block
    // tree does. Looking it up here rather than among all model blocks
    // keeps it from landing on a block the mapping made for itself.
    if (bn >= 0) blockOfNumber_.try_emplace(defs[k].nNumber, bn);
  }

  // Leave out the nested inserts that would make a block insert itself.
  const int n = m.deBlockDefN();
  std::vector<std::vector<int>> members(static_cast<size_t>(n));
  std::vector<std::vector<const TEntJwwBlock*>> records(static_cast<size_t>(n));
  for (size_t k = 0; k < defs.size(); ++k) {
    const int bn = blockIndex_[k];
    if (bn < 0 || bn >= n) continue;
    const TEntJwwBlockDef& def = defs[k];
    for (const TEntJwwNo& no : def.mNo) {
      if (no.EntType != kJwwBlock || no.EntNo < 0 ||
          static_cast<size_t>(no.EntNo) >= def.mBlock.size()) {
        continue;
      }
      const TEntJwwBlock& b = def.mBlock[static_cast<size_t>(no.EntNo)];
      members[bn].push_back(WrittenBlock(b.nNumber));
      records[bn].push_back(&b);
    }
  }
  std::vector<int> roots;
  for (const TEntJwwNo& no : d_.top.no) {
    if (no.EntType == kJwwBlock && no.EntNo >= 0 &&
        static_cast<size_t>(no.EntNo) < d_.top.block.size()) {
      roots.push_back(WrittenBlock(d_.top.block[static_cast<size_t>(no.EntNo)].nNumber));
    }
  }
  const auto cut = FindCyclicInserts(members, roots);
  for (size_t d = 0; d < cut.size(); ++d) {
    for (size_t k = 0; k < cut[d].size(); ++k) {
      if (cut[d][k]) cutInserts_.insert(records[d][k]);
    }
  }
}

int JwDxfMapper::BlockDefIndex(size_t k) const {
  return k < blockIndex_.size() ? blockIndex_[k] : -1;
}

void JwDxfMapper::DxfOutBlock(const TEntJwwBlock& e, int bn, double dx, double dy) {
  if (!Finite({e.DPKijunTen_x, e.DPKijunTen_y, e.dBairitsuX, e.dBairitsuY, e.radKaitenKaku}))
    return;
  if (cutInserts_.count(&e) != 0) return;
  const int n = WrittenBlock(e.nNumber);
  if (n < 0) return;
  const DxfAttributes a = AttributeRule(e.att);
  // Inserts report nothing to the paper-space viewports: the block tree
  // pass does that for them with their contents.
  const Place p =
      Placement(e.att, bn, dx, dy, [&] { return ClipTen(e.DPKijunTen_x, e.DPKijunTen_y); });
  const double ox = p.X(e.DPKijunTen_x + dx);
  const double oy = p.Y(e.DPKijunTen_y + dy);
  if (!Finite({ox, oy})) return;
  // Degrees, not brought into a range: -90 stays -90. The scale factors
  // are as drawn where the block's contents carry the placement scale.
  const double pa = e.radKaitenKaku * 180.0 / std::numbers::pi;
  m_->AddBlock(bn, {.attr = p.In(a), .bln = n, .x = ox, .y = oy, .a = pa,
                    .bx = e.dBairitsuX * p.blockScale, .by = e.dBairitsuY * p.blockScale});
}

}  // namespace parvex
