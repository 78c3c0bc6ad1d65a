// The curve-polyline joiner: how segments of one curve group are chained.
#include <cctype>
#include <chrono>
#include <cstdint>
#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "converter/dxf/dxf_curve_polylines.h"

namespace parvex {
namespace {

constexpr double kPi = std::numbers::pi;

struct Seg {
  int group;
  double x1, y1, x2, y2;
  double da = 0;  // 0 = line, else arc sweep
  int col = 1;
};

struct Vertex {
  double x, y, a;
};

struct JoinCase {
  std::string name;
  std::vector<Seg> segs;
  std::vector<std::vector<Vertex>> expected;  // one entry per polyline
};

// A segment of entry no: a line when da is 0, else an arc.
TDXF_PolyWorkEntity Segment(int no, int lay, int col, int ltp, int wid, double x1, double y1,
                            double x2, double y2, double da) {
  return {.eno = no,
          .etp = da == 0 ? 1 : 2,
          .lay = lay,
          .col = col,
          .ltp = ltp,
          .wid = wid,
          .x1 = x1,
          .y1 = y1,
          .x2 = x2,
          .y2 = y2,
          .da = da};
}

std::vector<TDXF_PolyWorkSub> Join(const std::vector<Seg>& segs) {
  DxfCurveJoiner j;
  int no = 0;
  for (const Seg& s : segs) {
    j.Pw_AddEnt(s.group, Segment(no++, 20, s.col, 1, 0, s.x1, s.y1, s.x2, s.y2, s.da));
  }
  j.Pw_Sort();
  return j.Results();
}

class JoinTable : public ::testing::TestWithParam<JoinCase> {};

TEST_P(JoinTable, ChainsAsExpected) {
  const JoinCase& c = GetParam();
  const auto out = Join(c.segs);
  ASSERT_EQ(out.size(), c.expected.size());
  for (size_t p = 0; p < out.size(); ++p) {
    SCOPED_TRACE("polyline " + std::to_string(p));
    EXPECT_FALSE(out[p].clf);
    ASSERT_EQ(out[p].v.size(), c.expected[p].size());
    for (size_t k = 0; k < c.expected[p].size(); ++k) {
      SCOPED_TRACE("vertex " + std::to_string(k));
      EXPECT_NEAR(out[p].v[k].x, c.expected[p][k].x, 1e-12);
      EXPECT_NEAR(out[p].v[k].y, c.expected[p][k].y, 1e-12);
      // The last vertex's angle has no effect on an open polyline.
      if (k + 1 < c.expected[p].size()) {
        EXPECT_NEAR(out[p].v[k].a, c.expected[p][k].a, 1e-12);
      }
    }
  }
}

const double q = kPi / 2;

INSTANTIATE_TEST_SUITE_P(
    CurveGroups, JoinTable,
    ::testing::Values(
        JoinCase{"OneLine", {{1, 0, 0, 10, 0}}, {{{0, 0, 0}, {10, 0, 0}}}},
        // The middle line is met backwards and walked from its end.
        JoinCase{"SecondLineUsedBackwards",
                 {{1, 0, 0, 1, 0}, {1, 2, 0, 1, 0}, {1, 2, 0, 3, 0}},
                 {{{0, 0, 0}, {1, 0, 0}, {2, 0, 0}, {3, 0, 0}}}},
        // A square closes on itself: five vertices, first and last equal,
        // no side twice. The last side touches the head first and is
        // prepended.
        JoinCase{"SquareInBoundaryOrder",
                 {{1, 0, 0, 1, 0}, {1, 1, 0, 1, 1}, {1, 1, 1, 0, 1}, {1, 0, 1, 0, 0}},
                 {{{0, 1, 0}, {0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}}}},
        JoinCase{"DifferentColoursStayApart",
                 {{1, 0, 0, 1, 0, 0, 1}, {1, 1, 0, 2, 0, 0, 2}},
                 {{{0, 0, 0}, {1, 0, 0}}, {{1, 0, 0}, {2, 0, 0}}}},
        JoinCase{"NotTouching",
                 {{1, 0, 0, 1, 0}, {1, 5, 5, 6, 5}},
                 {{{0, 0, 0}, {1, 0, 0}}, {{5, 5, 0}, {6, 5, 0}}}},
        // A line ending where a +90 degree arc (1,0)->(0,1) ends: the line
        // leads, so the arc is walked backwards and contributes -90.
        JoinCase{"ArcUsedBackwardsNegatesItsAngle",
                 {{1, 2, 1, 0, 1}, {1, 1, 0, 0, 1, q}},
                 {{{2, 1, 0}, {0, 1, -q}, {1, 0, 0}}}},
        JoinCase{"ArcUsedForwardsKeepsItsAngle",
                 {{1, 2, 0, 1, 0}, {1, 1, 0, 0, 1, q}},
                 {{{2, 0, 0}, {1, 0, q}, {0, 1, 0}}}},
        // Segments joined at the start of the first one are prepended in
        // reverse order of their discovery.
        JoinCase{"GrowsAtBothEnds",
                 {{1, 1, 0, 2, 0}, {1, 1, 0, 0, 0, q}, {1, 2, 0, 3, 0}, {1, 0, 0, -1, 0}},
                 {{{-1, 0, 0}, {0, 0, -q}, {1, 0, 0}, {2, 0, 0}, {3, 0, 0}}}},
        JoinCase{"GapOf1e-7IsNotJoined",
                 {{1, 0, 0, 1, 0}, {1, 1 + 1e-7, 0, 2, 0}},
                 {{{0, 0, 0}, {1, 0, 0}}, {{1 + 1e-7, 0, 0}, {2, 0, 0}}}},
        JoinCase{"GapOf1e-9IsJoined",
                 {{1, 0, 0, 1, 0}, {1, 1 + 1e-9, 1e-9, 2, 0}},
                 {{{0, 0, 0}, {1, 0, 0}, {2, 0, 0}}}},
        JoinCase{"GroupsAreNeverJoined",
                 {{1, 0, 0, 1, 0}, {2, 1, 0, 2, 0}, {1, 5, 0, 6, 0}, {2, 6, 0, 7, 0}},
                 {{{0, 0, 0}, {1, 0, 0}}, {{5, 0, 0}, {6, 0, 0}},
                  {{1, 0, 0}, {2, 0, 0}}, {{6, 0, 0}, {7, 0, 0}}}},
        // Listed from the far end, the chain still comes out whole: the
        // search repeats its pass until nothing more attaches.
        JoinCase{"ChainListedBackwards",
                 {{1, 0, 0, 1, 0}, {1, 3, 0, 4, 0}, {1, 2, 0, 3, 0}, {1, 1, 0, 2, 0}},
                 {{{0, 0, 0}, {1, 0, 0}, {2, 0, 0}, {3, 0, 0}, {4, 0, 0}}}},
        // Three segments meeting in one point: the first two chain, the
        // third starts its own polyline.
        JoinCase{"BranchLeavesThirdSegmentAlone",
                 {{1, 0, 0, 1, 0}, {1, 1, 0, 2, 0}, {1, 1, 0, 1, 5}},
                 {{{0, 0, 0}, {1, 0, 0}, {2, 0, 0}}, {{1, 0, 0}, {1, 5, 0}}}}),
    [](const ::testing::TestParamInfo<JoinCase>& info) {
      std::string n;
      for (char c : info.param.name) n += (std::isalnum(static_cast<unsigned char>(c)) ? c : '_');
      return n;
    });

TEST(CurvePolylineJoiner, SweepIsReducedByWholeTurnsKeepingItsSign) {
  struct {
    double in, out;
  } cases[] = {{7, 7 - 2 * kPi}, {-7, -(7 - 2 * kPi)}, {2 * kPi, 0}, {q, q}, {-q, -q}};
  for (const auto& c : cases) {
    DxfCurveJoiner j;
    j.Pw_AddEnt(3, Segment(0, 0, 0, 0, 0, 0, 0, 1, 1, c.in));
    ASSERT_EQ(j.Groups().size(), 1u);
    EXPECT_NEAR(j.Groups()[0].e[0].da, c.out, 1e-12) << c.in;
  }
}

TEST(CurvePolylineJoiner, KeepsGroupsInFirstSeenOrderAndFindsThem) {
  DxfCurveJoiner j;
  j.Pw_AddEnt(9, Segment(0, 0, 0, 0, 0, 0, 0, 1, 0, 0));
  j.Pw_AddEnt(4, Segment(1, 0, 0, 0, 0, 0, 0, 1, 0, 0));
  j.Pw_AddEnt(9, Segment(2, 0, 0, 0, 0, 1, 0, 2, 0, 0));
  ASSERT_EQ(j.Groups().size(), 2u);
  EXPECT_EQ(j.Groups()[0].e.size(), 2u);
  EXPECT_EQ(j.Groups()[1].e.size(), 1u);
  EXPECT_EQ(j.Pw_GetIdx(9), 0);
  EXPECT_EQ(j.Pw_GetIdx(4), 1);
  EXPECT_EQ(j.Pw_GetIdx(5), -1);
  // Emptied for the next container.
  j.Pw_Init();
  EXPECT_TRUE(j.Groups().empty());
  EXPECT_EQ(j.Pw_GetIdx(9), -1);
}

TEST(CurvePolylineJoiner, AttributesOfEveryKindSplitAChain) {
  // Layer, colour, line type and lineweight each keep touching segments
  // apart; the polyline carries the attributes of its first segment.
  const int attrs[][4] = {{20, 1, 1, 0}, {21, 1, 1, 0}, {20, 2, 1, 0}, {20, 1, 2, 0}, {20, 1, 1, 3}};
  DxfCurveJoiner j;
  for (int k = 0; k < 5; ++k) {
    j.Pw_AddEnt(1,
                Segment(k, attrs[k][0], attrs[k][1], attrs[k][2], attrs[k][3], k, 0, k + 1, 0, 0));
  }
  j.Pw_Sort();
  const std::vector<TDXF_PolyWorkSub>& out = j.Results();
  ASSERT_EQ(out.size(), 5u);
  for (int k = 0; k < 5; ++k) {
    EXPECT_EQ(out[k].lay, attrs[k][0]);
    EXPECT_EQ(out[k].col, attrs[k][1]);
    EXPECT_EQ(out[k].ltp, attrs[k][2]);
    EXPECT_EQ(out[k].wid, attrs[k][3]);
    EXPECT_EQ(out[k].v.size(), 2u);
  }
}

TEST(CurvePolylineJoiner, DropsSegmentsThatAreNotFiniteAndEmptiesOldResults) {
  DxfCurveJoiner j;
  j.Pw_AddEnt(1, Segment(0, 0, 0, 0, 0, NAN, 0, 1, 0, 0));
  j.Pw_AddEnt(1, Segment(1, 0, 0, 0, 0, 0, 0, 1, 0, INFINITY));
  j.Pw_AddEnt(2, Segment(2, 0, 0, 0, 0, 0, 0, 1, 0, 0));
  ASSERT_EQ(j.Groups().size(), 1u);
  j.Pw_Sort();
  EXPECT_EQ(j.Results().size(), 1u);
  // A second sort finds every segment taken and empties the old results.
  j.Pw_Sort();
  EXPECT_TRUE(j.Results().empty());
}

}  // namespace
}  // namespace parvex

