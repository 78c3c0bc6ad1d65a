// Every entity kind of a JWW drawing through the whole conversion: DXF
// type, layer, colour, line type and lineweight, in all three versions.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "conversion_fixture.h"
#include "tests/support/jww_writer.h"

namespace parvex::testing {
namespace {

constexpr double kPi = std::numbers::pi;

class EntityConversion : public ConversionTest, public ::testing::WithParamInterface<int> {};

// Group 0, layer 1 (DXF layer "2") holds two red continuous lines, so the
// layer becomes red and continuous; the entities that differ carry their
// own groups.
TJwwData KindsDrawing() {
  TJwwData d = MakeColouredDrawing();
  const TEntJwwAttr red = Attr(0, 1, 1, 1);
  AddEntity(d, Line(red, 0, 0, 10, 0));
  AddEntity(d, Line(red, 0, 5, 10, 5));
  TEntJwwAttr blue = Attr(0, 1, 3, 5);  // CENTER
  blue.nPenWidth = 50;
  AddEntity(d, Line(blue, 0, 10, 10, 10));
  AddEntity(d, Line(Attr(0, 1, 9, 1), 0, 20, 10, 20));  // auxiliary colour -> HOJO
  AddEntity(d, Line(Attr(0, 1, 1, 1), 3, 3, 3, 3));     // zero length: dropped

  TEntJwwEnko circle;
  circle.att = red;
  circle.start_x = 50;
  circle.dHankei = 5;
  circle.radEnkoKaku = 2 * kPi;
  circle.dHenpeiRitsu = 1 + 1e-13;
  AddEntity(d, circle);
  TEntJwwEnko arc = circle;
  arc.radEnkoKaku = -kPi / 2;  // clockwise quarter from 0: 270 .. 360
  AddEntity(d, arc);
  TEntJwwEnko ellipse = circle;
  ellipse.dHenpeiRitsu = 0.5;
  AddEntity(d, ellipse);

  TEntJwwTen point;
  point.att = red;
  point.start_x = 70;
  AddEntity(d, point);
  TEntJwwTen temporary = point;
  temporary.bKariten = 1;
  AddEntity(d, temporary);

  TEntJwwSolid quad;
  quad.att = red;
  quad.start_x = 0, quad.start_y = 30;
  quad.end_x = 10, quad.end_y = 30;
  quad.DPoint2_x = 10, quad.DPoint2_y = 40;
  quad.DPoint3_x = 0, quad.DPoint3_y = 40;
  AddEntity(d, quad);
  TEntJwwSolid flat = quad;  // corners 3 and 4 on corner 2: a line
  flat.DPoint2_x = flat.DPoint3_x = 10;
  flat.DPoint2_y = flat.DPoint3_y = 30;
  AddEntity(d, flat);
  TEntJwwSolid sector;
  sector.att = red;
  sector.att.nPenStyle = 101;
  sector.start_x = 100;
  sector.end_x = 5;                // radius
  sector.end_y = 1;                // flattening
  sector.DPoint3_x = kPi / 2;      // sweep
  AddEntity(d, sector);
  TEntJwwSolid none = sector;
  none.att.nPenStyle = 103;  // no such area kind: nothing
  AddEntity(d, none);

  AddEntity(d, Text(red, 0, 50, 10, 50, u"abc", 3));
  TEntJwwSunpo dim;
  dim.att = red;
  dim.Sen = Line(red, 0, 60, 20, 60);
  dim.Moji = Text(red, 5, 61, 15, 61, u"20", 1);
  AddEntity(d, dim);
  return d;
}

TEST_P(EntityConversion, EveryKindLandsWithItsTypeLayerAndAttributes) {
  const int version = GetParam();
  const DxfPairs dxf = ConvertAndRead(KindsDrawing(), SettingsFor(version));

  std::vector<std::string> types;
  for (const DxfRecord& e : dxf.entities) types.push_back(e.type);
  const std::string ellipse = version == 0 ? "POLYLINE" : "ELLIPSE";
  std::vector<std::string> expected = {"LINE", "LINE", "LINE", "LINE", "CIRCLE", "ARC", ellipse,
                                       "POINT", "CIRCLE", "SOLID", "LINE"};
  for (int i = 0; i < 72; ++i) expected.push_back("SOLID");
  expected.insert(expected.end(), {"TEXT", "LINE", "TEXT"});
  // R12 writes the ellipse as POLYLINE with VERTEX and SEQEND records.
  std::vector<std::string> filtered;
  for (const auto& t : types) {
    if (t != "VERTEX" && t != "SEQEND") filtered.push_back(t);
  }
  ASSERT_EQ(filtered, expected);

  // Layer "2" takes the colour and line type most of its entities use.
  ASSERT_TRUE(dxf.layers.count("2"));
  EXPECT_EQ(dxf.layers.at("2").Int(62), 1);
  EXPECT_EQ(dxf.layers.at("2").Str(6), version == 0 ? "CONTINUOUS" : "Continuous");

  const DxfRecord& plain = dxf.entities[0];
  EXPECT_EQ(plain.Str(8), "2");
  EXPECT_FALSE(plain.Has(62));
  EXPECT_FALSE(plain.Has(6));
  EXPECT_FALSE(plain.Has(370));

  const DxfRecord& own = dxf.entities[2];
  EXPECT_EQ(own.Str(8), "2");
  EXPECT_EQ(own.Int(62), 5);
  EXPECT_EQ(own.Str(6), "CENTER");
  EXPECT_EQ(own.Has(370), version != 0);
  if (version != 0) {
    EXPECT_EQ(own.Int(370), 50);
  }

  const DxfRecord& aux = dxf.entities[3];
  EXPECT_EQ(aux.Str(8), "HOJO");

  // The quarter swept clockwise from 0 becomes 270 .. 0 counter-clockwise.
  const auto arcs = dxf.OfType("ARC");
  ASSERT_EQ(arcs.size(), 1u);
  EXPECT_DOUBLE_EQ(arcs[0]->Num(50), 270);
  EXPECT_DOUBLE_EQ(arcs[0]->Num(51), 0);

  // The temporary point is a circle of the point radius on HOJO.
  const auto circles = dxf.OfType("CIRCLE");
  ASSERT_EQ(circles.size(), 2u);
  EXPECT_EQ(circles[1]->Str(8), "HOJO");
  EXPECT_DOUBLE_EQ(circles[1]->Num(40), 0.5);

  // Paper placement: A3, drawing origin at the paper centre.
  EXPECT_DOUBLE_EQ(plain.Num(10), 210);
  EXPECT_DOUBLE_EQ(plain.Num(20), 148.5);
  EXPECT_DOUBLE_EQ(circles[0]->Num(10), 260);
}

TEST_P(EntityConversion, LineTypesAndLineweightsOfPens) {
  const int version = GetParam();
  TJwwData d = MakeColouredDrawing();
  d.EntLtpS[17].astrUDLTypeName = u"";
  d.EntLtpS[17].anUDLTypeSegment = 5;
  d.EntLtpS[17].aadUDLTypePitch[1] = 0;
  d.EntLtpS[17].aadUDLTypePitch[2] = 3;
  d.EntLtpS[18].astrUDLTypeName = u"my dash";
  d.EntLtpS[18].anUDLTypeSegment = 2;
  d.EntLtpS[18].aadUDLTypePitch[1] = -4;
  d.EntLtpS[18].aadUDLTypePitch[2] = -4;
  // R12 allows only upper-case letters, digits, "$", "-" and "_" in names.
  struct Case {
    int style;
    int width;
    const char* ltype;
    const char* ltypeR12;
    int weight;
  } cases[] = {
      {2, 7, "DOT", "DOT", 5},
      {11, 8, "RAND1", "RAND1", 9},
      {19, 205, "DASHEDX4", "DASHEDX4", 200},
      {32, 206, "SXF_破線", "SXF_", 211},
      {47, 0, "SXF_LType_17", "SXF_LTYPE_17", 0},
      {48, 20, "SXF_my dash", "SXF_MYDASH", 20},
  };
  // One line per case on layer 0-0, plus three continuous lines so the
  // layer itself stays continuous.
  for (int i = 0; i < 3; ++i) AddEntity(d, Line(Attr(0, 0, 1, 1), 0, i, 5, i));
  for (const Case& c : cases) {
    TEntJwwAttr a = Attr(0, 0, 1, c.style);
    a.nPenWidth = c.width;
    AddEntity(d, Line(a, 0, 10 + c.style, 5, 10 + c.style));
  }
  const DxfPairs dxf = ConvertAndRead(d, SettingsFor(version));
  const auto lines = dxf.OfType("LINE");
  ASSERT_EQ(lines.size(), 3 + std::size(cases));
  for (size_t i = 0; i < std::size(cases); ++i) {
    const DxfRecord& l = *lines[3 + i];
    EXPECT_EQ(l.Str(6), version == 0 ? cases[i].ltypeR12 : cases[i].ltype)
        << "style " << cases[i].style;
    if (version != 0 && cases[i].weight > 0) {
      EXPECT_EQ(l.Int(370), cases[i].weight) << "width " << cases[i].width;
    } else {
      EXPECT_FALSE(l.Has(370));
    }
  }
  // The user line type with 5 segments keeps 2 elements: 0.01 and -3.
  if (version != 2) return;
  ASSERT_TRUE(dxf.ltypes.count("SXF_LType_17"));
  const DxfRecord& lt = dxf.ltypes.at("SXF_LType_17");
  EXPECT_EQ(lt.Int(73), 2);
  std::vector<double> elements;
  for (const auto& [c, v] : lt.groups) {
    if (c == 49) elements.push_back(std::stod(v));
  }
  ASSERT_EQ(elements.size(), 2u);
  EXPECT_DOUBLE_EQ(elements[0], 0.01);
  EXPECT_DOUBLE_EQ(elements[1], -3);
  ASSERT_TRUE(dxf.ltypes.count("SXF_my dash"));
}

INSTANTIATE_TEST_SUITE_P(Versions, EntityConversion, ::testing::Values(0, 1, 2),
                         [](const auto& info) { return std::string(kVersionNames[info.param]); });

}  // namespace
}  // namespace parvex::testing
