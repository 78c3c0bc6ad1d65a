#include "common/value_helpers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace parvex {
namespace {

TEST(ValueHelpers, RoundDecimalsModes) {
  struct Case {
    double x;
    int places, mode;
    double expected;
  } cases[] = {
      {1.25, 1, 2, 1.3}, {2.341, 2, 1, 2.35}, {-2.349, 2, 0, -2.34},
      {2.5, 0, 2, 3},    {-2.5, 0, 2, -3},    {2.5, 10, 2, 3},
  };
  for (const auto& c : cases)
    EXPECT_NEAR(RoundDecimals(c.x, c.places, c.mode), c.expected, 1e-12)
        << c.x << " " << c.places << " " << c.mode;
}

TEST(ValueHelpers, NormalizeDegBringsIntoRange) {
  const double inf = std::numeric_limits<double>::infinity();
  struct Case {
    double in, out;
  } cases[] = {
      {-360, 0}, {360 - 1e-11, 0}, {720.5, 0.5}, {-90, 270}, {1e-11, 0},
      {359.5, 359.5}, {36000.25, 0.25}, {-1e-20, 0},
      // No endless loop: values a turn cannot change give 0.
      {inf, 0}, {-inf, 0}, {std::nan(""), 0}, {1e300, 0}, {-1e300, 0},
  };
  for (const auto& c : cases) EXPECT_NEAR(NormalizeDeg(c.in), c.out, 1e-9) << c.in;
  EXPECT_NEAR(NormalizeDeg(36e10 + 90), 90, 1e-3);
}

TEST(ValueHelpers, NormalizeDegTolUsesGivenTolerance) {
  EXPECT_EQ(NormalizeDegTol(0.01, 359.995), 0);
  EXPECT_EQ(NormalizeDegTol(0.01, 0.005), 0);
  EXPECT_DOUBLE_EQ(NormalizeDegTol(0.01, 370), 10);
  EXPECT_EQ(NormalizeDegTol(0.01, std::numeric_limits<double>::infinity()), 0);
}

TEST(ValueHelpers, ComparisonsAndSnapping) {
  EXPECT_TRUE(SameValue12(1, 1 + 5e-13));
  EXPECT_FALSE(SameValue12(1, 1 + 1e-11));
  EXPECT_TRUE(SamePoint12(0, 0, 1e-13, -1e-13));
  EXPECT_FALSE(SamePoint12(0, 0, 0, 1e-11));
  EXPECT_DOUBLE_EQ(SnapTo1e12(-0.3e-12), 0);
  EXPECT_NEAR(SnapTo1e12(-1.6e-12), -2e-12, 1e-25);
  EXPECT_DOUBLE_EQ(Distance(0, 0, 3, 4), 5);
}

TEST(ValueHelpers, ColorPacking) {
  EXPECT_EQ(RgbToAlphaColor(0x12, 0x34, 0x56), 0xFF123456u);
  EXPECT_EQ(ColorRefToAlphaColor(0x00563412), 0xFF123456u);  // red in the low byte
  EXPECT_EQ(ColorRefToAlphaColor(0), 0xFF000000u);
  // -1: red is -1 (remainder keeps the sign), green and blue are 0.
  EXPECT_EQ(ColorRefToAlphaColor(-1), 0xFF000000u - 65536u);
}

}  // namespace
}  // namespace parvex
