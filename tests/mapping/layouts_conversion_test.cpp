// Paper space and layouts end to end: drawings with frame rectangles or
// print-origin texts, and with blocks, converted with one layout per frame
// and with one paper space, read back with ezdxf and as pairs.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <numbers>
#include <string>
#include <utility>
#include <vector>

#include "conversion_fixture.h"
#include "tests/dxfaudit/dxf_audit.h"
#include "tests/support/image_files.h"
#include "tests/support/jww_writer.h"

namespace parvex::testing {
namespace {

constexpr double kPi = std::numbers::pi;
// The drawings lie on A3 (420 x 297): the model gets coordinates about the
// paper's lower-left corner.
constexpr double kHalfW = 210, kHalfH = 148.5;
// Group 0 is the base group (SettingsFor); group 1, the busiest other one,
// is drawn at 1:100.
constexpr double kModelScale = 100;

TEntJwwBlockDef Definition(uint32_t number, std::u16string name, int group) {
  TEntJwwBlockDef d;
  d.att = Attr(group, 0, 1, 1);
  d.nNumber = number;
  d.strName = std::move(name);
  return d;
}

TEntJwwEnko Circle(const TEntJwwAttr& a, double x, double y, double r) {
  TEntJwwEnko c;
  c.att = a;
  c.start_x = x;
  c.start_y = y;
  c.dHankei = r;
  c.radEnkoKaku = 2 * kPi;
  c.dHenpeiRitsu = 1;
  return c;
}

// What one sheet of the drawings holds, with its lower-left corner at
// (x, y): base-group entities of every kind and two block inserts, all
// well inside the sheet.
void AddSheetContents(TJwwData& d, double x, double y) {
  const TEntJwwAttr base = Attr(0, 1, 1, 1);
  AddEntity(d, MakeLine(base, x + 50, y + 50, x + 150, y + 50));
  AddEntity(d, Circle(base, x + 100, y + 120, 10));
  AddEntity(d, Text(base, x + 20, y + 180, x + 60, y + 180, u"平面図"));
  AddEntity(d, MakePoint(base, x + 140, y + 160));
  TEntJwwSolid s;
  s.att = base;
  s.start_x = x + 30, s.start_y = y + 80, s.end_x = x + 40, s.end_y = y + 80;
  s.DPoint2_x = x + 40, s.DPoint2_y = y + 90, s.DPoint3_x = x + 30, s.DPoint3_y = y + 90;
  AddEntity(d, s);
  AddEntity(d, MakeInsert(Attr(0, 2, 2, 1), 1, x + 100, y + 20));
  AddEntity(d, MakeInsert(Attr(0, 2, 2, 1), 1, x + 160, y + 100, 2, kPi / 2));
}

// Block 1 "WINDOW": a line (0, 0)-(10, 0) in the base group, a line of
// group 1, a circle, and an insert of block 2 "MULLION" (a line (0, 0)-(0,
// 4)).
void AddBlocks(TJwwData& d) {
  TEntJwwBlockDef window = Definition(1, u"WINDOW", 0);
  AddMember(window, MakeLine(Attr(0, 1, 1, 1), 0, 0, 10, 0));
  AddMember(window, MakeLine(Attr(1, 1, 1, 1), 0, 1, 10, 1));
  AddMember(window, Circle(Attr(0, 1, 1, 1), 5, 0, 1));
  AddMember(window, MakeInsert(Attr(0, 2, 2, 1), 2, 5, 0));
  d.EntBlockDef.push_back(window);
  TEntJwwBlockDef mullion = Definition(2, u"MULLION", 0);
  AddMember(mullion, MakeLine(Attr(0, 1, 1, 1), 0, 0, 0, 4));
  d.EntBlockDef.push_back(mullion);
}

// Common to both drawings: group 1 at 1:100 with a few lines (the busiest
// group but the base one), a base-group line outside every sheet.
TJwwData MakeSheetsBase() {
  TJwwData d = MakeColouredDrawing();
  d.EntLgrp[0].adScale = 1;
  d.EntLgrp[1].adScale = kModelScale;
  for (int i = 0; i < 5; ++i) AddEntity(d, MakeLine(Attr(1, 0, 2, 1), -100, i * 10, 100, i * 10));
  AddEntity(d, MakeLine(Attr(0, 1, 1, 1), 1000, 1000, 1100, 1000));
  AddBlocks(d);
  return d;
}

// Two frames drawn as rectangles: A (-400, -100)-(-210, 100) and
// B (-100, -100)-(90, 100). The second holds the origin, where the
// definitions' own coordinates lie.
TJwwData MakeFrameRectanglesDrawing() {
  TJwwData d = MakeSheetsBase();
  AddFrameRectangle(d, -400, -100, -210, 100);
  AddFrameRectangle(d, -100, -100, 90, 100);
  AddSheetContents(d, -400, -100);
  AddSheetContents(d, -100, -100);
  return d;
}

TEntJwwMoji PrintOrigin(const std::u16string& rest, double x, double y) {
  TEntJwwMoji t = Text(Attr(0, 0, 9, 1), x, y, x + 40, y, u"【印刷原点】" + rest, 0);
  return t;
}

// Two sheets of the printer paper (420 x 297) marked by print-origin texts
// at their centres, numbered so that the right one comes first; the second
// holds the origin.
TJwwData MakePrintOriginDrawing() {
  TJwwData d = MakeSheetsBase();
  d.Enthd.nPrtSet = 40;  // the sheet centred on its text
  AddEntity(d, PrintOrigin(u"N=2", 0, 0));
  AddEntity(d, PrintOrigin(u"N=1", 600, 0));
  AddSheetContents(d, -210, -148.5);
  AddSheetContents(d, 600 - 210, -148.5);
  return d;
}

struct Sheet {
  double x1, y1, x2, y2;  // the frame in drawing coordinates
};

Counts Sum(const DxfAuditReport& r) {
  Counts sum;
  for (const auto& [name, counts] : r.layouts) {
    for (const auto& [type, n] : counts) sum[type] += n;
  }
  for (const auto& [name, counts] : r.blocks) {
    for (const auto& [type, n] : counts) sum[type] += n;
  }
  sum.erase("VIEWPORT");
  return sum;
}

bool Near(double a, double b) { return std::fabs(a - b) <= 1e-6; }

bool HasLine(const std::vector<const DxfRecord*>& lines, double x1, double y1, double x2,
             double y2) {
  for (const DxfRecord* l : lines) {
    if (Near(l->Num(10), x1) && Near(l->Num(20), y1) && Near(l->Num(11), x2) &&
        Near(l->Num(21), y2)) {
      return true;
    }
  }
  return false;
}

bool HasExpandedLine(const DxfAuditReport& r, const std::string& layout, double x1, double y1,
                     double x2, double y2) {
  for (const ExpandedLine& l : r.expanded) {
    if (l.layout == layout && Near(l.p[0], x1) && Near(l.p[1], y1) && Near(l.p[2], x2) &&
        Near(l.p[3], y2)) {
      return true;
    }
  }
  return false;
}

// The entities of one layout: layout 1 is the paper space of ENTITIES
// (group 67), layout k >= 2 the block "*Paper_Space" + (k - 2).
std::vector<const DxfRecord*> InLayout(const DxfPairs& dxf, int k, const std::string& type) {
  std::vector<const DxfRecord*> out;
  if (k == 1) {
    for (const DxfRecord& e : dxf.entities) {
      if (e.type == type && e.Int(67) == 1) out.push_back(&e);
    }
    return out;
  }
  const std::string block = "*Paper_Space" + std::to_string(k - 2);
  for (const DxfRecord& e : dxf.blockEntities) {
    if (e.type == type && e.block == block) out.push_back(&e);
  }
  return out;
}

std::vector<const DxfRecord*> ModelSpace(const DxfPairs& dxf, const std::string& type) {
  std::vector<const DxfRecord*> out;
  for (const DxfRecord& e : dxf.entities) {
    if (e.type == type && e.Int(67) != 1) out.push_back(&e);
  }
  return out;
}

class Layouts : public ConversionTest, public ::testing::WithParamInterface<int> {
 protected:
  // Converts d with the settings s to model space alone and with one
  // layout per frame; both files audit clean and hold, over all spaces and
  // blocks, the same entities: nothing lost, nothing doubled. Returns the
  // audit of the file with layouts; `out` gets its pairs.
  DxfAuditReport ConvertWithLayouts(const TJwwData& d, ConversionSettings s, DxfPairs& out) {
    const auto source = Save(d, "sheets.jww");
    const auto model = Convert(source, s, "model.dxf");
    s.OutputSpace = OutputSpace::Layouts;
    const auto layouts = Convert(source, s, "layouts.dxf");
    auto reports = AuditDxfFiles({model, layouts}, DxfAuditDetail::Geometry);
    EXPECT_EQ(reports.size(), 2u);
    if (reports.size() != 2) return {};
    for (const DxfAuditReport& r : reports) EXPECT_TRUE(r.Clean()) << r.Describe();
    EXPECT_EQ(Sum(reports[1]), Sum(reports[0]));
    out = ReadDxfPairs(layouts);
    return std::move(reports[1]);
  }

