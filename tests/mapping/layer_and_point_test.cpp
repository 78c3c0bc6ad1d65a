// Layer names under the three naming rules, layer visibility, and what a
// point becomes under each point conversion.
#include <gtest/gtest.h>

#include "conversion_fixture.h"
#include "tests/support/jww_writer.h"

namespace parvex::testing {
namespace {

using LayerNaming = ConversionTest;

TEST_F(LayerNaming, ThreeRulesAcrossVersions) {
  TJwwData d = MakeColouredDrawing();
  d.EntLgrp[0].aStrGLayName = u"A 1";
  d.EntLay[0].aStrLayName = u"壁";
  d.EntLay[1].aStrLayName = u"0";  // clashes with the fixed layer "0"
  d.EntLgrp[15].aStrGLayName = u"";
  d.EntLay[15 * 16 + 10].aStrLayName = u"";
  d.EntLay[2].aanLay = 0;  // hidden layer
  AddEntity(d, Line(Attr(0, 0, 1, 1), 0, 0, 10, 0));
  AddEntity(d, Line(Attr(0, 1, 1, 1), 0, 1, 10, 1));
  AddEntity(d, Line(Attr(15, 10, 1, 1), 0, 2, 10, 2));

  struct Case {
    int naming;
    int version;
    const char* layer00;  // group 0, layer 0
    const char* layer01;  // group 0, layer 1
    const char* layerFA;  // group 15, layer 10
  } cases[] = {
      {0, 0, "1", "2", "251"},     {0, 2, "1", "2", "251"},
      {1, 1, "壁", "0_1", "F-A"},   {1, 0, "0-0", "0_1", "F-A"},
      {2, 1, "A1-壁", "A1-0", "F-A"}, {2, 0, "A1-", "A1-0", "F-A"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("naming " + std::to_string(c.naming) + " version " + kVersionNames[c.version]);
    ConversionSettings s = SettingsFor(c.version);
    s.LayerNameType = static_cast<LayerNameType>(c.naming);
    const DxfPairs dxf = ConvertAndRead(d, s);
    const auto lines = dxf.OfType("LINE");
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0]->Str(8), c.layer00);
    EXPECT_EQ(lines[1]->Str(8), c.layer01);
    EXPECT_EQ(lines[2]->Str(8), c.layerFA);
    // Four fixed layers and 256 drawing layers.
    EXPECT_EQ(dxf.layers.size(), 260u);
  }
}

TEST_F(LayerNaming, HiddenLayersAndShapeFilesNamedByNumber) {
  TJwwData d = MakeColouredDrawing();
  d.EntLay[2].aanLay = 0;
  d.EntLgrp[3].anGLay = 0;
  const DxfPairs dxf = ConvertAndRead(d, SettingsFor(1));
  // A hidden layer has a negative colour number.
  EXPECT_LT(dxf.layers.at("3").Int(62), 0);
  EXPECT_LT(dxf.layers.at("49").Int(62), 0);
  EXPECT_GT(dxf.layers.at("4").Int(62), 0);

  TJwsData shape = MakeJwsShape(600);
  AddEntity(shape, Line(Attr(2, 11, 1, 1), 0, 0, 10, 0));
  const auto out = Convert(Save(shape, "shape.jws"), SettingsFor(1), "shape.dxf");
  const DxfPairs js = ReadDxfPairs(out);
  ASSERT_EQ(js.OfType("LINE").size(), 1u);
  EXPECT_EQ(js.OfType("LINE")[0]->Str(8), "2-B");
  EXPECT_TRUE(js.layers.count("0-0"));
  EXPECT_TRUE(js.layers.count("F-F"));
}

using PointConversion = ConversionTest;

TEST_F(PointConversion, EveryConversionOfAPlainPoint) {
  TJwwData d = MakeColouredDrawing();
  TEntJwwTen p;
  p.att = Attr(0, 0, 2, 1);
  p.att.nPenWidth = 20;
  AddEntity(d, p);
  TEntJwwTen marker = p;  // a coded point: always a marker block
  marker.att.nPenStyle = 100;
  marker.nCode = 2;
  marker.radKaitenKaku = 0;
  marker.dBairitsu = 2;
  AddEntity(d, marker);
  struct Case {
    int conversion;
    const char* type;
  } cases[] = {{0, "POINT"},  {1, "CIRCLE"}, {2, "INSERT"}, {3, "INSERT"},
               {4, "INSERT"}, {5, "INSERT"}, {6, "INSERT"}};
  for (const Case& c : cases) {
    SCOPED_TRACE("conversion " + std::to_string(c.conversion));
    ConversionSettings s = SettingsFor(1);
    s.PointConversion = static_cast<parvex::PointConversion>(c.conversion);
    const DxfPairs dxf = ConvertAndRead(d, s);
    ASSERT_EQ(dxf.entities.size(), 2u);
    EXPECT_EQ(dxf.entities[0].type, c.type);
    if (c.conversion == 1) {
      // Point radius 0.5 x (radius of pen 2 = 0.3, plus width 20 x 0.5).
      EXPECT_NEAR(dxf.entities[0].Num(40), 0.5 * 10.3, 1e-9);
    }
    if (c.conversion >= 2) {
      EXPECT_EQ(dxf.entities[0].Str(2), "_TRANS_TEN");
    }
    EXPECT_EQ(dxf.entities[1].type, "INSERT");
    EXPECT_EQ(dxf.entities[1].Str(2), "_TRANS_TMARKER2");
    EXPECT_DOUBLE_EQ(dxf.entities[1].Num(41), 2);
  }
}

// Point blocks exist exactly when something is written as a point: a
// drawing of lines only gets none, while the end points of an SXF-mode
// dimension (written as points, as a point entry is) get theirs instead of
// being left out for want of a block.
TEST_F(PointConversion, PointBlocksOnlyForPointsWritten) {
  TJwwData lines = MakeColouredDrawing();
  AddEntity(lines, Line(Attr(0, 0, 1, 1), 0, 0, 20, 0));

  TJwwData dimension = MakeColouredDrawing();
  TEntJwwSunpo dim;
  dim.att = Attr(0, 0, 1, 1);
  dim.Sen = Line(dim.att, 0, 0, 20, 0);
  dim.Moji = Text(dim.att, 5, 1, 15, 1, u"20");
  dim.bSxfMode = 1;
  dim.Ho1 = Line(dim.att, 0, -5, 0, 0);
  dim.Ho2 = Line(dim.att, 20, -5, 20, 0);
  dim.Te1.att = dim.att;
  dim.Te2.att = dim.att;
  dim.Te2.start_x = 20;
  AddEntity(dimension, dim);

  struct Case {
    const char* name;
    const TJwwData* drawing;
    std::vector<std::string> types;
  } cases[] = {
      {"lines only", &lines, {"LINE"}},
      {"SXF-mode dimension", &dimension, {"LINE", "LINE", "LINE", "INSERT", "INSERT", "TEXT"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ConversionSettings s = SettingsFor(1);
    s.PointConversion = parvex::PointConversion::CircleCross;
    const DxfPairs dxf = ConvertAndRead(*c.drawing, s);
    std::vector<std::string> types;
    for (const DxfRecord& e : dxf.entities) types.push_back(e.type);
    EXPECT_EQ(types, c.types);
    const bool inserts = c.types.size() > 1;
    for (const DxfRecord* e : dxf.OfType("INSERT")) EXPECT_EQ(e->Str(2), "_TRANS_TEN");
    EXPECT_EQ(!dxf.blockEntities.empty(), inserts) << "point blocks";
  }
}

}  // namespace
}  // namespace parvex::testing

namespace parvex::testing {
namespace {

using PaperSpace = ConversionTest;

// Model and paper space: the base group lands in paper space at paper
// size, another group in model space at its own scale, seen through a
// viewport.
TEST_F(PaperSpace, BaseGroupOnPaperOtherGroupsInModelSpace) {
  TJwwData d = MakeColouredDrawing();
  d.EntLgrp[1].adScale = 100;
  AddEntity(d, Line(Attr(0, 0, 1, 1), 0, 0, 10, 0));
  AddEntity(d, Line(Attr(1, 0, 1, 1), 0, 0, 10, 0));
  ConversionSettings s = SettingsFor(1);
  s.OutputSpace = OutputSpace::ModelAndPaper;
  const DxfPairs dxf = ConvertAndRead(d, s);
  const auto lines = dxf.OfType("LINE");
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0]->Int(67), 1);
  EXPECT_DOUBLE_EQ(lines[0]->Num(10), 210);
  EXPECT_FALSE(lines[1]->Has(67));
  EXPECT_DOUBLE_EQ(lines[1]->Num(10), 21000);
  EXPECT_DOUBLE_EQ(lines[1]->Num(20), 14850);
  EXPECT_FALSE(dxf.OfType("VIEWPORT").empty());
}

}  // namespace
}  // namespace parvex::testing
