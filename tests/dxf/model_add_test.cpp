#include <string>

#include <gtest/gtest.h>

#include "converter/dxf/dxf_model.h"

namespace parvex {
namespace {

// A model with one layer of colour 3, line type 2 and lineweight 25.
class ModelAdd : public ::testing::Test {
 protected:
  void SetUp() override {
    m.SetDXFVer(1, 0);
    m.AddLayer(u"L", 3, 2, 25, true, true);
  }
  TDXFmodel m;
};

TEST_F(ModelAdd, AttributesEqualToTheLayersBecomeByLayer) {
  struct Case {
    int co, tp, wd;
    int col, typ, wid;
  };
  const Case cases[] = {
      {3, 2, 25, 0, 0, 0},     // all as the layer
      {5, 2, 30, 5, 0, 30},    // colour and lineweight explicit
      {-1, -1, -1, -1, -1, -1},  // by block stays by block
  };
  for (const Case& c : cases) {
    ASSERT_TRUE(m.AddLine(0, 0, c.co, c.tp, c.wd, 0, 0, 1, 1));
    const TDXF_Line& l = m.deLine.back();
    EXPECT_EQ(l.col, c.col);
    EXPECT_EQ(l.typ, c.typ);
    EXPECT_EQ(l.wid, c.wid);
  }
  // Points reduce colour and lineweight, solids and texts colour only,
  // images nothing.
  m.AddTen(0, 0, 3, 25, 0, 0, 0, 0, 1);
  EXPECT_EQ(m.deTen.back().col, 0);
  EXPECT_EQ(m.deTen.back().wid, 0);
  m.AddSolid3(0, 0, 3, 0, 0, 1, 0, 0, 1);
  EXPECT_EQ(m.deSld3.back().col, 0);
  m.AddMojiA(0, 0, 3, 0, 0, 0, 0, 0, 1, 0, 1, 1, 0, 0, u"", u"a");
  EXPECT_EQ(m.deMoji.back().col, 0);
  // A layer index that names no layer is stored without reduction.
  ASSERT_TRUE(m.AddLine(0, 7, 3, 2, 25, 0, 0, 1, 1));
  EXPECT_EQ(m.deLine.back().col, 3);
}

TEST_F(ModelAdd, ArcsBecomeCirclesArcsOrEllipses) {
  struct Case {
    bool block;
    double ratio, start, sweep, axis;
    int kind;
    double sa, da;  // stored start and sweep (arcs and ellipses)
  };
  const Case cases[] = {
      {false, 1, 0, 360, 0, kDxfCircle, 0, 0},
      {false, 1, 0, 0, 0, kDxfCircle, 0, 0},
      {false, 1, 30, -90, 0, kDxfArc, 30, -90},
      {false, 1, 350, 90, 20, kDxfArc, 10, 90},
      {false, 1, -30, 90, 30, kDxfArc, 0, 90},
      {false, 0.5, 10, 360, 5, kDxfEllipse, 10, 0},
      {false, 0.5, 10, 45, 5, kDxfEllipse, 10, 45},
      {true, 1, 0, 360, 0, kDxfArc, 0, 360},
      {true, 1, 0, 0, 0, kDxfCircle, 0, 0},
      {true, 0.5, 0, 360, 0, kDxfEllipse, 0, 360},
  };
  const int b = m.AddBlockDef(u"B", 1);
  for (const Case& c : cases) {
    if (c.block) {
      ASSERT_TRUE(m.AddBlockArc(b, 0, 0, 1, 1, 0, 5, 6, 2, c.ratio, c.start, c.sweep, c.axis));
    } else {
      ASSERT_TRUE(m.AddArc(0, 0, 1, 1, 0, 5, 6, 2, c.ratio, c.start, c.sweep, c.axis));
    }
    const std::vector<TDXF_EntNo>& order = c.block ? m.deBlockDef[0].dmNo : m.deNo;
    const TDXF_EntNo e = order.back();
    ASSERT_EQ(e.tp, c.kind) << c.ratio << " " << c.sweep;
    const auto& arcs = c.block ? m.deBlockDef[0].dmArc : m.deArc;
    const auto& ellis = c.block ? m.deBlockDef[0].dmElli : m.deElli;
    if (c.kind == kDxfArc) {
      EXPECT_DOUBLE_EQ(arcs[static_cast<std::size_t>(e.no)].sa, c.sa);
      EXPECT_DOUBLE_EQ(arcs[static_cast<std::size_t>(e.no)].da, c.da);
    } else if (c.kind == kDxfEllipse) {
      const TDXF_Ellipse& el = ellis[static_cast<std::size_t>(e.no)];
      EXPECT_DOUBLE_EQ(el.sa, c.sa);
      EXPECT_DOUBLE_EQ(el.da, c.da);
      EXPECT_DOUBLE_EQ(el.he, c.ratio);
    }
  }
}

TEST_F(ModelAdd, FourCornerSolidWithCoincidingLastCornersHasThree) {
  ASSERT_TRUE(m.AddSolid4(0, 0, 1, 0, 0, 1, 0, 1, 1, 1 + 1e-13, 1));
  EXPECT_EQ(m.deNo.back().tp, kDxfSolid3);
  EXPECT_DOUBLE_EQ(m.deSld3.back().x3, 1);
  ASSERT_TRUE(m.AddSolid4(0, 0, 1, 0, 0, 1, 0, 1, 1, 0, 1));
  EXPECT_EQ(m.deNo.back().tp, kDxfSolid4);
  EXPECT_EQ(m.deNo.back().no, 0);
}

TEST_F(ModelAdd, TextsAreClampedCutAndFlagged) {
  struct Case {
    std::u16string text;
    double w, h;
    int fl;
    std::size_t length;
    double sw, sh;
    bool tate, syat;
  };
  const std::u16string wide(300, u'全');
  const std::u16string narrow(300, u'a');
  // A surrogate pair at the cut is left out whole.
  const std::u16string pairAtCut = std::u16string(126, u'全') + u"a\U0001F600";
  const Case cases[] = {
      {wide, 0, 1e20, 0, 127, 1e-10, 1e10, false, false},
      {narrow, -2, 3, 1, 255, 2, 3, true, false},
      {u"x", 1, 1, 3, 1, 1, 1, true, false},
      {u"x", 1, 1, 2, 1, 1, 1, false, true},
      {pairAtCut, 1, 1, 0, 127, 1, 1, false, false},
  };
  for (const Case& c : cases) {
    ASSERT_TRUE(m.AddMojiA(0, 0, 1, 0, 0, c.fl, 0, 0, 1, 0, c.w, c.h, 0, 0, u"", c.text));
    const TDXF_Moji& t = m.deMoji.back();
    EXPECT_EQ(t.st.size(), c.length);
    EXPECT_EQ(t.st, c.text.substr(0, c.length));
    EXPECT_DOUBLE_EQ(t.w, c.sw);
    EXPECT_DOUBLE_EQ(t.h, c.sh);
    EXPECT_EQ(t.tate, c.tate);
    EXPECT_EQ(t.syat, c.syat);
  }
  // Without an expansion AddMoji stores the same; dimensions cut their text
  // too.
  ASSERT_TRUE(m.AddMoji(0, 0, 1, 0, 0, 3, 0, 0, 1, 0, 0, 1, 0, 0, u"", wide));
  EXPECT_EQ(m.deMoji.back().st.size(), 127u);
  EXPECT_TRUE(m.deMoji.back().tate);
  EXPECT_FALSE(m.deMoji.back().syat);
  ASSERT_TRUE(m.AddDim(0, 0, 1, 1, 0, -1, 0, 0, false, false, false, false, 0, 0, 0, 0, 0, 0, 0,
                       0, 0, 0, 0, 0, -1, 0, -1, 0, u"", wide));
  EXPECT_EQ(m.deDim.back().str.size(), 127u);
}

// Stands in for the text expansion: "%X" becomes "EXPANDED･tail" and
// "^C" becomes one line plus two texts.
class FakeExpander final : public TDXF_MojiExpander {
 public:
  bool CheckMojiExp1(const TDXFmodel&, std::u16string_view t) override { return t == u"%X"; }
  std::u16string GetMojiExp1(const TDXFmodel&, int, std::u16string_view) override {
    return u"EXPANDED\uFF65tail";
  }
  bool CheckMojiExp2(const TDXFmodel&, std::u16string_view t) override { return t == u"^C"; }
  std::u16string GetMojiExp2Str(const TDXFmodel&, int, std::u16string_view) override {
    return u"AB";
  }
  double GetMojiExp2Len(const TDXFmodel&, int, double, double, std::u16string_view) override {
    return 8;
  }
  void GetMojiExp2exp(TDXFmodel& m, int co, int, double px1, double py1, double pw, double ph,
                      double pa, std::u16string_view) override {
    widthSeen = pw;
    m.mexp.eLine.push_back(TDXF_Line{0, 0, co, 0, 0, px1, py1, px1 + 1, py1});
    TDXF_Moji a;
    a.st = u"A";
    a.w = pw;
    a.h = ph;
    a.a = pa;
    a.col = 4;
    a.tate = true;
    TDXF_Moji b = a;
    b.st = u"B";
    b.tate = false;
    b.syat = true;
    m.mexp.eMoji.push_back(a);
    m.mexp.eMoji.push_back(b);
  }
  double widthSeen = 0;
};

TEST_F(ModelAdd, AddMojiRunsTheExpansion) {
  FakeExpander ex;
  m.SetMojiExpander(&ex);
  m.SetMojiExpInfo(true, true, u"f", u"", u"", 0, 0, 0, 1, std::vector<double>(16, 1),
                   std::vector<int>(9, 1));
  // Macro: cut before the dot, end point from the run length of the whole
  // result (13 half-width characters of width 2 with spacing 0: 13).
  ASSERT_TRUE(m.AddMoji(0, 0, 1, 0, 0, 0, 10, 20, 0, 0, 2, 3, 0, 90, u"", u"%X"));
  EXPECT_EQ(m.deMoji.back().st, u"EXPANDED");
  EXPECT_NEAR(m.deMoji.back().x2, 10, 1e-9);
  EXPECT_NEAR(m.deMoji.back().y2, 20 + 13, 1e-9);
  // Control codes: a line and two texts, width = length / characters.
  const std::size_t before = m.deNo.size();
  ASSERT_TRUE(m.AddMoji(0, 0, 5, 0, 0, 0, 1, 2, 0, 0, 2, 3, 0, 0, u"", u"^C"));
  ASSERT_EQ(m.deNo.size(), before + 3);
  EXPECT_EQ(m.deNo[before].tp, kDxfLine);
  EXPECT_EQ(m.deLine.back().col, 5);
  EXPECT_DOUBLE_EQ(ex.widthSeen, 4);
  EXPECT_TRUE(m.deMoji[m.deMoji.size() - 2].tate);
  EXPECT_TRUE(m.deMoji.back().syat);
  EXPECT_TRUE(m.mexp.eLine.empty());
  EXPECT_TRUE(m.mexp.eMoji.empty());
  // Other texts and texts with the expansion switched off pass unchanged.
  ASSERT_TRUE(m.AddMoji(0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 1, 1, 0, 0, u"", u"plain"));
  EXPECT_EQ(m.deMoji.back().st, u"plain");
  m.mexp.flag1 = false;
  ASSERT_TRUE(m.AddMoji(0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 1, 1, 0, 0, u"", u"%X"));
  EXPECT_EQ(m.deMoji.back().st, u"%X");
}

TEST_F(ModelAdd, BlockAddersRefuseInvalidDefinitions) {
  const int b = m.AddBlockDef(u"B", 7);
  EXPECT_FALSE(m.AddBlockLine(-1, 0, 0, 1, 1, 0, 0, 0, 1, 1));
  EXPECT_FALSE(m.AddBlockLine(b + 1, 0, 0, 1, 1, 0, 0, 0, 1, 1));
  EXPECT_FALSE(m.AddBlockBlock(b, 0, 0, 1, 1, 0, b + 1, 0, 0, 0, 1, 1));
  EXPECT_FALSE(m.AddBlockDim(b, 0, 0, 1, 1, 0, -1, 0, 0, false, false, false, false, 0, 0, 0,
                             0, 0, 0, 0, 0, 0, 0, 0, 0, -1, 0, -1, 0, u"", u""));
  EXPECT_FALSE(m.AddBlockMoji(3, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 1, 1, 0, 0, u"", u"x"));
  EXPECT_TRUE(m.deBlockDef[0].dmNo.empty());
  EXPECT_TRUE(m.AddBlockBlock(b, 0, 0, 1, 1, 0, b, 0, 0, 0, 1, 1));
  EXPECT_EQ(m.GetBlockIdx(7), b);
  EXPECT_EQ(m.GetBlockIdx(8), -1);
}

TEST_F(ModelAdd, PolylineTakesNoMoreVerticesThanGiven) {
  const std::vector<TDXF_PLinePoint> pv = {{0, 0, 0}, {1, 0, 0.5}, {1, 1, 0}};
  ASSERT_TRUE(m.AddPLine(0, 0, 1, 1, 0, 0, 0, true, -2, pv));
  EXPECT_EQ(m.dePLin.back().vn, 2);
  ASSERT_TRUE(m.AddPLine(0, 0, 1, 1, 0, 0, 0, false, 10, pv));
  EXPECT_EQ(m.dePLin.back().vn, 3);
  EXPECT_EQ(m.dePLin.back().v.size(), 3u);
}

TEST(ModelLayout, OnePaperSpaceGivesAViewportPerScale) {
  TDXFmodel m;
  m.SetDXFVer(1, 1);
  m.deLgp[0].sc = 1;
  m.deLgp[1].sc = 100;
  m.deLgp[2].sc = 50;
  m.deLgp[3].sc = 100;
  for (int g = 4; g < 16; ++g) m.deLgp[static_cast<std::size_t>(g)].sc = 100;
  m.SetLgp(0, 0);
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
  EXPECT_DOUBLE_EQ(m.deVport[2].w, 15);
  EXPECT_DOUBLE_EQ(m.deVport[2].h, 20);
  EXPECT_DOUBLE_EQ(m.deVport[2].vx, 7.5 * 50 + 2 * m.papx * 100);
  // Placing again replaces the viewports, also in the order list.
  m.SetLgp(0, 0);
  int vports = 0;
  for (const TDXF_EntNo& e : m.deNo) {
    if (e.tp == kDxfVport) {
      ++vports;
      EXPECT_LT(e.no, m.deVportN());
    }
  }
  EXPECT_EQ(vports, m.deVportN());
}

TEST(ModelLayout, LayoutPerFrame) {
  TDXFmodel m;
  m.SetDXFVer(1, 2);
  m.deLgp[0].sc = 2;
  m.zw_w.push_back({0, -100, -50, 100, 50});
  m.SetLgp(0, 0);
  EXPECT_EQ(m.Ltn, 2);
  ASSERT_EQ(m.deVportN(), 2);
  EXPECT_EQ(m.deVport[1].spc, 1);
  EXPECT_DOUBLE_EQ(m.deVport[1].w, 200);
  EXPECT_DOUBLE_EQ(m.deVport[1].vx, 2 * (0 + m.papx / 2));
  EXPECT_DOUBLE_EQ(m.deVport[1].vh, 200);
  m.zw_w.push_back({0, 0, 0, 1, 1});
  m.zw_w.push_back({0, 0, 0, 1, 1});
  m.SetLgp(0, 0);
  EXPECT_EQ(m.Ltn, 3);
}

}  // namespace
}  // namespace parvex
