// DOS-edition drawings (JWC) and shapes (JWK) through the whole conversion:
// every record kind lands with its DXF type, layer, colour and line type in
// all three versions; shapes stay in model space at full size; a drawing in
// model and paper space puts its base group on paper and the other groups
// into one viewport per scale.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <set>

#include "conversion_fixture.h"
#include "converter/mapping/jwc_to_dxf.h"
#include "tests/dxfaudit/dxf_audit.h"
#include "tests/support/image_files.h"
#include "tests/support/jwc_writer.h"
#include "tests/support/jww_writer.h"

namespace parvex::testing {
namespace {

class DosConversion : public ConversionTest, public ::testing::WithParamInterface<int> {
 protected:
  DxfPairs ConvertBytes(const std::string& bytes, const std::string& ext,
                        const ConversionSettings& settings) {
    const std::string stem = "dos" + std::to_string(++serial_);
    const auto source = dir_ / (stem + ext);
    EXPECT_TRUE(SaveBytes(source, bytes));
    const auto out = Convert(source, settings, stem + ".dxf");
    EXPECT_TRUE(PassesDxfAudit(out));
    DxfPairs pairs = ReadDxfPairs(out);
    EXPECT_EQ(pairs.error, "");
    EXPECT_TRUE(pairs.nonFinite.empty());
    return pairs;
  }
};

// The entities of ENTITIES by type, R12's VERTEX and SEQEND left out.
std::vector<std::string> TypesOf(const DxfPairs& dxf) {
  std::vector<std::string> types;
  for (const DxfRecord& e : dxf.entities) {
    if (e.type != "VERTEX" && e.type != "SEQEND") types.push_back(e.type);
  }
  return types;
}

// Layer byte 1 (DXF layer "2") at group scale 2: two green continuous
// lines and four green curves make the layer green and continuous.
TJwcData KindsJwc() {
  TJwcData d = MakeJwcDrawing();
  d.EntLgrp[0].scale = 2;
  d.EntLine = {JwcLine(10, 10, 20, 10, 1, 3, 1), JwcLine(10, 20, 20, 20, 1, 3, 1),
               JwcLine(10, 30, 20, 30, 1, 1, 2),   // pen 1 (ACI 4), DOT
               JwcLine(10, 40, 20, 40, 1, 3, 9),   // auxiliary line type: HOJO
               JwcLine(15, 15, 15, 15, 1, 3, 1)};  // no length: dropped
  d.EntArc = {JwcArc(50, 50, 5, 0, 0, 1, 0, 1, 3), JwcArc(50, 50, 6, 0, 90, 1, 0, 1, 3),
              JwcArc(80, 50, 4, 0, 0, 0.5f, 0, 1, 3),
              JwcArc(110, 50, 3, 0, 0, 2, 0, 1, 3)};  // flattening 2: axes exchanged
  d.EntMoji = {JwcText(10, 60, 40, 60, u"abc", 3, 1)};
  d.EntTen = {JwcPoint(70, 70, 1, 4)};  // pen 4: ACI 2
  d.Enthd.vtenCount = 1;
  d.EntVten[1] = {100, 100, 1};
  return d;
}

TEST_P(DosConversion, EveryJwcKindLandsWithItsTypeLayerAndAttributes) {
  const int version = GetParam();
  const DxfPairs dxf = ConvertBytes(WriteJwc(KindsJwc()), ".jwc", SettingsFor(version));
  const std::string ellipse = version == 0 ? "POLYLINE" : "ELLIPSE";
  ASSERT_EQ(TypesOf(dxf),
            (std::vector<std::string>{"LINE", "LINE", "LINE", "LINE", "CIRCLE", "ARC", ellipse,
                                      ellipse, "TEXT", "POINT", "CIRCLE"}));
  ASSERT_TRUE(dxf.layers.count("2"));
  EXPECT_EQ(dxf.layers.at("2").Int(62), 3);
  EXPECT_EQ(dxf.layers.at("2").Str(6), version == 0 ? "CONTINUOUS" : "Continuous");

  const auto lines = dxf.OfType("LINE");
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[0]->Str(8), "2");
  EXPECT_FALSE(lines[0]->Has(62));
  EXPECT_FALSE(lines[0]->Has(6));
  // Placed at the group's scale.
  EXPECT_DOUBLE_EQ(lines[0]->Num(10), 20);
  EXPECT_DOUBLE_EQ(lines[0]->Num(11), 40);
  EXPECT_EQ(lines[2]->Int(62), 4);
  EXPECT_EQ(lines[2]->Str(6), "DOT");
  EXPECT_EQ(lines[3]->Str(8), "HOJO");