  // Converts with one layout per frame and checks every sheet's layout
  // (each holding `texts` texts); also converts to model space alone for
  // the counts. `out` gets the pairs of the file with layouts.
  void CheckSheets(const TJwwData& d, const std::vector<Sheet>& sheets, int texts,
                   DxfPairs& out) {
    const DxfAuditReport r = ConvertWithLayouts(d, SettingsFor(GetParam()), out);
    EXPECT_EQ(r.layouts.size(), sheets.size() + 1);
    const DxfPairs& dxf = out;
    for (size_t i = 0; i < sheets.size(); ++i) {
      const int k = static_cast<int>(i) + 1;
      const std::string name = "レイアウト" + std::to_string(k);
      SCOPED_TRACE(name);
      const Sheet& f = sheets[i];
      const double w = f.x2 - f.x1, h = f.y2 - f.y1;
      // Every base-group entity of the sheet, placed from the frame's
      // lower-left corner at paper size; two viewports.
      const Counts expected = {{"LINE", 1},  {"CIRCLE", 1}, {"TEXT", texts}, {"POINT", 1},
                               {"SOLID", 1}, {"INSERT", 2}, {"VIEWPORT", 2}};
      ASSERT_TRUE(r.layouts.count(name));
      EXPECT_EQ(r.layouts.at(name), expected);
      EXPECT_TRUE(HasLine(InLayout(dxf, k, "LINE"), 50, 50, 150, 50));
      // The blocks come out at paper size: WINDOW's base line inserted at
      // (100, 20), and scaled 2 and turned at (160, 100); MULLION inside.
      EXPECT_TRUE(HasExpandedLine(r, name, 100, 20, 110, 20));
      EXPECT_TRUE(HasExpandedLine(r, name, 160, 100, 160, 120));
      EXPECT_TRUE(HasExpandedLine(r, name, 105, 20, 105, 24));
      // The frame's viewport shows the frame's area of model space.
      const auto vps = InLayout(dxf, k, "VIEWPORT");
      ASSERT_EQ(vps.size(), 2u);
      const DxfRecord& v = *vps[1];
      EXPECT_DOUBLE_EQ(v.Num(10), w / 2);
      EXPECT_DOUBLE_EQ(v.Num(20), h / 2);
      EXPECT_DOUBLE_EQ(v.Num(40), w);
      EXPECT_DOUBLE_EQ(v.Num(41), h);
      EXPECT_DOUBLE_EQ(v.Num(12), kModelScale * ((f.x1 + f.x2) / 2 + kHalfW));
      EXPECT_DOUBLE_EQ(v.Num(22), kModelScale * ((f.y1 + f.y2) / 2 + kHalfH));
      EXPECT_DOUBLE_EQ(v.Num(45), kModelScale * h);
    }
    // Everything else in model space at the model scale: the base-group
    // line outside the sheets, the frame lines (on the frame, not in it)
    // and the other groups.
    const auto lines = ModelSpace(dxf, "LINE");
    EXPECT_TRUE(HasModelLine(lines, 1000, 1000, 1100, 1000));
    EXPECT_TRUE(HasModelLine(lines, -100, 0, 100, 0));
    // Block contents belong to their definitions, at the model scale.
    ASSERT_TRUE(r.blocks.count("WINDOW"));
    EXPECT_EQ(r.blocks.at("WINDOW"), (Counts{{"LINE", 2}, {"CIRCLE", 1}, {"INSERT", 1}}));
  }

