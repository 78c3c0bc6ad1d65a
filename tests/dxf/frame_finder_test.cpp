// The drawing-frame finder: rectangles closed by candidate lines, the order
// of the frames, and which frame holds a point, segment, curve or
// quadrilateral.
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "converter/dxf/dxf_frames.h"

namespace parvex {
namespace {

struct Edge {
  bool horizontal;
  double x1, y1, x2, y2;
};

void Add(DxfFrameFinder& f, const std::vector<Edge>& edges) {
  for (const Edge& e : edges) {
    if (e.horizontal) {
      f.Zw_AddH(e.x1, e.y1, e.x2, e.y2);
    } else {
      f.Zw_AddV(e.x1, e.y1, e.x2, e.y2);
    }
  }
}

// The four sides of the rectangle (x, y)-(x + w, y + h), counter-clockwise
// from the bottom, the last corner moved by `miss` on both axes.
std::vector<Edge> Sides(double x, double y, double w, double h, double miss = 0) {
  return {{true, x, y, x + w, y},
          {false, x + w, y, x + w, y + h},
          {true, x + w, y + h, x, y + h},
          {false, x, y + h, x + miss, y + miss}};
}

std::vector<Edge> Reversed(std::vector<Edge> edges) {
  for (Edge& e : edges) e = {e.horizontal, e.x2, e.y2, e.x1, e.y1};
  return edges;
}

TEST(FrameSearch, RectanglesFromTheirSides) {
  const std::vector<Edge> a3 = Sides(-210, -148.5, 420, 297);
  std::vector<Edge> shuffled = {a3[2], a3[0], a3[3], a3[1]};
  std::vector<Edge> mixed = {a3[0], Reversed({a3[1]})[0], a3[2], Reversed({a3[3]})[0]};
  std::vector<Edge> twice = a3;
  twice.insert(twice.end(), a3.begin(), a3.end());
  struct Case {
    std::string name;
    std::vector<Edge> edges;
    int frames;
  } cases[] = {
      {"counter-clockwise", a3, 1},
      {"clockwise", Reversed(a3), 1},
      {"shuffled", shuffled, 1},
      {"directions mixed", mixed, 1},
      {"two identical sets", twice, 2},
      {"corner missed by 1e-7", Sides(0, 0, 420, 297, 1e-7), 0},
      {"corner missed by 1e-9", Sides(0, 0, 420, 297, 1e-9), 1},
      {"three sides", {a3[0], a3[1], a3[2]}, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    DxfFrameFinder f;
    Add(f, c.edges);
    f.Zw_SearchBox();
    ASSERT_EQ(f.Frames().size(), static_cast<size_t>(c.frames));
    for (const TJwZumenWakuWork& w : f.Frames()) {
      EXPECT_EQ(w.no, 0);
      EXPECT_NEAR(w.x2 - w.x1, 420, 1e-6);
      EXPECT_NEAR(w.y2 - w.y1, 297, 1e-6);
    }
    // Lines that closed a rectangle carry its number; the others stay free.
    int used = 0;
    for (const auto& list : {f.Horizontal(), f.Vertical()}) {
      for (const TJwZumenWakuWork& l : list) used += l.no != 0;
    }
    EXPECT_EQ(used, 4 * c.frames);
  }
}

TEST(FrameSearch, ExtentComesFromTheFirstHorizontalAndVerticalSide) {
  DxfFrameFinder f;
  Add(f, Sides(10, 20, 30, 40));
  f.Zw_SearchBox();
  ASSERT_EQ(f.Frames().size(), 1u);
  const TJwZumenWakuWork& w = f.Frames()[0];
  using Corners = std::array<double, 4>;
  EXPECT_EQ((Corners{w.x1, w.y1, w.x2, w.y2}), (Corners{10, 20, 40, 60}));
  // Emptying the candidates keeps the frames.
  f.InitZwhv(false);
  EXPECT_TRUE(f.Horizontal().empty());
  EXPECT_EQ(f.Frames().size(), 1u);
}

// Thousands of copies of a rectangle's three sides close nothing; the
// search gives up after its share of work instead of trying every
// combination of them.
TEST(FrameSearch, ManyOpenCandidatesEndTheSearch) {
  DxfFrameFinder f;
  const std::vector<Edge> open = {Sides(0, 0, 10, 10)[0], Sides(0, 0, 10, 10)[1],
                                  Sides(0, 0, 10, 10)[2]};
  for (int i = 0; i < 3000; ++i) Add(f, open);
  f.Zw_SearchBox();
  EXPECT_TRUE(f.Frames().empty());
}

std::vector<int> Keys(const DxfFrameFinder& f) {
  std::vector<int> keys;
  for (const TJwZumenWakuWork& w : f.Frames()) keys.push_back(w.no);
  return keys;
}

TEST(FrameOrder, ByNumberFoundOrderForEqualNumbersAtMostTheLimit) {
  struct Case {
    std::string name;
    std::vector<int> keys;
    DxfVersion ver;
    std::vector<int> sorted;     // keys after sorting
    std::vector<double> widths;  // x2 of each: which frame of a key it is
  } cases[] = {
      {"3, 1, 2", {3, 1, 2}, DxfVersion::R2000, {1, 2, 3}, {2, 3, 1}},
      {"equal numbers as found", {2, 2, 1}, DxfVersion::R2007, {1, 2, 2}, {3, 1, 2}},
      {"R12 keeps the first found", {3, 1, 2}, DxfVersion::R12, {3}, {1}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    DxfFrameFinder f;
    for (size_t i = 0; i < c.keys.size(); ++i) f.Zw_AddW(c.keys[i], 0, i + 1.0, 0, 1);
    f.Zw_SortN(c.ver);
    EXPECT_EQ(Keys(f), c.sorted);
    std::vector<double> widths;
    for (const TJwZumenWakuWork& w : f.Frames()) widths.push_back(w.x2);
    EXPECT_EQ(widths, c.widths);
  }
  DxfFrameFinder many;
  for (int i = 300; i > 0; --i) many.Zw_AddW(i, 0, 1, 0, 1);
  many.Zw_SortN(DxfVersion::R2000);
  ASSERT_EQ(many.Frames().size(), kMaxFrames);
  EXPECT_EQ(many.Frames().front().no, 1);
  EXPECT_EQ(many.Frames().back().no, static_cast<int>(kMaxFrames));
}

// Two frames side by side: 0 is (0, 0)-(100, 100), 1 is (200, 0)-(300, 100).
class FrameTests : public ::testing::Test {
 protected:
  void SetUp() override {
    f.Zw_AddW(0, 100, 0, 100, 0);  // corners in any order
    f.Zw_AddW(0, 200, 300, 0, 100);
  }
  DxfFrameFinder f;
};

TEST_F(FrameTests, Points) {
  EXPECT_EQ(f.Zw_ClipTen(50, 50), 0);
  EXPECT_EQ(f.Zw_ClipTen(250, 50), 1);
  EXPECT_EQ(f.Zw_ClipTen(0, 50), -1);  // on the frame line
  EXPECT_EQ(f.Zw_ClipTen(0.001, 50), 0);
  EXPECT_EQ(f.Zw_ClipTen(150, 50), -1);
}

TEST_F(FrameTests, Segments) {
  EXPECT_EQ(f.Zw_ClipLine(-50, 50, 350, 50), 0);   // across both: the first
  EXPECT_EQ(f.Zw_ClipLine(350, 50, 150, 50), 1);   // enters the second only
  EXPECT_EQ(f.Zw_ClipLine(0, -10, 0, 110), -1);    // along a frame line
  EXPECT_EQ(f.Zw_ClipLine(120, 50, 180, 50), -1);  // between them
}

TEST_F(FrameTests, Quadrilaterals) {
  EXPECT_EQ(f.Zw_ClipSquare(240, 40, 260, 40, 260, 60, 240, 60), 1);
  // Enclosing a frame with every edge outside it: not that frame.
  EXPECT_EQ(f.Zw_ClipSquare(-10, -10, 110, -10, 110, 110, -10, 110), -1);
  // Across the gap, its edges in both frames.
  EXPECT_EQ(f.Zw_ClipSquare(90, 40, 210, 40, 210, 60, 90, 60), 0);
}

TEST_F(FrameTests, Curves) {
  struct Case {
    std::string name;
    double x, y, r, h, start, sweep, axis;
    int frame;
  } cases[] = {
      {"small circle inside", 250, 50, 10, 1, 0, 0, 0, 1},
      {"whole turn as 360", 250, 50, 10, 1, 0, 360, 0, 1},
      // Frame 0 lies between the circle and its chords.
      {"circle around a frame, centre outside", -400, -400, 750, 1, 0, 0, 0, -1},
      {"circle around a frame, centre inside", 50, 50, 100, 1, 0, 0, 0, 0},
      {"arc reaching into the second frame", 150, 50, 60, 1, -45, 90, 0, 1},
      {"arc between the frames", 150, 50, 30, 1, -45, 90, 0, -1},
      {"flat elliptic arc reaching into the first", 150, 50, 70, 0.2, 90, 180, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(f.Zw_ClipArc(c.x, c.y, c.r, c.h, c.start, c.sweep, c.axis), c.frame);
  }
}

}  // namespace
}  // namespace parvex
