// Block names and the inserts left out to keep blocks from inserting
// themselves.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "converter/mapping/mapping_blocks.h"

namespace parvex {
namespace {

TEST(BlockDefName, CutsBeforeTheFirstMarker) {
  const struct {
    std::u16string in, out;
  } cases[] = {
      {u"DOOR@@SfigorgFlag@@0,1,2", u"DOOR"},
      {u"a@@SfigorgFlag@@b@@SfigorgFlag@@c", u"a"},
      {u"@@SfigorgFlag@@only", u""},
      {u"扉@SfigorgFlag", u"扉@SfigorgFlag"},
      {u"plain", u"plain"},
  };
  for (const auto& c : cases) EXPECT_EQ(BlockDefName(c.in), c.out);
}

struct CycleCase {
  std::string name;
  std::vector<std::vector<int>> members;
  std::vector<int> roots;
  std::vector<std::vector<bool>> cut;
};

class CyclicInserts : public ::testing::TestWithParam<CycleCase> {};

TEST_P(CyclicInserts, LeavesOutExactlyTheInsertsClosingACycle) {
  const CycleCase& c = GetParam();
  EXPECT_EQ(FindCyclicInserts(c.members, c.roots), c.cut);
}

INSTANTIATE_TEST_SUITE_P(
    Graphs, CyclicInserts,
    ::testing::Values(
        CycleCase{"InsertsItself", {{0}}, {0}, {{true}}},
        // Walked from A, B's insert of A closes the cycle; A keeps B.
        CycleCase{"TwoBlocksFromTheFirst", {{1}, {0}}, {0}, {{false}, {true}}},
        // The top level reaches B first, so A's insert of B is the one cut.
        CycleCase{"TwoBlocksFromTheSecond", {{1}, {0}}, {1}, {{true}, {false}}},
        // A diamond shares a block without a cycle.
        CycleCase{"DiamondIsKept", {{1, 2}, {3}, {3}, {}}, {0}, {{false, false}, {false}, {false}, {}}},
        // Not reached from the top level, walked in definition order.
        CycleCase{"UnreachedCycle", {{}, {2}, {1}}, {}, {{}, {false}, {true}}},
        // Missing targets and unknown roots are ignored.
        CycleCase{"MissingTargets", {{-1, 5, 0}}, {-1, 7}, {{false, false, true}}}),
    [](const ::testing::TestParamInfo<CycleCase>& info) { return info.param.name; });

TEST(CyclicInserts, DeepChainDoesNotExhaustTheStack) {
  const int n = 200000;
  std::vector<std::vector<int>> members(n);
  for (int d = 0; d + 1 < n; ++d) members[d] = {d + 1};
  members[n - 1] = {0};
  const auto cut = FindCyclicInserts(members, {0});
  for (int d = 0; d + 1 < n; ++d) ASSERT_FALSE(cut[d][0]) << d;
  EXPECT_TRUE(cut[n - 1][0]);
}

}  // namespace
}  // namespace parvex
