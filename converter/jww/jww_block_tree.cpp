// Expansion of nested block insertions into the flat block tree.
#include <cmath>
#include <unordered_map>

#include "converter/jww/jww_data.h"

namespace parvex {

void JwwEntityModel::MakeBlockTree() {
  EntBlockTree.clear();
  for (TEntJwwBlockDef& d : EntBlockDef) {
    d.ref_flag = false;
    d.ref_no = -1;
  }
  if (EntBlock.empty()) return;

  // First definition of each number (the lowest index wins).
  std::unordered_map<uint32_t, int32_t> defOfNumber;
  defOfNumber.reserve(EntBlockDef.size());
  for (size_t i = 0; i < EntBlockDef.size(); ++i)
    defOfNumber.try_emplace(EntBlockDef[i].nNumber, static_cast<int32_t>(i));

  auto findDef = [&](uint32_t number) -> int32_t {
    auto it = defOfNumber.find(number);
    return it == defOfNumber.end() ? -1 : it->second;
  };
  auto bind = [&](TEntJwwBlockTree& node) {
    node.defno = findDef(node.no);
    if (node.defno >= 0) {
      TEntJwwBlockDef& d = EntBlockDef[static_cast<size_t>(node.defno)];
      node.name = d.strName;
      d.ref_flag = true;
    }
  };
  // What placing one instance of a definition costs the later passes
  // (extents, mapping): roughly the points they compute for its members.
  std::vector<size_t> defCost(EntBlockDef.size());
  for (size_t i = 0; i < EntBlockDef.size(); ++i) {
    const TEntJwwBlockDef& d = EntBlockDef[i];
    defCost[i] = 2 * d.mLine.size() + 73 * d.mEnko.size() + d.mTen.size() + 3 * d.mMoji.size() +
                 8 * d.mSunpo.size() + 74 * d.mSolid.size() + d.mBlock.size();
  }
  auto memberCount = [&](int32_t defno) -> size_t {
    return defno < 0 ? 0 : defCost[static_cast<size_t>(defno)];
  };

  size_t insertRecords = EntBlock.size();
  for (const TEntJwwBlockDef& d : EntBlockDef) insertRecords += d.mBlock.size();
  const size_t maxNodes = kBlockTreeBaseNodes + 64 * insertRecords;

  size_t work = 0;
  EntBlockTree.reserve(EntBlock.size());
  for (const TEntJwwBlock& b : EntBlock) {
    TEntJwwBlockTree& node = EntBlockTree.emplace_back();
    node.att = b.att;
    node.level = 0;
    node.parent = -1;
    node.no = b.nNumber;
    node.x = b.DPKijunTen_x;
    node.y = b.DPKijunTen_y;
    const double c = std::cos(b.radKaitenKaku), s = std::sin(b.radKaitenKaku);
    node.r1 = b.dBairitsuX * c;
    node.r2 = -b.dBairitsuY * s;
    node.r3 = b.dBairitsuX * s;
    node.r4 = b.dBairitsuY * c;
    bind(node);
    work += 1 + memberCount(node.defno);
  }

  // Breadth-first: the list grows while it is walked.
  bool full = false;
  for (size_t k = 0; k < EntBlockTree.size() && !full; ++k) {
    const int32_t defno = EntBlockTree[k].defno;
    if (defno < 0) continue;
    const TEntJwwBlockDef& def = EntBlockDef[static_cast<size_t>(defno)];
    if (def.mBlock.empty()) continue;
    const int32_t level = EntBlockTree[k].level + 1;
    if (level > kMaxBlockTreeLevel) continue;
    for (const TEntJwwBlock& b : def.mBlock) {
      const int32_t childDef = findDef(b.nNumber);
      // Cut an insertion that re-enters a definition on its own path.
      bool cycle = false;
      if (childDef >= 0) {
        for (int64_t a = static_cast<int64_t>(k); a >= 0 && !cycle;
             a = EntBlockTree[static_cast<size_t>(a)].parent)
          cycle = EntBlockTree[static_cast<size_t>(a)].defno == childDef;
      }
      if (cycle) continue;
      const size_t cost = 1 + memberCount(childDef);
      if (work + cost > kMaxBlockTreeWork || EntBlockTree.size() >= maxNodes) {
        full = true;
        break;
      }
      work += cost;

      const TEntJwwBlockTree parent = EntBlockTree[k];  // copy: the list may reallocate
      TEntJwwBlockTree& node = EntBlockTree.emplace_back();
      node.att = def.att;
      node.level = level;
      node.parent = static_cast<int32_t>(k);
      node.no = b.nNumber;
      node.x = parent.x + parent.r1 * b.DPKijunTen_x + parent.r2 * b.DPKijunTen_y;
      node.y = parent.y + parent.r3 * b.DPKijunTen_x + parent.r4 * b.DPKijunTen_y;
      const double c = std::cos(b.radKaitenKaku), s = std::sin(b.radKaitenKaku);
      const double p = b.dBairitsuX * c, q = b.dBairitsuX * s;
      const double ss = -b.dBairitsuY * s, t = b.dBairitsuY * c;
      node.r1 = parent.r1 * p + parent.r2 * q;
      node.r2 = parent.r1 * ss + parent.r2 * t;
      node.r3 = parent.r3 * p + parent.r4 * q;
      node.r4 = parent.r3 * ss + parent.r4 * t;
      bind(node);
    }
  }

  // The tree stops at its depth, node and work limits, but a definition that
  // the drawing inserts, however deeply, still has to be defined in the
  // output: mark reachability by walking the insertion graph on its own.
  std::vector<int32_t> pending;
  for (TEntJwwBlockDef& d : EntBlockDef)
    if (d.ref_flag) pending.push_back(static_cast<int32_t>(&d - EntBlockDef.data()));
  while (!pending.empty()) {
    const TEntJwwBlockDef& def = EntBlockDef[static_cast<size_t>(pending.back())];
    pending.pop_back();
    for (const TEntJwwBlock& b : def.mBlock) {
      const int32_t child = findDef(b.nNumber);
      if (child < 0 || EntBlockDef[static_cast<size_t>(child)].ref_flag) continue;
      EntBlockDef[static_cast<size_t>(child)].ref_flag = true;
      pending.push_back(child);
    }
  }

  int32_t n = 0;
  for (TEntJwwBlockDef& d : EntBlockDef)
    if (d.ref_flag) d.ref_no = n++;
  EntBlockNum = n;
}

void JwwEntityModel::ClearEntityModel() {
  EntNo.clear();
  EntLine.clear();
  EntEnko.clear();
  EntTen.clear();
  EntMoji.clear();
  EntSunpo.clear();
  EntSolid.clear();
  EntBlock.clear();
  EntBlockDef.clear();
  EntBlockTree.clear();
  EntBlockNum = 0;
  BindImageInit();
  FontNames.clear();
  MojiEncode = 0;
  ga.clear();
  SourceDigest = {};
  // Release the memory of a previous, possibly large, drawing.
  EntNo.shrink_to_fit();
  EntLine.shrink_to_fit();
  EntEnko.shrink_to_fit();
  EntTen.shrink_to_fit();
  EntMoji.shrink_to_fit();
  EntSunpo.shrink_to_fit();
  EntSolid.shrink_to_fit();
  EntBlock.shrink_to_fit();
  EntBlockDef.shrink_to_fit();
  EntBlockTree.shrink_to_fit();
}

}  // namespace parvex