  const auto circles = dxf.OfType("CIRCLE");
  ASSERT_EQ(circles.size(), 2u);
  EXPECT_EQ(circles[0]->Str(8), "2");
  EXPECT_DOUBLE_EQ(circles[0]->Num(40), 10);
  // The virtual point: a circle of the point radius on HOJO.
  EXPECT_EQ(circles[1]->Str(8), "HOJO");
  EXPECT_DOUBLE_EQ(circles[1]->Num(40), 1);
  EXPECT_DOUBLE_EQ(circles[1]->Num(10), 200);

  const auto arcs = dxf.OfType("ARC");
  ASSERT_EQ(arcs.size(), 1u);
  EXPECT_DOUBLE_EQ(arcs[0]->Num(50), 0);
  EXPECT_DOUBLE_EQ(arcs[0]->Num(51), 90);

  if (version != 0) {
    const auto ellipses = dxf.OfType("ELLIPSE");
    ASSERT_EQ(ellipses.size(), 2u);
    EXPECT_DOUBLE_EQ(ellipses[0]->Num(40), 0.5);
    EXPECT_DOUBLE_EQ(ellipses[0]->Num(11), 8);
    // The taller ellipse stands upright: its major axis is 3 x 2 x 2 long
    // along y, the ratio is a valid 0.5.
    EXPECT_DOUBLE_EQ(ellipses[1]->Num(40), 0.5);
    EXPECT_NEAR(ellipses[1]->Num(11), 0, 1e-9);
    EXPECT_NEAR(ellipses[1]->Num(21), 12, 1e-9);
  }

  // A text stays on its layer byte's layer beside an auxiliary line of
  // the same layer byte; pen 2 of kind 3 is ACI 7; 2.5 mm at scale 2.
  const DxfRecord& text = *dxf.OfType("TEXT")[0];
  EXPECT_EQ(text.Str(8), "2");
  EXPECT_EQ(text.Int(62), 7);
  EXPECT_DOUBLE_EQ(text.Num(40), 5);
  EXPECT_EQ(text.Str(7), "MOJI3");
  EXPECT_EQ(text.Str(1), "abc");

