// The drawing-frame search: which lines and texts of a drawing make the
// frames of the layouts, their size, place and order.
#include <gtest/gtest.h>

#include <cmath>
#include <ostream>
#include <string>
#include <vector>

#include "converter/mapping/mapping_frames.h"
#include "tests/support/jww_writer.h"

namespace parvex::testing {
namespace {

// A frame as the test expects it: number and rectangle.
struct Frame {
  int no;
  double x1, y1, x2, y2;
  bool operator==(const Frame& o) const {
    auto near = [](double a, double b) { return std::fabs(a - b) <= 1e-9; };
    return no == o.no && near(x1, o.x1) && near(y1, o.y1) && near(x2, o.x2) && near(y2, o.y2);
  }
};

void PrintTo(const Frame& f, std::ostream* os) {
  *os << "#" << f.no << " (" << f.x1 << ", " << f.y1 << ")-(" << f.x2 << ", " << f.y2 << ")";
}

// Settings with one layout per frame; printer paper 400 x 300; drawing
// paper 420 x 297.
ConversionContext LayoutsContext(DxfVersion ver = DxfVersion::R2000) {
  ConversionContext ctx;
  ctx.Settings.DxfVersion = ver;
  ctx.Settings.OutputSpace = OutputSpace::Layouts;
  ctx.Settings.PrinterPaperWidth = 400;
  ctx.Settings.PrinterPaperHeight = 300;
  ctx.DrawingPaperSize = {420, 297};
  return ctx;
}

const Frame kWholePaper{0, -210, -148.5, 210, 148.5};

std::vector<Frame> FramesOf(const TJwwData& d, const ConversionContext& ctx) {
  DxfFrameFinder finder;
  DxfOutZumenWaku(MakeDrawingView(d), ctx, finder);
  std::vector<Frame> out;
  for (const TJwZumenWakuWork& w : finder.Frames()) out.push_back({w.no, w.x1, w.y1, w.x2, w.y2});
  return out;
}

TEntJwwMoji PrintOriginText(const std::u16string& rest, double x, double y, int kind = 0) {
  TEntJwwMoji t;
  t.att = Attr(0, 0, 9, 1);
  t.start_x = x;
  t.start_y = y;
  t.end_x = x + 30;
  t.end_y = y;
  t.nMojiShu = static_cast<uint32_t>(kind);
  t.dSizeX = t.dSizeY = 3;
  t.str = std::u16string(kPrintOriginMark) + rest;
  return t;
}

TJwwData Drawing(int32_t version = 600, int32_t nPrtSet = 40) {
  TJwwData d = MakeJwwDrawing(version);
  d.Enthd.nPrtSet = nPrtSet;  // anchor 4: the sheet centred on the text
  return d;
}

TEST(PrintOriginText, MagnificationNumberAndTurn) {
  struct Case {
    std::u16string rest;
    double magnification;
    int number;
    bool turned;
  } cases[] = {
      {u"50%N=2", 0.5, 2, false},
      {u"200％ n:7", 2, 7, false},
      {u"Ｎ＝12", 1, 12, false},
      {u"ｎ：3 回転", 1, 0, true},  // the text after the number spoils it
      {u"A3 50%", 1, 99999999, false},  // other text before the sign
      {u"0.0001%", 1, 99999999, false},  // below the range: 100 %
      {u"%", 1, 99999999, false},
      {u"逆転 N=-4", 1, -4, true},
      {u"N=123456789", 1, 12345678, false},  // 8 characters are read
      {u"", 1, 99999999, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.rest.begin(), c.rest.end()));
    const PrintOrigin o = ReadPrintOrigin(c.rest);
    EXPECT_DOUBLE_EQ(o.magnification, c.magnification);
    EXPECT_EQ(o.number, c.number);
    EXPECT_EQ(o.turned, c.turned);
  }
}

TEST(FrameSearchOfDrawing, FramesTheirNumbersAndOrder) {
  struct Case {
    std::string name;
    TJwwData drawing;
    std::vector<Frame> frames;
  };
  std::vector<Case> cases;
  {
    TJwwData d = Drawing();
    AddEntity(d, PrintOriginText(u"50%N=2", 10, 20));
    cases.push_back({"50% and N=2: sheet 2 of twice the printer paper", d,
                     {{2, 10 - 400, 20 - 300, 10 + 400, 20 + 300}}});
  }
  {
    TJwwData d = Drawing();
    AddEntity(d, PrintOriginText(u"N=2", 1000, 0));
    AddEntity(d, PrintOriginText(u"N=1", 0, 0));
    cases.push_back({"numbered 2 and 1: in the order 1, 2", d,
                     {{1, -200, -150, 200, 150}, {2, 800, -150, 1200, 150}}});
  }
  {
    TJwwData d = Drawing();
    AddEntity(d, PrintOriginText(u"A3 50%", 0, 0));
    cases.push_back({"other text before the percent sign: magnification 1", d,
                     {{99999999, -200, -150, 200, 150}}});
  }
  {
    TJwwData d = Drawing();
    AddEntity(d, PrintOriginText(u"", 0, 0));
    AddEntity(d, PrintOriginText(u"N=5", 1000, 0));
    cases.push_back({"without a number: last", d,
                     {{5, 800, -150, 1200, 150}, {99999999, -200, -150, 200, 150}}});
  }
  {
    TJwwData d = Drawing();
    AddEntity(d, PrintOriginText(u"回転", 0, 0));
    cases.push_back({"turned sheet", d, {{99999999, -150, -200, 150, 200}}});
  }
  {
    TJwwData d = Drawing(600, 0);  // anchor 0: the text at the lower left
    AddEntity(d, PrintOriginText(u"", 0, 0));
    cases.push_back({"anchored at the lower left", d, {{99999999, 0, 0, 400, 300}}});
  }
  {
    TJwwData d = Drawing(600, 81);  // anchor 8: the text at the upper right
    AddEntity(d, PrintOriginText(u"", 0, 0));
    cases.push_back({"anchored at the upper right", d, {{99999999, -400, -300, 0, 0}}});
  }
  {
    TJwwData d = Drawing(230, 0);  // before 300: always centred
    AddEntity(d, PrintOriginText(u"", 0, 0));
    cases.push_back({"older drawing: centred", d, {{99999999, -200, -150, 200, 150}}});
  }
  {
    TJwwData d = Drawing();
    AddEntity(d, PrintOriginText(u"", 0, 0, 1));  // text kind 1
    TEntJwwMoji other = PrintOriginText(u"", 0, 0);
    other.att.nPenColor = 1;
    AddEntity(d, other);
    cases.push_back({"texts of another kind or colour: no frame", d, {kWholePaper}});
  }
  {
    TJwwData d = Drawing();
    AddFrameRectangle(d, -200, -100, -10, 100);
    AddFrameRectangle(d, 10, -100, 200, 100);
    AddEntity(d, PrintOriginText(u"N=1", 1000, 0));
    cases.push_back(
        {"rectangles first (number 0), then the texts", d,
         {{0, -200, -100, -10, 100}, {0, 10, -100, 200, 100}, {1, 800, -150, 1200, 150}}});
  }
  {
    TJwwData d = Drawing();
    d.EntLay[3].aanLay = 0;  // group 0, layer 3 hidden
    AddFrameRectangle(d, -200, -100, 200, 100);
    d.EntLine[0].att.nLayer = 3;
    cases.push_back({"an edge on a hidden layer", d, {kWholePaper}});
  }
  {
    TJwwData d = Drawing();
    d.EntLgrp[2].anGLay = 0;  // group 2 hidden
    AddFrameRectangle(d, -200, -100, 200, 100);
    d.EntLine[0].att.nGLayer = 2;
    cases.push_back({"an edge in a hidden group", d, {kWholePaper}});
  }
  {
    TJwwData d = Drawing();
    AddFrameRectangle(d, -200, -100, 200, 100);
    d.EntLine[0].att.nPenWidth = 100;
    cases.push_back({"an edge of pen width 100", d, {kWholePaper}});
  }
  {
    TJwwData d = Drawing();
    AddFrameRectangle(d, 0, 0, 0.5, 100);
    cases.push_back({"horizontal edges 0.5 long", d, {kWholePaper}});
  }
  {
    TJwwData d = Drawing();
    AddFrameRectangle(d, 0, 0, 1, 1);
    cases.push_back({"a frame of 1 x 1", d, {{0, 0, 0, 1, 1}}});
  }
  cases.push_back({"no frame: the whole paper", Drawing(), {kWholePaper}});

  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(FramesOf(c.drawing, LayoutsContext()), c.frames);
  }
}

