#include "common/geometry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>

namespace parvex {
namespace {

constexpr double kPi = std::numbers::pi;

TEST(Geometry, VectorAngleQuadrants) {
  EXPECT_DOUBLE_EQ(VectorAngle(0, -1), 3 * kPi / 2);
  EXPECT_DOUBLE_EQ(VectorAngle(-1, 0), kPi);
  EXPECT_EQ(VectorAngle(1e-15, -1e-15), 0);
}

TEST(Geometry, RotationAndSegmentProjection) {
  Point2 p = RotatePointDeg(2, 1, 1, 1, 90);
  EXPECT_NEAR(p.X, 1, 1e-12);
  EXPECT_NEAR(p.Y, 2, 1e-12);
  auto left = PointWithinSegment(0, 0, 10, 0, 5, 2);
  EXPECT_TRUE(left.Within);
  EXPECT_NEAR(left.Offset, 2, 1e-12);
  auto beyond = PointWithinSegment(0, 0, 10, 0, 11, -1);
  EXPECT_FALSE(beyond.Within);
  EXPECT_NEAR(beyond.Offset, -1, 1e-12);
}

TEST(Geometry, SegmentIntersectionCodes) {
  struct Case {
    double a[4], b[4];
    int code;
    double x, y;
  } cases[] = {
      {{0, 0, 10, 10}, {0, 10, 10, 0}, 1, 5, 5},     // crossing inside both
      {{0, 0, 1, 1}, {0, 10, 10, 0}, 2, 5, 5},       // crossing beyond the first
      {{0, 0, 10, 0}, {0, 1, 10, 1}, 0, 0, 0},       // parallel
      {{0, 0, 0, 10}, {5, 0, 5, 10}, 0, 0, 0},       // both vertical
      {{3, -5, 3, 5}, {0, 0, 10, 0}, 1, 3, 0},       // first vertical
      {{0, 2, 10, 2}, {4, 0, 4, 1}, 2, 4, 2},        // second vertical, outside it
  };
  for (const auto& c : cases) {
    Crossing r = SegmentIntersection(c.a[0], c.a[1], c.a[2], c.a[3], c.b[0], c.b[1], c.b[2], c.b[3]);
    EXPECT_EQ(r.Code, c.code);
    if (c.code != 0) {
      EXPECT_NEAR(r.X, c.x, 1e-9);
      EXPECT_NEAR(r.Y, c.y, 1e-9);
    }
  }
}

TEST(Geometry, EllipsePointsAndTangentCrossing) {
  Point2 p = EllipsePoint(10, 20, 4, 0.5, kPi / 2, 0);  // tilted a quarter turn
  EXPECT_NEAR(p.X, 10, 1e-12);
  EXPECT_NEAR(p.Y, 24, 1e-12);
  auto quarter = EllipseArcPoints(0, 0, 2, 0.5, 0, kPi / 2, 0);
  EXPECT_NEAR(quarter.Start.X, 2, 1e-12);
  EXPECT_NEAR(quarter.End.Y, 1, 1e-12);
  EXPECT_NEAR(quarter.TangentCrossing.X, 2, 1e-9);
  EXPECT_NEAR(quarter.TangentCrossing.Y, 1, 1e-9);
  auto half = EllipseArcPoints(3, 4, 2, 1, 0, kPi, 0);  // parallel end tangents
  EXPECT_DOUBLE_EQ(half.TangentCrossing.X, 3);
  EXPECT_DOUBLE_EQ(half.TangentCrossing.Y, 4);
}

TEST(Geometry, ExtentsIgnoreUnusablePointsAndStayBounded) {
  const double nan = std::nan("");
  ExtentsBox box;
  ExtentsStart(box, 10, 20, 2);
  EXPECT_DOUBLE_EQ(box.MinX, 5);
  EXPECT_DOUBLE_EQ(box.MaxY, 10);
  ExtentsAdd(box, -4, 40, 2);
  EXPECT_DOUBLE_EQ(box.MinX, -2);
  EXPECT_DOUBLE_EQ(box.MaxY, 20);
  ExtentsAdd(box, 6e11, 0, 1);   // out of the accepted input range
  ExtentsAdd(box, nan, 0, 1);
  ExtentsAdd(box, 1, 1, 0);      // division by zero
  EXPECT_DOUBLE_EQ(box.MinX, -2);
  EXPECT_DOUBLE_EQ(box.MaxX, 5);
  ExtentsAdd(box, 4e11, -4e11, 1);  // accepted, then held within 1e8
  EXPECT_DOUBLE_EQ(box.MaxX, 1e8);
  EXPECT_DOUBLE_EQ(box.MinY, -1e8);
  ExtentsAddTransformed(box, 1, 1, 100, 100, 0, -1, 1, 0, 1);  // rotated a quarter turn
  EXPECT_DOUBLE_EQ(box.MaxY, 101);
}

TEST(Geometry, OutCodeCountsEdgesAsOutside) {
  EXPECT_EQ(OutCode(0, 0, 10, 10, 0, 5), 1);
  EXPECT_EQ(OutCode(0, 0, 10, 10, 10, 10), 2 | 8);
  EXPECT_EQ(OutCode(0, 0, 10, 10, -1, -1), 1 | 4);
  EXPECT_EQ(PointInRect(0, 0, 10, 10, 5, 5), 0);
  EXPECT_EQ(PointInRect(0, 0, 10, 10, 5, 10 - 1e-13), 2);
}

TEST(Geometry, ClipSegmentToRectangle) {
  auto inside = ClipSegment(0, 0, 10, 10, 1, 1, 9, 9);
  EXPECT_EQ(inside.Code, 0);
  auto outside = ClipSegment(0, 0, 10, 10, -5, 1, -1, 9);
  EXPECT_EQ(outside.Code, 2);
  auto through = ClipSegment(0, 0, 10, 10, -5, 5, 15, 5);
  EXPECT_EQ(through.Code, 1);
  EXPECT_DOUBLE_EQ(through.X1, 0);
  EXPECT_DOUBLE_EQ(through.X2, 10);
  EXPECT_DOUBLE_EQ(through.Y1, 5);
  auto diagonal = ClipSegment(0, 0, 10, 10, 5, 5, 5, 20);
  EXPECT_EQ(diagonal.Code, 1);
  EXPECT_DOUBLE_EQ(diagonal.Y2, 10);
  EXPECT_DOUBLE_EQ(diagonal.X2, 5);
}

}  // namespace
}  // namespace parvex
