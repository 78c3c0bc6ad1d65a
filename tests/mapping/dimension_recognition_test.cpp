// Which entities form a dimension group, which kind of dimension a group
// is, and the DIMENSION values a recognised group gives, on drawings built
// in memory.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <numbers>
#include <optional>
#include <string>
#include <vector>

#include "conversion_fixture.h"
#include "converter/mapping/mapping_dimensions.h"
#include "tests/support/jww_writer.h"

namespace parvex::testing {
namespace {

constexpr double kPi = std::numbers::pi;
constexpr uint32_t kGroup = 7;

TEntJwwAttr Grouped(uint16_t sFlg = 0, uint32_t group = kGroup) {
  TEntJwwAttr a = Attr(0, 5, 2, 1);
  a.lGroup = group;
  a.sFlg = sFlg;
  return a;
}

TEntJwwMoji DimText(std::u16string s, uint16_t sFlg = 0, int base = 0) {
  TEntJwwMoji t = Text(Grouped(sFlg), 40, 1, 60, 1, std::move(s));
  t.att.nPenStyle = static_cast<uint8_t>(base);
  return t;
}

TEntJwwEnko Arc(double start, double sweep, double flattening = 1) {
  TEntJwwEnko a;
  a.att = Grouped();
  a.dHankei = 10;
  a.radKaishiKaku = start;
  a.radEnkoKaku = sweep;
  a.dHenpeiRitsu = flattening;
  return a;
}

// The groups of a drawing's top level, and the first one's recognition.
struct Found {
  std::vector<DimensionGroup> groups;
  std::optional<RecognisedDimension> dim;
};

Found Recognise(const TJwwData& d) {
  Found f;
  const JwDrawingView view = MakeDrawingView(d);
  f.groups = GroupDimensionMembers(view);
  if (!f.groups.empty()) {
    const auto& g = f.groups.front();
    f.dim = RecogniseDimension(
        g, g.def < 0 ? view.top : MembersOf(view.blockDefs[static_cast<size_t>(g.def)]));
  }
  return f;
}

// ---- Recognisers -------------------------------------------------------------

struct KindCase {
  const char* name;
  std::function<void(TJwwData&)> build;
  std::optional<DimensionKind> kind;  // nothing: stays geometry
};

TEST(DimensionRecognition, FirstAcceptingTestDecidesTheKind) {
  auto lineAnd = [](TEntJwwMoji text) {
    return [text](TJwwData& d) {
      AddEntity(d, Line(Grouped(), 0, 0, 100, 0));
      AddEntity(d, text);
    };
  };
  auto arcAnd = [](TEntJwwEnko arc, TEntJwwMoji text) {
    return [arc, text](TJwwData& d) {
      AddEntity(d, arc);
      AddEntity(d, text);
    };
  };
  const std::vector<KindCase> cases = {
      {"diameter by φ", lineAnd(DimText(u"φ50")), DimensionKind::Diameter},
      {"radius by R", lineAnd(DimText(u"R25")), DimensionKind::Radius},
      {"radius by full-width Ｒ", lineAnd(DimText(u"Ｒ25")), DimensionKind::Radius},
      {"φ before R", lineAnd(DimText(u"Rφ")), DimensionKind::Diameter},
      {"angular by °", arcAnd(Arc(0, kPi / 2), DimText(u"90°")), DimensionKind::Angular},
      {"angular by half-width ﾟ", arcAnd(Arc(0, kPi / 2), DimText(u"90ﾟ")),
       DimensionKind::Angular},
      {"angular arc of flattening 1 + 1e-13",
       arcAnd(Arc(0, kPi / 2, 1 + 1e-13), DimText(u"90°")), DimensionKind::Angular},
      {"no angular dimension on an elliptic arc",
       arcAnd(Arc(0, kPi / 2, 0.5), DimText(u"90°")), std::nullopt},
      {"diameter by flags", lineAnd(DimText(u"50", 0x4210)), DimensionKind::Diameter},
      {"radius by flags", lineAnd(DimText(u"25", 0x4110)), DimensionKind::Radius},
      {"angular by flags", arcAnd(Arc(0, 1), DimText(u"57", 0x4410)), DimensionKind::Angular},
      {"linear by flags", lineAnd(DimText(u"100", 0x4010)), DimensionKind::Linear},
      {"linear flags ignore 0x1800", lineAnd(DimText(u"100", 0x5810)), DimensionKind::Linear},
      {"flags 0x5210 fit no mask", lineAnd(DimText(u"100", 0x5210)), std::nullopt},
      {"a plain text stays geometry", lineAnd(DimText(u"100")), std::nullopt},
      {"no text", [](TJwwData& d) { AddEntity(d, Line(Grouped(), 0, 0, 1, 0)); }, std::nullopt},
      {"no line for a diameter",
       [](TJwwData& d) {
         AddEntity(d, Arc(0, kPi));
         AddEntity(d, DimText(u"φ20"));
       },
       std::nullopt},
      {"a dimension record supplies line and text",
       [](TJwwData& d) {
         TEntJwwSunpo r;
         r.att = Grouped();
         r.Sen = Line(Grouped(), 0, 0, 50, 0);
         r.Moji = DimText(u"φ50");
         AddEntity(d, r);
       },
       DimensionKind::Diameter},
      {"an SXF-mode record is a dimension by itself",
       [](TJwwData& d) {
         TEntJwwSunpo r;
         r.att = Grouped();
         r.bSxfMode = 1;
         r.Sen = Line(Grouped(), 0, 0, 50, 0);
         r.Moji = DimText(u"plain");
         AddEntity(d, r);
       },
       DimensionKind::SxfRecord},
  };
  for (const KindCase& c : cases) {
    SCOPED_TRACE(c.name);
    TJwwData d = MakeJwwDrawing(600);
    c.build(d);
    const Found f = Recognise(d);
    ASSERT_EQ(f.groups.size(), 1u);
    ASSERT_EQ(f.dim.has_value(), c.kind.has_value());
    if (c.kind) {
      EXPECT_EQ(f.dim->kind, *c.kind);
    }
  }
}

// ---- Grouping ----------------------------------------------------------------

TEST(DimensionGrouping, MembersByLevelAndKind) {
  TJwwData d = MakeJwwDrawing(600);
  TEntJwwBlockDef def;
  def.nNumber = 1;
  def.ref_flag = true;
  AddMember(def, Line(Grouped(), 0, 0, 1, 0));  // opens group 7 in the definition
  d.EntBlockDef.push_back(def);
  TEntJwwBlockDef unused = def;
  unused.ref_flag = false;  // inserted nowhere: not grouped
  unused.mLine.front().att.lGroup = 8;
  d.EntBlockDef.push_back(unused);

  AddEntity(d, Line(Grouped(0, 8), 0, 0, 1, 0));   // 0: group 8
  AddEntity(d, Line(Grouped(), 0, 0, 1, 0));       // 1: group 7 is the definition's
  AddEntity(d, DimText(u"x"));                     // 2: likewise
  AddEntity(d, Text(Grouped(0, 8), 5, 5, 5, 5, u"dot"));           // 3: no extent
  AddEntity(d, Text(Grouped(0, 8), 0, 0, 9, 0, u"^@BMa.bmp,1,1"));  // 4: an image
  TEntJwwBlock insert;
  insert.att = Grouped(0, 8);
  insert.nNumber = 1;
  AddEntity(d, insert);                            // 5: inserts are never grouped
  AddEntity(d, Line(Attr(0, 0), 0, 0, 1, 0));      // 6: no group number
  TEntJwwSunpo sxf;
  sxf.att = Grouped(0, 8);
  sxf.bSxfMode = 1;
  AddEntity(d, sxf);                               // 7: a group of its own
  AddEntity(d, sxf);                               // 8: another
  TEntJwwEnko arc = Arc(0, 1);
  arc.att.lGroup = 8;
  AddEntity(d, arc);                               // 9: group 8
  TEntJwwSolid solid;
  solid.att = Grouped(0, 8);
  AddEntity(d, solid);                             // 10: group 8
  AddEntity(d, MakePoint(Grouped(0, 8), 1, 1));    // 11: group 8

  const std::vector<DimensionGroup> groups = GroupDimensionMembers(MakeDrawingView(d));
  ASSERT_EQ(groups.size(), 4u);
  EXPECT_EQ(groups[0].def, 0);
  EXPECT_EQ(groups[0].key, kGroup);
  EXPECT_EQ(groups[0].members, std::vector<int>{0});
  EXPECT_EQ(groups[1].def, -1);
  EXPECT_EQ(groups[1].key, 8u);
  EXPECT_EQ(groups[1].members, (std::vector<int>{0, 9, 10, 11}));
  EXPECT_EQ(groups[2].key, 0u);
  EXPECT_EQ(groups[2].members, std::vector<int>{7});
  EXPECT_EQ(groups[3].members, std::vector<int>{8});
}

// ---- DIMENSION values --------------------------------------------------------

TEST(DimensionValues, LinearAngleIsZeroForHorizontalLinesEitherWay) {
  struct Case {
    double x1, y1, x2, y2;
    double angle;
  };
  const Case cases[] = {
      {0, 0, 100, 0, 0}, {100, 0, 0, 0, 0}, {0, 0, 0, 50, 270}, {0, 50, 0, 0, 90},
      {0, 0, 10, 10, 225},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.x1 << "," << c.y1 << " - " << c.x2 << "," << c.y2);
    TJwwData d = MakeJwwDrawing(600);
    AddEntity(d, Line(Grouped(), c.x1, c.y1, c.x2, c.y2));
    AddEntity(d, DimText(u"100", 0x4010));
    const Found f = Recognise(d);
    ASSERT_TRUE(f.dim);
    const auto r = DimensionEntity(*f.dim, 0, 0);
    ASSERT_TRUE(r);
    EXPECT_EQ(r->stp, 160);
    EXPECT_NEAR(r->ang, c.angle, 1e-9);
  }
}

TEST(DimensionValues, AttachmentSwapsTopAndBottomRows) {
  const std::pair<int, int> cases[] = {{1, 7}, {7, 1}, {2, 8}, {8, 2}, {3, 9}, {9, 3},
                                       {4, 4}, {5, 5}, {6, 6}, {0, 0}, {42, 0}};
  for (const auto& [base, attachment] : cases) {
    SCOPED_TRACE(base);
    TJwwData d = MakeJwwDrawing(600);
    AddEntity(d, Line(Grouped(), 0, 0, 100, 0));
    AddEntity(d, DimText(u"φ100", 0, base));
    const Found f = Recognise(d);
    ASSERT_TRUE(f.dim);
    EXPECT_EQ(DimensionEntity(*f.dim, 0, 0)->bas, attachment);
  }
}

// Extension lines of a loose linear dimension: steep lines through the
// dimension line's ends, as drawn; without them the dimension line's ends.
TEST(DimensionValues, LinearExtensionLines) {
  TJwwData d = MakeJwwDrawing(600);
  AddEntity(d, Line(Grouped(), 0, 0, 100, 0));
  AddEntity(d, DimText(u"100", 0x4010));
  AddEntity(d, Line(Grouped(), 0, 0, 100, 1));     // too flat
  AddEntity(d, Line(Grouped(), 100, 5, 100, -10));  // through the end
  AddEntity(d, Line(Grouped(), 0, -10, 0, 5));      // through the start
  Found f = Recognise(d);
  ASSERT_TRUE(f.dim);
  auto r = DimensionEntity(*f.dim, 10, 20);
  ASSERT_TRUE(r);
  EXPECT_EQ(std::make_pair(r->x3, r->y3), std::make_pair(10.0, 10.0));
  EXPECT_EQ(std::make_pair(r->x4, r->y4), std::make_pair(110.0, 25.0));
  EXPECT_EQ(std::make_pair(r->x0, r->y0), std::make_pair(110.0, 20.0));
  EXPECT_EQ(std::make_pair(r->x1, r->y1), std::make_pair(60.0, 20.0));

  TJwwData bare = MakeJwwDrawing(600);
  AddEntity(bare, Line(Grouped(), 0, 0, 100, 0));
  AddEntity(bare, DimText(u"100", 0x4010));
  f = Recognise(bare);
  ASSERT_TRUE(f.dim);
  r = DimensionEntity(*f.dim, 0, 0);
  ASSERT_TRUE(r && r->fl3 && r->fl4);
  EXPECT_EQ(std::make_pair(r->x3, r->y3), std::make_pair(0.0, 0.0));
  EXPECT_EQ(std::make_pair(r->x4, r->y4), std::make_pair(100.0, 0.0));
}

// A radius whose leader continues beyond its start is turned, so that the
// arc end (point 15) is the one with the continuation.
TEST(DimensionValues, RadiusTurnsTowardsItsContinuation) {
  TJwwData d = MakeJwwDrawing(600);
  AddEntity(d, Line(Grouped(), 0, 0, 10, 0));
  AddEntity(d, DimText(u"R10"));
  AddEntity(d, Line(Grouped(), -3, 0, 0, 0));
  const Found f = Recognise(d);
  ASSERT_TRUE(f.dim);
  const auto r = DimensionEntity(*f.dim, 0, 0);
  ASSERT_TRUE(r);
  EXPECT_EQ(r->stp, 164);
  EXPECT_EQ(std::make_pair(r->x0, r->y0), std::make_pair(10.0, 0.0));
  EXPECT_EQ(std::make_pair(r->x5, r->y5), std::make_pair(0.0, 0.0));
  EXPECT_FALSE(r->fl3 || r->fl4);
}

// The legs of an angular dimension lie along the arc's end directions; a
// leg drawn from the centre counts (the centre lies in every direction).
// Without a leg the arc's end stands in for it.
TEST(DimensionValues, AngularFromEitherSweep) {
  struct Leg {
    const char* name;
    std::optional<double> fromY;  // second leg along 90° from (0, fromY) to (0, 20)
    double y4;
  };
  const Leg legs[] = {{"leg apart from the centre", 3.0, 3},
                      {"leg from the centre", 0.0, 0},
                      {"no second leg", std::nullopt, 10}};
  for (const auto& [start, sweep] : {std::pair{0.0, kPi / 2}, std::pair{kPi / 2, -kPi / 2}}) {
    for (const Leg& leg : legs) {
      SCOPED_TRACE(::testing::Message() << sweep << " " << leg.name);
      TJwwData d = MakeJwwDrawing(600);
      AddEntity(d, Arc(start, sweep));
      AddEntity(d, DimText(u"90°"));
      AddEntity(d, Line(Grouped(), 20, 0, 0, 0));  // along 0°, drawn towards the centre
      if (leg.fromY) AddEntity(d, Line(Grouped(), 0, *leg.fromY, 0, 20));
      const Found f = Recognise(d);
      ASSERT_TRUE(f.dim);
      EXPECT_DOUBLE_EQ(f.dim->sa, 0);
      EXPECT_DOUBLE_EQ(f.dim->ea, 90);
      const auto r = DimensionEntity(*f.dim, 0, 0);
      ASSERT_TRUE(r);
      EXPECT_EQ(r->stp, 165);
      EXPECT_NEAR(r->x0, 10 / std::sqrt(2.0), 1e-12);
      EXPECT_NEAR(r->y0, 10 / std::sqrt(2.0), 1e-12);
      EXPECT_EQ(std::make_pair(r->x3, r->y3), std::make_pair(0.0, 0.0));
      EXPECT_NEAR(r->x4, 0, 1e-12);
      EXPECT_NEAR(r->y4, leg.y4, 1e-12);
      EXPECT_EQ(std::make_pair(r->x5, r->y5), std::make_pair(0.0, 0.0));
    }
  }
}

TEST(DimensionValues, SxfRecordTakesItsPartsAndAttributes) {
  TJwwData d = MakeJwwDrawing(600);
  TEntJwwSunpo r;
  r.att = Attr(3, 4, 6, 1);
  r.bSxfMode = 1;
  r.Sen = Line(Attr(1, 1, 2, 5), 100, -30, 0, -30);
  r.Moji = Text(Attr(3, 4, 2, 3), 45, -29, 55, -19, u"100");
  r.Ho1 = Line(Attr(0, 0), 0, -32, 0, -20);    // turned: -20 is nearer Kt1
  r.Ho2 = Line(Attr(0, 0), 100, -20, 100, -32);
  r.Kt1 = MakePoint(Attr(0, 0), 0, -20);
  r.Kt2 = MakePoint(Attr(0, 0), 100, -20);
  AddEntity(d, r);
  const Found f = Recognise(d);
  ASSERT_TRUE(f.dim);
  EXPECT_EQ(f.dim->attr.nGLayer, 3);
  EXPECT_EQ(f.dim->attr.nLayer, 4);
  EXPECT_EQ(f.dim->attr.nPenColor, 2);
  EXPECT_EQ(f.dim->attr.nPenStyle, 5);
  const auto e = DimensionEntity(*f.dim, 0, 0);
  ASSERT_TRUE(e);
  EXPECT_EQ(e->stp, 160);
  EXPECT_EQ(e->bas, 9);
  EXPECT_EQ(e->str, u"100");
  EXPECT_EQ(std::make_pair(e->x3, e->y3), std::make_pair(0.0, -20.0));
  EXPECT_EQ(std::make_pair(e->x4, e->y4), std::make_pair(100.0, -20.0));
  EXPECT_EQ(e->ang, 0);
  EXPECT_NEAR(e->sang, 45, 1e-9);
}

TEST(DimensionValues, NotFiniteGivesNothing) {
  TJwwData d = MakeJwwDrawing(600);
  AddEntity(d, Line(Grouped(), 0, 0, std::nan(""), 0));
  AddEntity(d, DimText(u"φ1"));
  const Found f = Recognise(d);
  ASSERT_TRUE(f.dim);
  EXPECT_FALSE(DimensionEntity(*f.dim, 0, 0));
}

}  // namespace
}  // namespace parvex::testing