  const DxfRecord& point = *dxf.OfType("POINT")[0];
  EXPECT_EQ(point.Str(8), "2");
  EXPECT_EQ(point.Int(62), 2);
}

// DOS drawings pass the same text expansion: a memo macro shows the
// drawing's first comment, and an underline code becomes its text and line.
TEST_P(DosConversion, JwcTextsPassTheExpansion) {
  const int version = GetParam();
  TJwcData d = MakeJwcDrawing();
  d.Enthd.comment1 = u"PLAN";
  d.EntMoji = {JwcText(10, 60, 40, 60, u"%m1", 3), JwcText(10, 80, 40, 80, u"AB^_C", 3)};
  ConversionSettings settings = SettingsFor(version);
  settings.ExpandEmbeddedText = settings.ExpandControlCodes = true;
  const DxfPairs dxf = ConvertBytes(WriteJwc(d), ".jwc", settings);
  std::vector<std::string> texts;
  for (const DxfRecord* t : dxf.OfType("TEXT")) texts.push_back(t->Str(1));
  std::sort(texts.begin(), texts.end());
  EXPECT_EQ(texts, (std::vector<std::string>{"ABC", "PLAN"}));
  EXPECT_EQ(dxf.OfType("LINE").size(), 1u);  // the underline of "C"
}

// A 1:50 shape: coordinates and radii are full size as stored, texts of
// kind 3 (3 mm) are 150 mm high, and everything stays in model space even
// when the settings ask for paper space.
TEST_P(DosConversion, JwkShapeIsFullSizeInModelSpaceOnly) {
  const int version = GetParam();
  TJwkData s = MakeJwkShape(50);
  s.EntLine = {JwcLine(0, 0, 5000, 0)};
  s.EntArc = {JwcArc(1000, 1000, 500, 0, 0)};
  s.EntMoji = {JwcText(0, -1000, 1000, -1000, u"A", 3)};
  s.EntTen = {JwcPoint(10, 10)};
  ConversionSettings settings = SettingsFor(version);
  settings.OutputSpace = OutputSpace::ModelAndPaper;
  const DxfPairs dxf = ConvertBytes(WriteJwk(s), ".jwk", settings);

  ASSERT_EQ(TypesOf(dxf), (std::vector<std::string>{"LINE", "CIRCLE", "TEXT", "POINT"}));
  for (const DxfRecord& e : dxf.entities) EXPECT_FALSE(e.Has(67)) << e.type;
  EXPECT_TRUE(dxf.OfType("VIEWPORT").empty());
  EXPECT_DOUBLE_EQ(dxf.OfType("LINE")[0]->Num(11), 5000);
  EXPECT_DOUBLE_EQ(dxf.OfType("CIRCLE")[0]->Num(40), 500);
  const DxfRecord& text = *dxf.OfType("TEXT")[0];
  EXPECT_DOUBLE_EQ(text.Num(40), 150);
  EXPECT_DOUBLE_EQ(text.Num(41), 1);
  EXPECT_EQ(text.Str(8), "0-0");
}

// The mapping uses the drawing up: each kind of record is released once the
// DXF model holds it, so that a large drawing is not held twice while its
// DXF is built and written.
TEST_F(ConversionTest, DosMappingReleasesTheDrawingsRecords) {
  ConversionContext context;
  context.Settings = SettingsFor(1);
  auto held = [](const JwcEntityModel& m) {
    return m.EntLine.capacity() + m.EntArc.capacity() + m.EntMoji.capacity() +
           m.EntTen.capacity();
  };
  TJwcData jwc = KindsJwc();
  context.SourcePath = dir_ / "kinds.jwc";
  ASSERT_TRUE(FileOutDXF(std::move(jwc), context, dir_ / "kinds.dxf", DxfVersion::R2000));
  EXPECT_EQ(held(jwc), 0u);

  TJwkData jwk = MakeJwkShape();
  jwk.EntLine = {JwcLine(0, 0, 50, 0)};
  jwk.EntArc = {JwcArc(10, 10, 5, 0, 0)};
  jwk.EntMoji = {JwcText(0, -10, 10, -10, u"A", 3)};
  jwk.EntTen = {JwcPoint(10, 10)};
  context.SourcePath = dir_ / "shape.jwk";
  ASSERT_TRUE(FileOutDXF(std::move(jwk), context, dir_ / "shape.dxf", DxfVersion::R2000));
  EXPECT_EQ(held(jwk), 0u);
}

// Group 0 is the base group (paper, scale 1); groups 1 and 3 share the
// scale 50 and group 2 has 100, so there are two model-space viewports
// besides the paper's own.
TEST_P(DosConversion, JwcBaseGroupOnPaperOneViewportPerScale) {
  const int version = GetParam();
  TJwcData d = MakeJwcDrawing();
  for (int g = 1; g < 16; ++g) d.EntLgrp[g].scale = 50;
  d.EntLgrp[2].scale = 100;
  for (uint8_t g = 0; g < 4; ++g) {
    d.EntLine.push_back(JwcLine(10, 10, 20, 10, static_cast<uint8_t>(g * 16)));
  }
  ConversionSettings settings = SettingsFor(version);
  settings.OutputSpace = OutputSpace::ModelAndPaper;
  const DxfPairs dxf = ConvertBytes(WriteJwc(d), ".jwc", settings);

  const auto lines = dxf.OfType("LINE");
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[0]->Int(67), 1);
  EXPECT_DOUBLE_EQ(lines[0]->Num(10), 10);
  for (size_t i = 1; i < 4; ++i) EXPECT_FALSE(lines[i]->Has(67)) << i;
  EXPECT_DOUBLE_EQ(lines[1]->Num(10), 500);
  EXPECT_DOUBLE_EQ(lines[2]->Num(10) - 42000, 1000);  // the second viewport's strip
  EXPECT_DOUBLE_EQ(lines[3]->Num(10), 500);
  EXPECT_EQ(dxf.OfType("VIEWPORT").size(), 3u);
}

// Curve members join into one polyline when curve polylines are on and
// stay lines when they are off.
TEST_P(DosConversion, CurveMembersBecomeOnePolylineOnlyWhenAsked) {
  const int version = GetParam();
  TJwcData d = MakeJwcDrawing();
  d.EntLine = {JwcLine(0, 0, 10, 0), JwcLine(10, 0, 10, 10), JwcLine(50, 50, 60, 50)};
  d.EntLine[0].flg2 = 0x40;
  d.EntLine[1].flg2 = 0xC0;  // last member of its curve
  for (bool curves : {false, true}) {
    SCOPED_TRACE(curves);
    ConversionSettings settings = SettingsFor(version);
    settings.CurveToPolyline = curves;
    const DxfPairs dxf = ConvertBytes(WriteJwc(d), ".jwc", settings);
    const std::vector<std::string> expected =
        curves ? std::vector<std::string>{"LINE", "POLYLINE"}
               : std::vector<std::string>{"LINE", "LINE", "LINE"};
    EXPECT_EQ(TypesOf(dxf), expected);
    EXPECT_EQ(dxf.OfType("VERTEX").size(), curves ? 3u : 0u);
  }
}

