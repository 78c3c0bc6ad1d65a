// Which lines and arcs of a curve group go to the polyline collector, and
// the segment an arc becomes.
#include <cmath>
#include <numbers>
#include <string>

#include <gtest/gtest.h>

#include "converter/mapping/mapping_polylines.h"

namespace parvex {
namespace {

constexpr double kPi = std::numbers::pi;

TEST(CurveSelection, LinesJoinOnlyWhenGroupedAndNotFlagged) {
  const struct {
    const char* what;
    bool setting;
    uint32_t group;
    uint16_t flags;
    bool joins;
  } cases[] = {
      {"grouped", true, 3, 0, true},          {"setting off", false, 3, 0, false},
      {"no group", true, 0, 0, false},        {"flag 0x20", true, 3, 0x20, false},
      {"flag 0x2000", true, 3, 0x2000, false}, {"flag 0x40 only", true, 3, 0x40, true},
  };
  for (const auto& c : cases) {
    TEntJwwLine l;
    l.att.lGroup = c.group;
    l.att.sFlg = c.flags;
    EXPECT_EQ(JoinsCurvePolyline(l, c.setting), c.joins) << c.what;
  }
}

TEST(CurveSelection, OnlyPartialCircularArcsJoin) {
  const struct {
    const char* what;
    uint16_t flags;
    double flattening;
    uint32_t full;
    double sweep;
    bool joins;
  } cases[] = {
      {"quarter arc", 0, 1.0, 0, kPi / 2, true},
      {"clockwise arc", 0, 1.0, 0, -kPi / 2, true},
      {"flattening within 1e-12", 0, 1.0 + 1e-13, 0, kPi, true},
      {"elliptic arc", 0, 0.5, 0, kPi, false},
      {"full-circle flag", 0, 1.0, 1, kPi, false},
      {"no sweep", 0, 1.0, 0, 0.0, false},
      {"whole turn", 0, 1.0, 0, 2 * kPi, false},
      {"whole turn backwards", 0, 1.0, 0, -2 * kPi, false},
      {"flag 0x20", 0x20, 1.0, 0, kPi, false},
      {"flag 0x40", 0x40, 1.0, 0, kPi, false},
  };
  for (const auto& c : cases) {
    TEntJwwEnko a;
    a.att.lGroup = 5;
    a.att.sFlg = c.flags;
    a.dHankei = 2;
    a.dHenpeiRitsu = c.flattening;
    a.bZenEnFlg = c.full;
    a.radEnkoKaku = c.sweep;
    EXPECT_EQ(JoinsCurvePolyline(a, true), c.joins) << c.what;
  }
}

TEST(CurveSelection, ArcEndsFollowStartSweepAndTilt) {
  TEntJwwEnko a;
  a.start_x = 10;
  a.start_y = 20;
  a.dHankei = 5;
  a.radKaishiKaku = 0;
  a.radEnkoKaku = -kPi / 2;  // clockwise quarter
  a.radKatamukiKaku = kPi / 2;
  a.dHenpeiRitsu = 1;
  const CurveSegment s = SegmentOf(a);
  // Start at angle 0 turned by 90 degrees: straight above the centre; the
  // clockwise quarter ends to the right of it.
  EXPECT_NEAR(s.x1, 10, 1e-12);
  EXPECT_NEAR(s.y1, 25, 1e-12);
  EXPECT_NEAR(s.x2, 15, 1e-12);
  EXPECT_NEAR(s.y2, 20, 1e-12);
  EXPECT_DOUBLE_EQ(s.sweep, -kPi / 2);
}

}  // namespace
}  // namespace parvex