  // A line of the drawing placed in model space at the model scale.
  static bool HasModelLine(const std::vector<const DxfRecord*>& lines, double x1, double y1,
                           double x2, double y2) {
    auto at = [](double v, double half) { return (v + half) * kModelScale; };
    return HasLine(lines, at(x1, kHalfW), at(y1, kHalfH), at(x2, kHalfW), at(y2, kHalfH));
  }
};

TEST_P(Layouts, FrameRectangles) {
  DxfPairs dxf;
  CheckSheets(MakeFrameRectanglesDrawing(), {{-400, -100, -210, 100}, {-100, -100, 90, 100}}, 1,
              dxf);
  // The frame lines lie on the frames, not in them: model space.
  EXPECT_TRUE(HasModelLine(ModelSpace(dxf, "LINE"), -400, -100, -210, -100));
}

TEST_P(Layouts, PrintOriginTexts) {
  // Each sheet also holds its print-origin text.
  DxfPairs dxf;
  CheckSheets(MakePrintOriginDrawing(),
              {{600 - 210, -148.5, 600 + 210, 148.5}, {-210, -148.5, 210, 148.5}},
              2, dxf);
}

// A layout after the first is a block of its own, and what lands in it must
// not take block contents with it: a DIMENSION in layout 2 keeps its "*D"
// picture (placed on its points at paper size) and an IMAGE there keeps
// its definition and reactor.
TEST_P(Layouts, DimensionAndImageInTheSecondLayout) {
  TJwwData d = MakeSheetsBase();
  AddFrameRectangle(d, -400, -100, -210, 100);
  AddFrameRectangle(d, -100, -100, 90, 100);
  // A linear dimension from x -80 to -20 at y -50: its lines and its text
  // in one group, the text marked as a dimension value.
  TEntJwwAttr dim = Attr(0, 5, 2, 1);
  dim.lGroup = 7;
  AddEntity(d, Line(dim, -80, -50, -20, -50));
  AddEntity(d, Line(dim, -80, -60, -80, -48));
  AddEntity(d, Line(dim, -20, -48, -20, -60));
  TEntJwwAttr value = dim;
  value.sFlg = 0x4010;
  AddEntity(d, Text(value, -55, -49, -45, -49, u"60"));
  AddEntity(d, Text(Attr(0, 1, 1, 1), -80, -80, -40, -80, u"^@BMpic.png,40,30,0,0,1,0"));
  std::ofstream(dir_ / "pic.png", std::ios::binary) << PngImage(40, 30);

  ConversionSettings s = SettingsFor(GetParam());
  s.DimensionAsEntity = true;
  DxfPairs dxf;
  const DxfAuditReport r = ConvertWithLayouts(d, s, dxf);

  // Frame B is layout 2, its lower-left corner (-100, -100) the origin.
  ASSERT_EQ(r.dimensions.size(), 1u);
  const AuditedDimension& dimension = r.dimensions[0];
  EXPECT_EQ(dimension.container, "レイアウト2");
  EXPECT_TRUE(dimension.defined);
  EXPECT_TRUE(dimension.renders_block);
  ASSERT_TRUE(dimension.points.count("defpoint"));
  const auto at = dimension.points.at("defpoint");
  EXPECT_TRUE(Near(at[0], 80) && Near(at[1], 50)) << at[0] << ", " << at[1];
  const bool onLine = std::any_of(dimension.lines.begin(), dimension.lines.end(), [](auto& l) {
    return Near(l[0], 20) && Near(l[1], 50) && Near(l[2], 80) && Near(l[3], 50);
  });
  EXPECT_TRUE(onLine);

  ASSERT_EQ(r.images.size(), 1u);
  EXPECT_EQ(r.images[0].container, "レイアウト2");
  EXPECT_TRUE(Near(r.images[0].x, 20) && Near(r.images[0].y, 20));
  EXPECT_TRUE(Near(r.images[0].width, 40));
  EXPECT_EQ(r.objects.at("IMAGEDEF_REACTOR"), 1);
}

INSTANTIATE_TEST_SUITE_P(Versions, Layouts, ::testing::Values(1, 2),
                         [](const auto& info) { return std::string(kVersionNames[info.param]); });

// R12 has one paper space: the first frame found becomes it, and what lies
// in the other frames stays in model space like anything outside a frame.
TEST_F(ConversionTest, R12LayoutsKeepTheFirstFrame) {
  ConversionSettings s = SettingsFor(0);
  const auto source = Save(MakeFrameRectanglesDrawing(), "sheets.jww");
  const auto model = Convert(source, s, "model.dxf");
  s.OutputSpace = OutputSpace::Layouts;
  const auto layouts = Convert(source, s, "layouts.dxf");
  const auto reports = AuditDxfFiles({model, layouts});
  ASSERT_EQ(reports.size(), 2u);
  for (const DxfAuditReport& r : reports) EXPECT_TRUE(r.Clean()) << r.Describe();
  EXPECT_EQ(Sum(reports[1]), Sum(reports[0]));
  const DxfPairs dxf = ReadDxfPairs(layouts);
  EXPECT_TRUE(HasLine(InLayout(dxf, 1, "LINE"), 50, 50, 150, 50));
  EXPECT_EQ(InLayout(dxf, 1, "LINE").size(), 1u);
  auto at = [](double v, double half) { return (v + half) * kModelScale; };
  EXPECT_TRUE(HasLine(ModelSpace(dxf, "LINE"), at(-50, kHalfW), at(-50, kHalfH), at(50, kHalfW),
                      at(-50, kHalfH)));
  EXPECT_TRUE(InLayout(dxf, 2, "LINE").empty());
}

// One paper space: every model-space entity, the contents of placed blocks
// at any depth included, lies inside the viewport of its layer group's
// scale.
class PaperSpace : public ConversionTest, public ::testing::WithParamInterface<int> {};

TEST_P(PaperSpace, ViewportsShowEveryModelSpaceEntity) {
  TJwwData d = MakeColouredDrawing();
  const double scales[] = {1, 100, 50, 100};  // groups 0 (base) to 3
  for (int g = 0; g < 16; ++g) d.EntLgrp[g].adScale = g < 4 ? scales[g] : 1;
  for (int i = 0; i < 3; ++i) AddEntity(d, MakeLine(Attr(1, 0, 1, 1), -50, i * 10, 50, i * 10));
  AddEntity(d, MakeLine(Attr(2, 0, 1, 1), 80, 40, 120, 60));
  AddEntity(d, MakeLine(Attr(3, 0, 1, 1), 0, -100, 10, -100));
  AddEntity(d, MakeLine(Attr(0, 0, 1, 1), -200, -140, 200, -140));
  // Blocks of group 1 far from its other entities, one nested in the other,
  // placed turned and scaled.
  TEntJwwBlockDef far = Definition(3, u"FAR", 1);
  AddMember(far, MakeLine(Attr(1, 0, 1, 1), 0, 0, 30, 0));
  AddMember(far, MakeLine(Attr(1, 0, 1, 1), 0, 0, 0, 30));
  AddMember(far, MakeInsert(Attr(1, 2, 2, 1), 4, 30, 30));
  d.EntBlockDef.push_back(far);
  TEntJwwBlockDef nest = Definition(4, u"NEST", 1);
  AddMember(nest, MakeLine(Attr(1, 0, 1, 1), 0, 0, 10, 10));
  d.EntBlockDef.push_back(nest);
  AddEntity(d, MakeInsert(Attr(1, 2, 2, 1), 3, -180, 100, 1, kPi / 6));
  AddEntity(d, MakeInsert(Attr(1, 2, 2, 1), 3, 150, -130, 2));

  ConversionSettings s = SettingsFor(GetParam());
  s.OutputSpace = OutputSpace::ModelAndPaper;
  const auto out = Convert(Save(d, "paper.jww"), s, "paper.dxf");
  const DxfAuditReport r = AuditDxf(out, DxfAuditDetail::Geometry);
  EXPECT_TRUE(r.Clean()) << r.Describe();
  const DxfPairs dxf = ReadDxfPairs(out);

  struct View {
    double scale, x1, y1, x2, y2;  // model-space rectangle it shows
  };
  std::vector<View> views;
  for (const DxfRecord* v : dxf.OfType("VIEWPORT")) {
    if (v->Int(69) < 2) continue;  // the paper's own
    const double h = v->Num(45), w = h * v->Num(40) / v->Num(41);
    views.push_back({h / v->Num(41), v->Num(12) - w / 2, v->Num(22) - h / 2, v->Num(12) + w / 2,
                     v->Num(22) + h / 2});
  }
  ASSERT_EQ(views.size(), 3u);  // scales 100, 50 and 1 (the unused groups)
  auto shows = [&](double scale, double x, double y) {
    for (const View& v : views) {
      if (std::fabs(v.scale - scale) > 1e-9) continue;
      return x >= v.x1 - 1e-6 && x <= v.x2 + 1e-6 && y >= v.y1 - 1e-6 && y <= v.y2 + 1e-6;
    }
    return false;
  };
  // Model-space lines by their layer "index + 1" (group * 16 + layer).
  int checked = 0;
  for (const DxfRecord* l : ModelSpace(dxf, "LINE")) {
    const double scale = scales[(std::stoi(l->Str(8)) - 1) / 16];
    EXPECT_TRUE(shows(scale, l->Num(10), l->Num(20)) && shows(scale, l->Num(11), l->Num(21)))
        << "line on " << l->Str(8) << " at " << l->Num(10) << ", " << l->Num(20);
    ++checked;
  }
  // Lines of the placed blocks, all of group 1.
  for (const ExpandedLine& l : r.expanded) {
    if (l.layout != "Model") continue;
    EXPECT_TRUE(shows(100, l.p[0], l.p[1]) && shows(100, l.p[2], l.p[3]))
        << "block line at " << l.p[0] << ", " << l.p[1];
    ++checked;
  }
  EXPECT_EQ(checked, 5 + 2 * 3);
}

INSTANTIATE_TEST_SUITE_P(Versions, PaperSpace, ::testing::Values(1, 2),
                         [](const auto& info) { return std::string(kVersionNames[info.param]); });

}  // namespace
}  // namespace parvex::testing
