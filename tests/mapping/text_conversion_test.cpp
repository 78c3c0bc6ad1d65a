// Texts: kinds and their styles, sizes, angles, vertical writing, images
// left to the image pass, and Japanese text in every version.
#include <gtest/gtest.h>

#include "conversion_fixture.h"
#include "tests/support/jww_writer.h"

namespace parvex::testing {
namespace {

class TextConversion : public ConversionTest, public ::testing::WithParamInterface<int> {};

TEST_P(TextConversion, KindsSizesAnglesAndVerticalWriting) {
  const int version = GetParam();
  TJwwData d = MakeColouredDrawing();
  d.EntLgrp[0].adScale = 50;  // group 0 drawn at 1:50
  const TEntJwwAttr a = Attr(0, 0, 1, 1);
  AddEntity(d, Text(a, 0, 0, 12, 0, u"図面名称", 3, 3, 4));  // kind 3, horizontal
  AddEntity(d, Text(a, 0, 0, -10, 0, u"left", 10003));    // angle 180, italic
  TEntJwwMoji vertical = Text(a, 0, 0, 0, -20, u"縦書き", 3, 4, 5);
  vertical.att.sFlg = 0x20;
  AddEntity(d, vertical);
  AddEntity(d, Text(a, 1, 1, 1, 1, u"same point"));          // no direction: dropped
  AddEntity(d, Text(a, 0, 0, 5, 0, u"^@BMimage.bmp,10,10"));  // an image, not a text
  AddEntity(d, Text(a, 0, 0, 5, 0, u"^@BM no comma"));        // an ordinary text
  AddEntity(d, Text(Attr(0, 0, 9, 7), 0, 9, 5, 9, u"aux"));  // pen colour 9: HOJO

  const DxfPairs dxf = ConvertAndRead(d, SettingsFor(version));
  const auto texts = dxf.OfType("TEXT");
  ASSERT_EQ(texts.size(), 5u);

  const DxfRecord& h = *texts[0];
  EXPECT_EQ(h.Str(1), "図面名称");
  EXPECT_EQ(h.Str(7), "MOJI3");
  EXPECT_DOUBLE_EQ(h.Num(40), 4 * 50.0);
  EXPECT_DOUBLE_EQ(h.Num(41), 3.0 / 4.0);
  EXPECT_NEAR(h.Num(50), 0, 1e-9);
  EXPECT_DOUBLE_EQ(h.Num(10), 210 * 50.0);

  const DxfRecord& left = *texts[1];
  EXPECT_NEAR(left.Num(50), 180, 1e-9);
  EXPECT_EQ(left.Str(7), "MOJI3");
  EXPECT_TRUE(left.Has(51));  // slanted

  const DxfRecord& v = *texts[2];
  EXPECT_EQ(v.Str(1), "縦書き");
  EXPECT_EQ(v.Str(7), "MOJI3T");
  EXPECT_EQ(v.Int(72), 3);
  // Width and height exchanged: height 4, width factor 5 / 4.
  EXPECT_DOUBLE_EQ(v.Num(40), 4 * 50.0);
  EXPECT_DOUBLE_EQ(v.Num(41), 5.0 / 4.0);
  EXPECT_NEAR(v.Num(50), 270, 1e-9);
  // Moved by half the width to the left of the writing direction (down
  // the page, so +x), before scaling.
  EXPECT_NEAR(v.Num(10), (210 + 2) * 50.0, 1e-6);

  EXPECT_EQ(texts[3]->Str(1), "^@BM no comma");
  EXPECT_EQ(texts[4]->Str(8), "HOJO");

  // The style of kind 3 takes the kind's proportions.
  ASSERT_TRUE(dxf.styles.count("MOJI3"));
  EXPECT_DOUBLE_EQ(dxf.styles.at("MOJI3").Num(41), 3.0 / 4.0);
}

TEST_P(TextConversion, TrueTypeStylesPerFont) {
  const int version = GetParam();
  TJwwData d = MakeColouredDrawing();
  const TEntJwwAttr a = Attr(0, 0, 1, 1);
  TEntJwwMoji first = Text(a, 0, 0, 10, 0, u"A");
  first.strFontName = u"FontA";
  TEntJwwMoji second = Text(a, 0, 5, 10, 5, u"B");
  second.strFontName = u"FontB";
  TEntJwwMoji secondVertical = second;
  secondVertical.att.sFlg = 0x20;
  TEntJwwMoji atFont = secondVertical;
  atFont.strFontName = u"@FontB";
  for (const auto& t : {first, second, secondVertical, atFont}) AddEntity(d, t);
  ConversionSettings s = SettingsFor(version);
  s.TextStyleMode = TextStyleMode::TrueType;
  const DxfPairs dxf = ConvertAndRead(d, s);
  const auto texts = dxf.OfType("TEXT");
  ASSERT_EQ(texts.size(), 4u);
  EXPECT_EQ(texts[0]->Str(7), "MOJI1");
  EXPECT_EQ(texts[1]->Str(7), "MOJI2");
  EXPECT_EQ(texts[2]->Str(7), "MOJI2T");
  // R12 writes table names and font files in upper case.
  EXPECT_EQ(texts[3]->Str(7), version == 0 ? "STANDARD" : "Standard");
  EXPECT_EQ(dxf.styles.size(), 6u);
  EXPECT_EQ(dxf.styles.at("MOJI2T").Str(3), version == 0 ? "@FONTB.TTF" : "@FontB.ttf");
}

INSTANTIATE_TEST_SUITE_P(Versions, TextConversion, ::testing::Values(0, 1, 2),
                         [](const auto& info) { return std::string(kVersionNames[info.param]); });

}  // namespace
}  // namespace parvex::testing
