#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "converter/dxf/dxf_model.h"

namespace parvex {
namespace {

// The kind of the last record added to a container.
DxfEntityKind LastKind(const DxfEntities& c) { return c.Order().back().kind; }

// Names the records it is given, by overload.
struct KindNamer {
  std::vector<std::string>& seen;
  void operator()(const TDXF_Line& r) { seen.push_back("line " + std::to_string(r.x2)); }
  void operator()(const TDXF_Circle&) { seen.push_back("circle"); }
  void operator()(const TDXF_Moji&) { seen.push_back("text"); }
  void operator()(const TDXF_Solid4&) { seen.push_back("solid4"); }
  void operator()(const auto&) { seen.push_back("other"); }
};

// A model with one layer of colour 3, line type 2 and lineweight 25.
class ModelAdd : public ::testing::Test {
 protected:
  void SetUp() override {
    m.SetDXFVer(DxfVersion::R2000, OutputSpace::Model);
    m.AddLayer(u"L", 3, 2, 25, true, true);
  }
  template <class R>
  const R& Last(int bn = kTopLevel) {
    return m.Container(bn)->Records<R>().back();
  }
  TDXFmodel m;
};

TEST_F(ModelAdd, AttributesEqualToTheLayersBecomeByLayer) {
  struct Case {
    DxfAttributes given;
    DxfAttributes stored;
  };
  const Case cases[] = {
      {{0, 0, 3, 2, 25}, {0, 0, 0, 0, 0}},       // all as the layer
      {{0, 0, 5, 2, 30}, {0, 0, 5, 0, 30}},      // colour and lineweight explicit
      {{0, 0, -1, -1, -1}, {0, 0, -1, -1, -1}},  // by block stays by block
      {{0, 7, 3, 2, 25}, {0, 7, 3, 2, 25}},      // no layer 7: nothing to compare with
  };
  for (const Case& c : cases) {
    ASSERT_TRUE(m.AddLine(kTopLevel, {.attr = c.given, .x2 = 1, .y2 = 1}));
    const DxfAttributes& a = Last<TDXF_Line>().attr;
    EXPECT_EQ(a.layer, c.stored.layer);
    EXPECT_EQ(a.colour, c.stored.colour);
    EXPECT_EQ(a.ltype, c.stored.ltype);
    EXPECT_EQ(a.lineweight, c.stored.lineweight);
  }
  // Points reduce colour and lineweight, solids and texts colour only,
  // images nothing.
  const DxfAttributes asLayer = {.colour = 3, .ltype = 2, .lineweight = 25};
  m.AddTen(kTopLevel, {.attr = asLayer, .ba = 1});
  EXPECT_EQ(Last<TDXF_Ten>().attr.colour, 0);
  EXPECT_EQ(Last<TDXF_Ten>().attr.ltype, 2);
  EXPECT_EQ(Last<TDXF_Ten>().attr.lineweight, 0);
  m.AddSolid3(kTopLevel, {.attr = asLayer, .x2 = 1, .y3 = 1});
  EXPECT_EQ(Last<TDXF_Solid3>().attr.colour, 0);
  EXPECT_EQ(Last<TDXF_Solid3>().attr.lineweight, 25);
  m.AddMoji(kTopLevel, {.attr = asLayer, .x2 = 1, .w = 1, .h = 1, .st = u"a"});
  EXPECT_EQ(Last<TDXF_Moji>().attr.colour, 0);
  EXPECT_EQ(Last<TDXF_Moji>().attr.ltype, 2);
  m.AddImage(kTopLevel, {.attr = asLayer, .fna = u"a.png"});
  EXPECT_EQ(Last<TDXF_Image>().attr.colour, 3);
  // Block definitions reduce as the top level does.
  const int b = m.AddBlockDef(u"B", 1);
  ASSERT_TRUE(m.AddLine(b, {.attr = asLayer, .x2 = 1}));
  EXPECT_EQ(Last<TDXF_Line>(b).attr.colour, 0);
}

TEST_F(ModelAdd, ArcsBecomeCirclesArcsOrEllipses) {
  struct Case {
    bool block;
    double ratio, start, sweep, axis;
    DxfEntityKind kind;
    double sa, da;  // stored start and sweep (arcs and ellipses)
  };
  using K = DxfEntityKind;
  const Case cases[] = {
      {false, 1, 0, 360, 0, K::Circle, 0, 0},      {false, 1, 0, 0, 0, K::Circle, 0, 0},
      {false, 1, 30, -90, 0, K::Arc, 30, -90},     {false, 1, 350, 90, 20, K::Arc, 10, 90},
      {false, 1, -30, 90, 30, K::Arc, 0, 90},      {false, 0.5, 10, 360, 5, K::Ellipse, 10, 0},
      {false, 0.5, 10, 45, 5, K::Ellipse, 10, 45}, {true, 1, 0, 360, 0, K::Arc, 0, 360},
      {true, 1, 0, 0, 0, K::Circle, 0, 0},         {true, 0.5, 0, 360, 0, K::Ellipse, 0, 360},
  };
  const int b = m.AddBlockDef(u"B", 1);
  for (const Case& c : cases) {
    const int bn = c.block ? b : kTopLevel;
    ASSERT_TRUE(m.AddArc(bn, {.attr = {.colour = 1, .ltype = 1},
                              .x = 5,
                              .y = 6,
                              .r = 2,
                              .ratio = c.ratio,
                              .start = c.start,
                              .sweep = c.sweep,
                              .axis = c.axis}));
    ASSERT_EQ(LastKind(*m.Container(bn)), c.kind) << c.ratio << " " << c.sweep;
    if (c.kind == K::Arc) {
      EXPECT_DOUBLE_EQ(Last<TDXF_Arc>(bn).sa, c.sa);
      EXPECT_DOUBLE_EQ(Last<TDXF_Arc>(bn).da, c.da);
    } else if (c.kind == K::Ellipse) {
      const TDXF_Ellipse& el = Last<TDXF_Ellipse>(bn);
      EXPECT_DOUBLE_EQ(el.sa, c.sa);
      EXPECT_DOUBLE_EQ(el.da, c.da);
      EXPECT_DOUBLE_EQ(el.he, c.ratio);
    }
  }
}

TEST_F(ModelAdd, FourCornerSolidWithCoincidingLastCornersHasThree) {
  ASSERT_TRUE(m.AddSolid4(kTopLevel, {.x2 = 1, .x3 = 1, .y3 = 1, .x4 = 1 + 1e-13, .y4 = 1}));
  EXPECT_EQ(LastKind(m.Top()), DxfEntityKind::Solid3);
  EXPECT_DOUBLE_EQ(Last<TDXF_Solid3>().x3, 1);
  ASSERT_TRUE(m.AddSolid4(kTopLevel, {.x2 = 1, .x3 = 1, .y3 = 1, .y4 = 1}));
  EXPECT_EQ(LastKind(m.Top()), DxfEntityKind::Solid4);
  EXPECT_EQ(m.Top().Order().back().index, 0u);
}

TEST_F(ModelAdd, TextsAreClampedCutAndFlagged) {
  struct Case {
    std::u16string text;
    double w, h;
    bool tate, syat;  // given
    std::size_t length;
    double sw, sh;
    bool storedTate, storedSyat;
  };
  const std::u16string wide(300, u'全');
  const std::u16string narrow(300, u'a');
  // A surrogate pair at the cut is left out whole.
  const std::u16string pairAtCut = std::u16string(126, u'全') + u"a\U0001F600";
  const Case cases[] = {
      {wide, 0, 1e20, false, false, 127, 1e-10, 1e10, false, false},
      {narrow, -2, 3, true, false, 255, 2, 3, true, false},
      {u"x", 1, 1, true, true, 1, 1, 1, true, false},  // vertical, so not slanted
      {u"x", 1, 1, false, true, 1, 1, 1, false, true},
      {pairAtCut, 1, 1, false, false, 127, 1, 1, false, false},
      {std::u16string(127, u'全'), 1, 1, false, false, 127, 1, 1, false, false},
  };
  for (const Case& c : cases) {
    ASSERT_TRUE(m.AddMoji(kTopLevel, {.attr = {.colour = 1},
                                      .tate = c.tate,
                                      .syat = c.syat,
                                      .x2 = 1,
                                      .w = c.w,
                                      .h = c.h,
                                      .st = c.text}));
    const TDXF_Moji& t = Last<TDXF_Moji>();
    EXPECT_EQ(t.st.size(), c.length);
    EXPECT_EQ(t.st, c.text.substr(0, c.length));
    EXPECT_DOUBLE_EQ(t.w, c.sw);
    EXPECT_DOUBLE_EQ(t.h, c.sh);
    EXPECT_EQ(t.tate, c.storedTate);
    EXPECT_EQ(t.syat, c.storedSyat);
  }
  // Dimensions cut their text too.
  ASSERT_TRUE(m.AddDim(kTopLevel, {.attr = {.colour = 1, .ltype = 1}, .str = wide}));
  EXPECT_EQ(Last<TDXF_Dimension>().str.size(), 127u);
}

TEST_F(ModelAdd, FontNamesAreKeptOnce) {
  const int a = m.FontIndex(u"ＭＳ 明朝");
  const int b = m.FontIndex(u"@ＭＳ 明朝");
  EXPECT_NE(a, b);
  EXPECT_EQ(m.FontIndex(u"ＭＳ 明朝"), a);
  EXPECT_EQ(m.FontName(b), u"@ＭＳ 明朝");
  EXPECT_EQ(m.FontName(-1), u"");
  EXPECT_EQ(m.FontName(b + 1), u"");
}

TEST_F(ModelAdd, BlockContainersRefuseWhatTheyCannotHold) {
  const int b = m.AddBlockDef(u"B", 7);
  const TDXF_Line line = {.x2 = 1, .y2 = 1};
  EXPECT_FALSE(m.AddLine(-2, line));
  EXPECT_FALSE(m.AddLine(b + 1, line));
  EXPECT_FALSE(m.AddMoji(3, {.w = 1, .h = 1, .st = u"x"}));
  // In a definition, inserts and dimensions must name an existing one.
  EXPECT_FALSE(m.AddBlock(b, {.bln = b + 1}));
  EXPECT_FALSE(m.AddDim(b, {.bln = -1}));
  EXPECT_TRUE(m.Container(b)->empty());
  EXPECT_TRUE(m.AddBlock(b, {.bln = b}));
  // At the top level they are kept (and left unwritten).
  EXPECT_TRUE(m.AddBlock(kTopLevel, {.bln = b + 1}));
  EXPECT_TRUE(m.AddDim(kTopLevel, {.bln = -1}));
  // Viewports exist at the top level only.
  EXPECT_FALSE(m.Container(b)->Holds<TDXF_ViewPort>());
  EXPECT_TRUE(m.Top().Holds<TDXF_ViewPort>());
  EXPECT_TRUE(m.AddVPort({.attr = {.space = 1}}));
  EXPECT_EQ(m.Viewports().back().id, 1);
  EXPECT_EQ(m.GetBlockIdx(7), b);
  EXPECT_EQ(m.GetBlockIdx(8), -1);
}

TEST_F(ModelAdd, RecordsAreVisitedInTheOrderAdded) {
  m.AddLine(kTopLevel, {.x2 = 1});
  m.AddArc(kTopLevel, {.r = 1});
  m.AddLine(kTopLevel, {.x2 = 2});
  m.AddMoji(kTopLevel, {.w = 1, .h = 1, .st = u"t"});
  m.AddSolid4(kTopLevel, {.x3 = 1, .y3 = 1, .y4 = 1});
  std::vector<std::string> seen;
  std::as_const(m.Top()).Visit(KindNamer{seen});
  EXPECT_EQ(seen, (std::vector<std::string>{"line 1.000000", "circle", "line 2.000000", "text",
                                            "solid4"}));
}

TEST(ModelLayout, OnePaperSpaceGivesAViewportPerScale) {
  TDXFmodel m;
  m.SetDXFVer(DxfVersion::R2000, OutputSpace::ModelAndPaper);
  m.deLgp[0].sc = 1;
  m.deLgp[1].sc = 100;
  m.deLgp[2].sc = 50;
  m.deLgp[3].sc = 100;
  for (int g = 4; g < 16; ++g) m.deLgp[static_cast<std::size_t>(g)].sc = 100;
  m.AddLine(kTopLevel, {.x2 = 1});
  m.SetLgp(0, 0, {});
  EXPECT_EQ(m.deLgp[0].n, 0);
  EXPECT_EQ(m.deLgp[1].n, 1);
  EXPECT_EQ(m.deLgp[2].n, 2);
  EXPECT_EQ(m.deLgp[3].n, 1);
  EXPECT_DOUBLE_EQ(m.deLgp[2].dx, 2 * m.papx * 100);
  EXPECT_DOUBLE_EQ(m.deLgp[3].dx, 0);
  ASSERT_EQ(m.deVportN(), 3);
  m.SetVPortMinMax(2, 10, 20);
  m.SetVPortMinMax(2, 5, 30);
  m.SetVPortMinMax(9, 0, 0);  // ignored
  m.SetVPortArea();
  EXPECT_DOUBLE_EQ(m.Viewports()[2].w, 15);
  EXPECT_DOUBLE_EQ(m.Viewports()[2].h, 20);
  EXPECT_DOUBLE_EQ(m.Viewports()[2].vx, 7.5 * 50 + 2 * m.papx * 100);
  // Placing again replaces the viewports, also in the order list, and
  // keeps the other entities.
  m.SetLgp(0, 0, {});
  int vports = 0;
  for (const DxfEntities::Entry& e : m.Top().Order()) {
    if (e.kind == DxfEntityKind::Viewport) {
      ++vports;
      EXPECT_LT(e.index, static_cast<std::uint32_t>(m.deVportN()));
    }
  }
  EXPECT_EQ(vports, m.deVportN());
  EXPECT_EQ(m.Top().Records<TDXF_Line>().size(), 1u);
}

TEST(ModelLayout, LayoutPerFrame) {
  TDXFmodel m;
  m.SetDXFVer(DxfVersion::R2000, OutputSpace::Layouts);
  m.deLgp[0].sc = 2;
  DxfFrameFinder frames;
  frames.Zw_AddW(0, 100, -100, 50, -50);  // corners in any order
  m.SetLgp(0, 0, frames.Frames());
  EXPECT_EQ(m.Ltn, 2);
  ASSERT_EQ(m.deVportN(), 2);
  EXPECT_EQ(m.Viewports()[1].attr.space, 1);
  EXPECT_DOUBLE_EQ(m.Viewports()[1].w, 200);
  EXPECT_DOUBLE_EQ(m.Viewports()[1].vx, 2 * (0 + m.papx / 2));
  EXPECT_DOUBLE_EQ(m.Viewports()[1].vh, 200);
  frames.Zw_AddW(0, 0, 1, 0, 1);
  frames.Zw_AddW(0, 0, 1, 0, 1);
  m.SetLgp(0, 0, frames.Frames());
  EXPECT_EQ(m.Ltn, 3);
  EXPECT_EQ(m.layoutFrames.size(), 3u);
  // Each layout numbers its viewports from 1, its paper.
  using Ids = std::vector<std::pair<int, int>>;  // space, id
  Ids ids;
  for (const TDXF_ViewPort& v : m.Viewports()) ids.emplace_back(v.attr.space, v.id);
  EXPECT_EQ(ids, (Ids{{1, 1}, {1, 2}, {2, 1}, {2, 2}, {3, 1}, {3, 2}}));
  frames.InitZwhv(true);
  EXPECT_TRUE(frames.Frames().empty());
}

}  // namespace
}  // namespace parvex
