// Numbers that are not finite never reach the DXF file; several drawings
// converted in one process do not influence each other.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>

#include "conversion_fixture.h"
#include "tests/support/jww_writer.h"

namespace parvex::testing {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

class NonFinite : public ConversionTest, public ::testing::WithParamInterface<int> {};

// One good entity of every kind, then copies with NaN or infinity in each
// of their numbers in turn, and rings whose inner radius is 0.
TJwwData NonFiniteDrawing(double baseScale, int& goodEntities) {
  TJwwData d = MakeColouredDrawing();
  d.EntLgrp[0].adScale = baseScale;
  const TEntJwwAttr a = Attr(0, 0, 1, 1);
  goodEntities = 0;

  const TEntJwwLine line = Line(a, 0, 0, 10, 0);
  AddEntity(d, line);
  ++goodEntities;
  for (double bad : {kNaN, kInf, -kInf}) {
    for (double TEntJwwLine::*f : {&TEntJwwLine::start_x, &TEntJwwLine::start_y,
                                   &TEntJwwLine::end_x, &TEntJwwLine::end_y}) {
      TEntJwwLine l = line;
      l.*f = bad;
      AddEntity(d, l);
    }
  }

  TEntJwwEnko arc;
  arc.att = a;
  arc.dHankei = 5;
  arc.radEnkoKaku = 1;
  arc.dHenpeiRitsu = 1;
  AddEntity(d, arc);
  ++goodEntities;
  for (double bad : {kNaN, kInf}) {
    for (double TEntJwwEnko::*f : {&TEntJwwEnko::start_x, &TEntJwwEnko::start_y,
                                   &TEntJwwEnko::dHankei, &TEntJwwEnko::radKaishiKaku,
                                   &TEntJwwEnko::radEnkoKaku, &TEntJwwEnko::radKatamukiKaku,
                                   &TEntJwwEnko::dHenpeiRitsu}) {
      TEntJwwEnko e = arc;
      e.*f = bad;
      AddEntity(d, e);
    }
  }
  // A finite radius whose scaled value overflows (base scale 10); at full
  // size it is written.
  TEntJwwEnko huge = arc;
  huge.dHankei = 1e308;
  AddEntity(d, huge);
  if (!std::isfinite(baseScale)) ++goodEntities;

  TEntJwwTen point;
  point.att = a;
  AddEntity(d, point);
  ++goodEntities;
  TEntJwwTen coded = point;
  coded.att.nPenStyle = 100;
  coded.nCode = 2;
  coded.dBairitsu = 1;
  for (double bad : {kNaN, kInf}) {
    TEntJwwTen p = point;
    p.start_x = bad;
    AddEntity(d, p);
    TEntJwwTen c = coded;
    c.radKaitenKaku = bad;
    AddEntity(d, c);
    c = coded;
    c.dBairitsu = bad;
    AddEntity(d, c);
  }

  TEntJwwSolid quad;
  quad.att = a;
  quad.end_x = 10;
  quad.DPoint2_x = 10;
  quad.DPoint2_y = 10;
  quad.DPoint3_y = 10;
  AddEntity(d, quad);
  ++goodEntities;
  TEntJwwSolid sector;
  sector.att = a;
  sector.att.nPenStyle = 101;
  sector.end_x = 5;
  sector.end_y = 1;
  sector.DPoint3_x = 1;
  for (double bad : {kNaN, kInf}) {
    for (double TEntJwwSolid::*f :
         {&TEntJwwSolid::start_x, &TEntJwwSolid::start_y, &TEntJwwSolid::end_x,
          &TEntJwwSolid::end_y, &TEntJwwSolid::DPoint2_x, &TEntJwwSolid::DPoint2_y,
          &TEntJwwSolid::DPoint3_x, &TEntJwwSolid::DPoint3_y}) {
      TEntJwwSolid s = quad;
      s.*f = bad;
      AddEntity(d, s);
      s = sector;
      s.*f = bad;
      AddEntity(d, s);
    }
  }
  // Rings without an inner radius: the inner curve is the centre.
  for (int style : {105, 106}) {
    TEntJwwSolid ring = sector;
    ring.att.nPenStyle = static_cast<uint8_t>(style);
    ring.end_y = 0.5;  // flattened: 106 divides by the inner radius
    ring.DPoint3_y = 0;
    AddEntity(d, ring);
    goodEntities += 72;
  }

  const TEntJwwMoji text = Text(a, 0, 0, 10, 0, u"text");
  AddEntity(d, text);
  ++goodEntities;
  for (double bad : {kNaN, kInf}) {
    // (The reader itself replaces sizes and spacing that are not finite.)
    for (double TEntJwwMoji::*f : {&TEntJwwMoji::start_x, &TEntJwwMoji::start_y,
                                   &TEntJwwMoji::end_x, &TEntJwwMoji::end_y}) {
      TEntJwwMoji t = text;
      t.*f = bad;
      AddEntity(d, t);
    }
  }

  TEntJwwSunpo dim;
  dim.att = a;
  dim.Sen = Line(a, 0, kNaN, 10, 0);
  dim.Moji = Text(a, 0, 1, 10, 1, u"10");
  AddEntity(d, dim);  // the line is left out, the text stays
  ++goodEntities;

  return d;
}

// A base layer group whose scale is not a number draws at full size.
TEST_P(NonFinite, EveryNumberWrittenIsFiniteAndTheRestConverts) {
 for (double baseScale : {10.0, kNaN}) {
  SCOPED_TRACE("base scale " + std::to_string(baseScale));
  const double s = std::isfinite(baseScale) ? baseScale : 1;
  int good = 0;
  const TJwwData d = NonFiniteDrawing(baseScale, good);
  const DxfPairs dxf = ConvertAndRead(d, SettingsFor(GetParam()));
  EXPECT_TRUE(dxf.nonFinite.empty());
  int entities = 0;
  for (const DxfRecord& e : dxf.entities) {
    if (e.type != "VERTEX" && e.type != "SEQEND") ++entities;
  }
  EXPECT_EQ(entities, good);
  // The rings are 72 three-corner fans each around the centre.
  const auto solids = dxf.OfType("SOLID");
  ASSERT_EQ(solids.size(), 1u + 144u);
  const DxfRecord& fan = *solids[1];
  EXPECT_DOUBLE_EQ(fan.Num(12), 210 * s);  // the inner corners are the centre
  EXPECT_DOUBLE_EQ(fan.Num(22), 148.5 * s);
 }
}

INSTANTIATE_TEST_SUITE_P(Versions, NonFinite, ::testing::Values(0, 1, 2),
                         [](const auto& info) { return std::string(kVersionNames[info.param]); });

using ManyDrawings = ConversionTest;

// Converting one drawing, then another with other colours, layer names and
// scales, then the first again gives the first result twice.
TEST_F(ManyDrawings, NothingCarriesOverFromOneDrawingToTheNext) {
  TJwwData first = MakeColouredDrawing();
  AddEntity(first, Line(Attr(0, 0, 1, 1), 0, 0, 10, 0));
  AddEntity(first, Text(Attr(0, 1, 2, 1), 0, 5, 10, 5, u"一"));
  TJwwData second = MakeColouredDrawing();
  second.EntCol[1].aPenColor = kPenBlue;
  second.EntCol[0].aPenColor = 0;  // dark background
  second.EntLgrp[0].adScale = 20;
  second.EntLay[0].aStrLayName = u"other";
  second.Enthd.nZumen = 1;
  AddEntity(second, Line(Attr(0, 0, 1, 3), 5, 5, 20, 0));
  TEntJwwTen p;
  p.att = Attr(0, 0, 1, 1);
  AddEntity(second, p);

  ConversionSettings s = SettingsFor(1);
  s.LayerNameType = LayerNameType::Name;
  const auto a = Save(first, "first.jww");
  const auto b = Save(second, "second.jww");
  const DxfPairs once = ReadDxfPairs(Convert(a, s, "first1.dxf"));
  ReadDxfPairs(Convert(b, s, "second.dxf"));
  const DxfPairs again = ReadDxfPairs(Convert(a, s, "first2.dxf"));
  ASSERT_EQ(once.entities.size(), again.entities.size());
  for (size_t i = 0; i < once.entities.size(); ++i) {
    EXPECT_EQ(once.entities[i].type, again.entities[i].type);
    // Handles may differ; every other group is the same.
    auto strip = [](const DxfRecord& r) {
      auto g = r.groups;
      std::erase_if(g, [](const auto& p) { return p.first == 5 || p.first == 330; });
      return g;
    };
    EXPECT_EQ(strip(once.entities[i]), strip(again.entities[i]));
  }
  EXPECT_EQ(once.layers.size(), again.layers.size());
  for (const auto& [name, layer] : once.layers) {
    ASSERT_TRUE(again.layers.count(name)) << name;
    EXPECT_EQ(layer.Int(62), again.layers.at(name).Int(62)) << name;
  }
  EXPECT_EQ(once.blockEntities.size(), again.blockEntities.size());
}

}  // namespace
}  // namespace parvex::testing

namespace parvex::testing {
namespace {

using OddValues = ConversionTest;

// Values a drawing may hold that have no DXF counterpart: a layer outside
// the 16 x 16 layers goes to layer "0" (no layer of that index exists), a
// text kind above 10 takes the style of kind 0.
TEST_F(OddValues, LayerOutsideTheTableAndTextKindAboveTen) {
  TJwwData d = MakeColouredDrawing();
  AddEntity(d, Line(Attr(20, 3, 1, 1), 0, 0, 10, 0));
  AddEntity(d, Line(Attr(1, 16, 1, 1), 0, 1, 10, 1));
  AddEntity(d, Text(Attr(0, 0, 1, 1), 0, 2, 10, 2, u"k15", 15));
  const DxfPairs dxf = ConvertAndRead(d, SettingsFor(1));
  const auto lines = dxf.OfType("LINE");
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0]->Str(8), "0");
  EXPECT_EQ(lines[1]->Str(8), "0");
  ASSERT_EQ(dxf.OfType("TEXT").size(), 1u);
  EXPECT_EQ(dxf.OfType("TEXT")[0]->Str(7), "MOJI0");
}

}  // namespace
}  // namespace parvex::testing
