// Expansion of nested insertions into the block tree.
#include <gtest/gtest.h>

#include <numbers>

#include "converter/jww/jww_data.h"

namespace parvex {
namespace {

TEntJwwBlock Insert(uint32_t number, double x = 0, double y = 0, double sx = 1, double sy = 1,
                    double rot = 0) {
  TEntJwwBlock b;
  b.nNumber = number;
  b.DPKijunTen_x = x;
  b.DPKijunTen_y = y;
  b.dBairitsuX = sx;
  b.dBairitsuY = sy;
  b.radKaitenKaku = rot;
  return b;
}

TEntJwwBlockDef Def(uint32_t number, std::vector<TEntJwwBlock> inserts = {}) {
  TEntJwwBlockDef d;
  d.nNumber = number;
  d.strName = std::u16string{u'B', static_cast<char16_t>(u'0' + number % 10)};
  d.mBlock = std::move(inserts);
  d.att.nPenColor = static_cast<uint16_t>(number);
  return d;
}

TEST(JwwBlockTree, NoInsertions) {
  TJwwData d;
  d.EntBlockDef = {Def(1)};
  d.MakeBlockTree();
  EXPECT_EQ(d.EntBlockTreeN(), 0);
  EXPECT_EQ(d.EntBlockDef[0].ref_no, -1);
  EXPECT_EQ(d.EntBlockNum, 0);
}

TEST(JwwBlockTree, NestedInsertionsInBreadthFirstOrder) {
  // Definition A (1) holds two insertions of B (2); the drawing inserts A
  // twice; C (3) is never reached; a second definition numbered 1 is
  // shadowed by the first.
  TJwwData d;
  d.EntBlockDef = {Def(3), Def(1, {Insert(2, 10, 0), Insert(2, 20, 0)}), Def(2), Def(1)};
  d.EntBlock = {Insert(1, 100, 0), Insert(1, 200, 0), Insert(77)};
  d.MakeBlockTree();
  ASSERT_EQ(d.EntBlockTreeN(), 7);
  struct {
    int32_t level, parent, defno;
    double x;
  } expected[] = {{0, -1, 1, 100}, {0, -1, 1, 200}, {0, -1, -1, 0}, {1, 0, 2, 110},
                  {1, 0, 2, 120},  {1, 1, 2, 210},  {1, 1, 2, 220}};
  for (int i = 0; i < 7; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(d.EntBlockTree[i].level, expected[i].level);
    EXPECT_EQ(d.EntBlockTree[i].parent, expected[i].parent);
    EXPECT_EQ(d.EntBlockTree[i].defno, expected[i].defno);
    EXPECT_DOUBLE_EQ(d.EntBlockTree[i].x, expected[i].x);
  }
  // Nested nodes carry the attributes of the definition they sit in.
  EXPECT_EQ(d.EntBlockTree[3].att.nPenColor, 1);
  EXPECT_EQ(d.EntBlockTree[3].name, u"B2");
  EXPECT_TRUE(d.EntBlockTree[2].name.empty());
  EXPECT_EQ(d.EntBlockDef[0].ref_no, -1);
  EXPECT_EQ(d.EntBlockDef[1].ref_no, 0);
  EXPECT_EQ(d.EntBlockDef[2].ref_no, 1);
  EXPECT_EQ(d.EntBlockDef[3].ref_no, -1);
  EXPECT_EQ(d.EntBlockNum, 2);
}

TEST(JwwBlockTree, PlacementComposesScaleAndRotation) {
  const double half = std::numbers::pi / 2;
  TJwwData d;
  d.EntBlockDef = {Def(1, {Insert(2, 1, 0, 1, 1, half)}), Def(2)};
  d.EntBlock = {Insert(1, 5, 5, 2, 3, half)};
  d.MakeBlockTree();
  ASSERT_EQ(d.EntBlockTreeN(), 2);
  const TEntJwwBlockTree& top = d.EntBlockTree[0];
  EXPECT_NEAR(top.r1, 0, 1e-12);
  EXPECT_DOUBLE_EQ(top.r2, -3);
  EXPECT_DOUBLE_EQ(top.r3, 2);
  EXPECT_NEAR(top.r4, 0, 1e-12);
  // The nested block sits at block point (1, 0) -> (5, 7), turned once more.
  const TEntJwwBlockTree& in = d.EntBlockTree[1];
  EXPECT_NEAR(in.x, 5, 1e-12);
  EXPECT_NEAR(in.y, 7, 1e-12);
  // Two quarter turns: (1, 0) of the inner block runs along the outer
  // block's v axis, which the outer scale 3 stretches: (-3, 0).
  EXPECT_NEAR(in.r1, -3, 1e-12);
  EXPECT_NEAR(in.r3, 0, 1e-12);
}

TEST(JwwBlockTree, SelfInsertingBlocksAreCut) {
  struct {
    const char* name;
    std::vector<TEntJwwBlockDef> defs;
    int32_t nodes;
  } cases[] = {
      // A inserts itself: only the drawing's insertion remains.
      {"direct", {Def(1, {Insert(1)})}, 1},
      // A -> B -> A: the second A is cut.
      {"through another", {Def(1, {Insert(2)}), Def(2, {Insert(1)})}, 2},
      // A -> B twice, B -> A: both Bs stay, their As are cut.
      {"wide", {Def(1, {Insert(2), Insert(2)}), Def(2, {Insert(1), Insert(3)}), Def(3)}, 5},
  };
  for (auto& c : cases) {
    SCOPED_TRACE(c.name);
    TJwwData d;
    d.EntBlockDef = c.defs;
    d.EntBlock = {Insert(1)};
    d.MakeBlockTree();
    EXPECT_EQ(d.EntBlockTreeN(), c.nodes);
    for (const TEntJwwBlockTree& n : d.EntBlockTree) EXPECT_LE(n.level, kMaxBlockTreeLevel);
  }
}

TEST(JwwBlockTree, ExponentialNestingStaysBounded) {
  // Twenty definitions, each inserting the next ten times: 10^20 instances
  // unbounded; the tree stops at its work limit.
  TJwwData d;
  for (uint32_t i = 1; i <= 20; ++i) {
    std::vector<TEntJwwBlock> ins(10, Insert(i + 1));
    d.EntBlockDef.push_back(Def(i, i < 20 ? ins : std::vector<TEntJwwBlock>{}));
  }
  d.EntBlock = {Insert(1)};
  d.MakeBlockTree();
  EXPECT_LE(static_cast<size_t>(d.EntBlockTreeN()), kBlockTreeBaseNodes + 64 * 191);
  EXPECT_GT(d.EntBlockTreeN(), 100000);
  // The tree is cut, but every inserted definition is still reached, so the
  // output keeps all twenty definitions.
  EXPECT_EQ(d.EntBlockNum, 20);
}

TEST(JwwBlockTree, HeavyBlocksPlacedManyTimesStayBounded) {
  // A block of 1000 arcs placed 1000 times inside another placed 100 times:
  // 10^5 instances, 7.3 * 10^9 arc samples for the extents unbounded.
  TJwwData d;
  d.EntBlockDef = {Def(1, std::vector<TEntJwwBlock>(1000, Insert(2))), Def(2)};
  d.EntBlockDef[1].mEnko.resize(1000);
  d.EntBlock.assign(100, Insert(1));
  d.MakeBlockTree();
  // Every drawing insertion keeps its node; nesting stops at the work limit.
  EXPECT_GE(d.EntBlockTreeN(), 100);
  EXPECT_LT(d.EntBlockTreeN(), 100 + static_cast<int32_t>(kMaxBlockTreeWork / 73000) + 1);
}

}  // namespace
}  // namespace parvex