// An image text names a file beside the drawing: an IMAGE on the text's
// layer, its width from the text, its height from the pixels, both at the
// group's scale (none in R12). A name under "%temp%" means an image that
// only JWW drawings carry: left out.
TEST_P(DosConversion, ImageTextsBecomeImagesOfTheFilesTheyName) {
  const int version = GetParam();
  ASSERT_TRUE(SaveBytes(dir_ / "pic.bmp", BmpImage(64, 32)));
  TJwcData d = MakeJwcDrawing();
  d.EntLgrp[0].scale = 2;
  d.EntMoji = {JwcText(10, 20, 30, 20, u"^@BMpic.bmp,100,50,0,0,1,0", 1, 1),
               JwcText(10, 20, 30, 20, u"^@BM%temp%pic.bmp,100,50,0,0,1,0", 1, 1),
               JwcText(10, 20, 30, 20, u"^@BMmissing.bmp,100,50,0,0,1,0", 1, 1)};
  const DxfPairs dxf = ConvertBytes(WriteJwc(d), ".jwc", SettingsFor(version));
  EXPECT_TRUE(dxf.OfType("TEXT").empty());
  const auto images = dxf.OfType("IMAGE");
  if (version == 0) {
    EXPECT_TRUE(images.empty());
    return;
  }
  ASSERT_EQ(images.size(), 1u);
  const DxfRecord& image = *images[0];
  EXPECT_EQ(image.Str(8), "2");
  EXPECT_DOUBLE_EQ(image.Num(10), 20);
  EXPECT_DOUBLE_EQ(image.Num(20), 40);
  // One pixel is 200 / 64 wide and 100 / 32 high.
  EXPECT_DOUBLE_EQ(image.Num(11), 200.0 / 64);
  EXPECT_DOUBLE_EQ(image.Num(22), 100.0 / 32);
}

// Damaged records: numbers that are not finite leave their record out, a
// text kind outside 1..10 takes kind 1's sizes and style, the last layer
// byte has its layer; the file stays clean for a DXF reader.
TEST_P(DosConversion, DamagedRecordsAreLeftOutOrMended) {
  const int version = GetParam();
  constexpr float kNan = std::numeric_limits<float>::quiet_NaN();
  constexpr float kInf = std::numeric_limits<float>::infinity();
  TJwcData d = MakeJwcDrawing();
  d.EntLgrp[15].scale = 1e30f;
  d.EntLine = {JwcLine(kNan, 0, 1, 1), JwcLine(0, 0, kInf, 1), JwcLine(0, 0, 10, 10, 255)};
  d.EntLine[2].flg2 = 0xC0;
  // Angles and flattenings are integers in the file; only the Singles can
  // be out of range.
  d.EntArc = {JwcArc(0, 0, kInf, 0, 0), JwcArc(kNan, 0, 1, 0, 0), JwcArc(5, 5, 1, 0, 0, 1, 0, 255)};
  d.EntMoji = {JwcText(0, 0, 10, 0, u"kind 200", 200), JwcText(kNan, 0, 10, 0, u"x")};
  d.EntTen = {JwcPoint(kInf, 0)};
  for (bool curves : {false, true}) {
    SCOPED_TRACE(curves);
    ConversionSettings settings = SettingsFor(version);
    settings.CurveToPolyline = curves;
    const DxfPairs dxf = ConvertBytes(WriteJwc(d), ".jwc", settings);
    const std::string line = curves ? "POLYLINE" : "LINE";
    EXPECT_EQ(TypesOf(dxf), (std::vector<std::string>{line, "CIRCLE", "TEXT"}));
    const DxfRecord& text = *dxf.OfType("TEXT")[0];
    EXPECT_EQ(text.Str(7), "MOJI1");
    EXPECT_DOUBLE_EQ(text.Num(40), 1.5);  // kind 1 of the drawing: 1.5 mm
  }
}

INSTANTIATE_TEST_SUITE_P(Versions, DosConversion, ::testing::Values(0, 1, 2),
                         [](const auto& info) { return std::string(kVersionNames[info.param]); });

}  // namespace
}  // namespace parvex::testing