namespace parvex {
namespace {

// The chaining written out plainly, one scan of the group per pass, to
// check the indexed search against.
std::vector<TDXF_PolyWorkSub> PlainSort(std::vector<TDXF_PolyWorkMain> groups) {
  auto same = [](double ax, double ay, double bx, double by) {
    return std::fabs(ax - bx) <= 1e-8 && std::fabs(ay - by) <= 1e-8;
  };
  std::vector<TDXF_PolyWorkSub> out;
  for (auto& g : groups) {
    const int en = static_cast<int>(g.e.size());
    for (int i = 0; i < en; ++i) {
      if (g.e[i].etp == 0) continue;
      g.e[i].etp = 0;
      const auto st = g.e[i];
      struct S { double x, y, a; };
      std::vector<S> b, f;
      double hx = st.x1, hy = st.y1, tx = st.x2, ty = st.y2;
      for (int pass = 0; pass < en; ++pass) {
        for (int l = 0; l < en; ++l) {
          auto& s = g.e[l];
          if (l == i || s.etp == 0 || s.lay != st.lay || s.col != st.col || s.ltp != st.ltp ||
              s.wid != st.wid)
            continue;
          if (same(s.x1, s.y1, hx, hy)) {
            b.push_back({s.x2, s.y2, s.da}), hx = s.x2, hy = s.y2, s.etp = 0;
          } else if (same(s.x2, s.y2, hx, hy)) {
            b.push_back({s.x1, s.y1, -s.da}), hx = s.x1, hy = s.y1, s.etp = 0;
          }
          if (s.etp == 0) continue;
          if (same(s.x1, s.y1, tx, ty)) {
            f.push_back({s.x2, s.y2, s.da}), tx = s.x2, ty = s.y2, s.etp = 0;
          } else if (same(s.x2, s.y2, tx, ty)) {
            f.push_back({s.x1, s.y1, -s.da}), tx = s.x1, ty = s.y1, s.etp = 0;
          }
        }
      }
      TDXF_PolyWorkSub r;
      r.lay = st.lay, r.col = st.col, r.ltp = st.ltp, r.wid = st.wid;
      for (auto it = b.rbegin(); it != b.rend(); ++it) r.v.push_back({it->x, it->y, -it->a});
      r.v.push_back({st.x1, st.y1, st.da});
      r.v.push_back({st.x2, st.y2, f.empty() ? st.da : f[0].a});
      for (size_t k = 0; k < f.size(); ++k)
        r.v.push_back({f[k].x, f[k].y, k + 1 < f.size() ? f[k + 1].a : -f[k].a});
      out.push_back(r);
    }
  }
  return out;
}

TEST(CurvePolylineJoiner, IndexedSearchChainsLikeThePlainScan) {
  // Random segments on a small grid meet often, at both ends and in
  // branches; offsets just inside and just outside the tolerance, and
  // coordinates too large for the index, take every path.
  uint64_t seed = 12345;
  auto next = [&](int n) {
    seed = seed * 6364136223846793005ull + 1442695040888963407ull;
    return static_cast<int>((seed >> 33) % static_cast<uint64_t>(n));
  };
  const double jitter[] = {0, 0, 0, 1e-9, -1e-9, 1e-7, 6e-9};
  for (int round = 0; round < 300; ++round) {
    const double base = round % 10 == 9 ? 5e11 : (round % 3) * 1000.0;
    DxfCurveJoiner j;
    const int count = 1 + next(40);
    for (int k = 0; k < count; ++k) {
      const double x1 = base + next(4) + jitter[next(7)], y1 = next(4) + jitter[next(7)];
      const double x2 = base + next(4) + jitter[next(7)], y2 = next(4) + jitter[next(7)];
      const double da = next(3) == 0 ? (next(2) ? 1 : -1) * 0.5 * (1 + next(4)) : 0;
      const int group = 1 + next(2);
      const int lay = next(2);
      const int col = 1 + next(2);
      j.Pw_AddEnt(group, Segment(k, lay, col, 1, 0, x1, y1, x2, y2, da));
    }
    const auto expected = PlainSort(j.Groups());
    j.Pw_Sort();
    const std::vector<TDXF_PolyWorkSub>& actual = j.Results();
    ASSERT_EQ(actual.size(), expected.size()) << "round " << round;
    for (size_t p = 0; p < actual.size(); ++p) {
      ASSERT_EQ(actual[p].v.size(), expected[p].v.size()) << "round " << round << " polyline " << p;
      EXPECT_EQ(actual[p].col, expected[p].col);
      EXPECT_EQ(actual[p].lay, expected[p].lay);
      for (size_t k = 0; k < actual[p].v.size(); ++k) {
        ASSERT_EQ(actual[p].v[k].x, expected[p].v[k].x) << "round " << round;
        ASSERT_EQ(actual[p].v[k].y, expected[p].v[k].y) << "round " << round;
        ASSERT_EQ(actual[p].v[k].a, expected[p].v[k].a) << "round " << round;
      }
    }
  }
}

TEST(CurvePolylineJoiner, LargeGroupJoinsQuickly) {
  // 100000 segments of one group listed from the far end: the chain grows
  // by one segment per pass.
  const int n = 100000;
  DxfCurveJoiner j;
  j.Pw_AddEnt(1, Segment(0, 0, 0, 0, 0, 0, 0, 1, 0, 0));
  for (int k = n - 1; k >= 1; --k) j.Pw_AddEnt(1, Segment(k, 0, 0, 0, 0, k, 0, k + 1, 0, 0));
  const auto t0 = std::chrono::steady_clock::now();
  j.Pw_Sort();
  const double s = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
  const std::vector<TDXF_PolyWorkSub>& out = j.Results();
  ASSERT_EQ(out.size(), 1u);
  EXPECT_EQ(out[0].v.size(), static_cast<size_t>(n + 1));
  EXPECT_LT(s, 60.0);  // a rescan of the group per segment takes many minutes
}

}  // namespace
}  // namespace parvex
