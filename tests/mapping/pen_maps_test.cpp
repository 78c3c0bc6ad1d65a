#include "converter/mapping/pen_maps.h"

#include <gtest/gtest.h>

#include "converter/mapping/layer_usage_counter.h"

namespace parvex {
namespace {

TEST(PenMaps, PenStyleToLineTypeIndex) {
  struct Case {
    int style;
    int index;
  } cases[] = {
      {0, 1},   {1, 1},   {9, 9},   {10, 1},  {11, 10}, {15, 14}, {16, 15}, {19, 18},
      {20, 1},  {31, 1},  {32, 19}, {45, 32}, {46, 1},  {47, 33}, {62, 48}, {63, 1},
      {100, 1}, {255, 1}, {-1, 1},
  };
  for (const Case& c : cases) EXPECT_EQ(PenStyleToLtype(c.style), c.index) << "style " << c.style;
}

TEST(PenMaps, PenWidthBandEdges) {
  struct Case {
    int width;
    int weight;
  } cases[] = {
      {0, 0},     {1, 5},     {7, 5},     {8, 9},     {11, 9},    {12, 13},   {14, 13},
      {15, 15},   {16, 15},   {17, 18},   {19, 18},   {20, 20},   {22, 20},   {23, 25},
      {27, 25},   {28, 30},   {32, 30},   {33, 35},   {37, 35},   {38, 40},   {45, 40},
      {46, 50},   {51, 50},   {52, 53},   {56, 53},   {57, 60},   {65, 60},   {66, 70},
      {75, 70},   {76, 80},   {85, 80},   {86, 90},   {95, 90},   {96, 100},  {103, 100},
      {104, 106}, {113, 106}, {114, 120}, {130, 120}, {131, 140}, {149, 140}, {150, 158},
      {179, 158}, {180, 200}, {205, 200}, {206, 211}, {65535, 211},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(PenWidthToLineweight(c.width), c.weight) << "width " << c.width;
  }
}

TEST(LayerUsageCounter, MostUsedColourAndLineTypeTieGoesToLowerIndex) {
  TJwLayerCount c;
  c.JWW_Init();
  for (int i = 0; i < 3; ++i) {
    c.JWW_CountUp(0, 3, 2, 5);  // blue, DOT
    c.JWW_CountUp(0, 3, 5, 1);  // red, CENTER
  }
  c.JWW_CountUp(2, 3, 47, 3);  // group 2 layer 3: another entry
  c.JWW_CountUp(16, 0, 1, 1);  // out of range: nothing, not even the group
  c.JWW_CountUp(0, 16, 1, 1);
  c.gnmaxr = 0;
  c.CaluMax();
  EXPECT_EQ(c.cn[3].colman + 1, 1);
  EXPECT_EQ(c.cn[3].ltpman + 1, 2);
  EXPECT_EQ(c.cn[35].colman + 1, 3);
  EXPECT_EQ(c.cn[35].ltpman + 1, 33);
  EXPECT_EQ(c.cn[4].colman, -1);
  EXPECT_EQ(c.cn[4].ltpman, -1);
  EXPECT_EQ(c.gn[0], 6);
  EXPECT_EQ(c.gnmax, 2);  // the base group 0 is left out
}

TEST(LayerUsageCounter, BusiestGroupWithoutEntitiesIsLowestOtherThanBase) {
  for (auto [base, expected] : {std::pair{15, 0}, std::pair{0, 1}}) {
    TJwLayerCount c;
    c.JWW_Init();
    c.gnmaxr = base;
    c.CaluMax();
    EXPECT_EQ(c.gnmax, expected) << "base " << base;
  }
}

}  // namespace
}  // namespace parvex