TEST(FrameSearchOfDrawing, R12KeepsTheFirstFoundAndOtherSpacesNone) {
  TJwwData d = Drawing();
  AddEntity(d, PrintOriginText(u"N=2", 1000, 0));
  AddEntity(d, PrintOriginText(u"N=1", 0, 0));
  EXPECT_EQ(FramesOf(d, LayoutsContext(DxfVersion::R12)),
            (std::vector<Frame>{{2, 800, -150, 1200, 150}}));
  for (OutputSpace space : {OutputSpace::Model, OutputSpace::ModelAndPaper}) {
    ConversionContext ctx = LayoutsContext();
    ctx.Settings.OutputSpace = space;
    EXPECT_TRUE(FramesOf(d, ctx).empty());
  }
}

// A shape file has no layer states and no print anchor: every line and
// text of the right pens counts, and a sheet is centred on its text.
TEST(FrameSearchOfDrawing, ShapeFiles) {
  TJwsData s = MakeJwsShape(700);
  s.EntLgrp[0].anGLay = 0;
  AddEntity(s, PrintOriginText(u"N=1", 0, 0));
  AddFrameRectangle(s, 1000, 0, 1100, 50);
  DxfFrameFinder finder;
  DxfOutZumenWaku(MakeDrawingView(s), LayoutsContext(), finder);
  ASSERT_EQ(finder.Frames().size(), 2u);
  EXPECT_EQ(finder.Frames()[0].x1, 1000);
  EXPECT_EQ(finder.Frames()[1].x1, -200);
  EXPECT_EQ(finder.Frames()[1].y2, 150);
}

}  // namespace
}  // namespace parvex::testing
