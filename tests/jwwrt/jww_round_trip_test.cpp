// Drawings written by the test writer and read back by the JWW reader.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>

#include "read_helpers.h"
#include "tests/support/jww_fixtures.h"
#include "tests/support/jww_writer.h"

namespace parvex::testing {
namespace {

struct RefCase {
  const char* name;
  ClassRefForm form;
  bool cycle;
  bool long_counts;
};

const RefCase kRefCases[] = {
    {"short", ClassRefForm::kShort, false, false},
    {"long", ClassRefForm::kLong, false, false},
    {"long_bare", ClassRefForm::kLongBare, false, true},
    {"new_class_each_time", ClassRefForm::kNewClass, false, false},
    {"mixed", ClassRefForm::kShort, true, true},
};

class VersionRoundTrip : public ::testing::TestWithParam<int32_t> {};

TEST_P(VersionRoundTrip, EveryEntityKindAndClassReferenceForm) {
  const int32_t version = GetParam();
  TJwwData expected = MakeAllKindsDrawing(version);
  NormalizeForVersion(expected, version);
  for (const RefCase& c : kRefCases) {
    SCOPED_TRACE(c.name);
    JwwWriteOptions options;
    options.class_refs = c.form;
    options.cycle_class_refs = c.cycle;
    options.long_counts = c.long_counts;
    TJwwData read;
    ASSERT_TRUE(ReadJww(read, WriteJww(MakeAllKindsDrawing(version), options))) << read.LastError;
    EXPECT_EQ(CompareEntities(expected, read), "");
    EXPECT_EQ(read.Enthd.n1, static_cast<int32_t>(expected.EntNo.size()));
    EXPECT_EQ(read.Enthd.n2, 2);
  }
}

// Header fields that exist only from some version on, checked at every
// boundary: present fields carry the written value, absent ones the default.
TEST_P(VersionRoundTrip, HeaderFieldsFollowTheVersion) {
  const int32_t v = GetParam();
  const TJwwData written = MakeAllKindsDrawing(v);
  TJwwData d;
  ASSERT_TRUE(ReadJww(d, WriteJww(written))) << d.LastError;
  const TEntJwwHeader& h = d.Enthd;
  const TEntJwwHeader& w = written.Enthd;
  const TEntJwwHeader defaults;

  EXPECT_EQ(h.jwVer, v);
  EXPECT_EQ(h.strMemo, w.strMemo);  // raw text keeps CR LF
  EXPECT_EQ(h.nZumen, 3);
  EXPECT_EQ(h.nWriteGLay, 2);
  EXPECT_EQ(h.lnSunpou5, 15);
  EXPECT_EQ(h.nMaxDrawWid, 7);
  EXPECT_EQ(h.dPrtBairitsu, 2);
  EXPECT_EQ(h.dMemoriX, 2.5);
  EXPECT_EQ(h.dKabeKageLevel, 4.5);
  EXPECT_EQ(h.dTenkuuZuLevel, v >= 300 ? 5.5 : defaults.dTenkuuZuLevel);
  EXPECT_EQ(h.dTenkuuZuEnkoR, v >= 300 ? 6.5 : defaults.dTenkuuZuEnkoR);
  EXPECT_EQ(h.nMMTani3D, 9);
  EXPECT_EQ(h.DPHanniGenten_y, -8);
  for (int i = 1; i <= 8; ++i) {
    SCOPED_TRACE(i);
    const bool stored = i <= 4 || v >= 231;
    EXPECT_EQ(h.dZoomJumpBairitsu[i], stored ? w.dZoomJumpBairitsu[i] : defaults.dZoomJumpBairitsu[i]);
    EXPECT_EQ(h.DPZoomJumpGenten_y[i], stored ? w.DPZoomJumpGenten_y[i] : defaults.DPZoomJumpGenten_y[i]);
    EXPECT_EQ(h.nZoomJumpGLay[i], v >= 231 ? w.nZoomJumpGLay[i] : defaults.nZoomJumpGLay[i]);
  }
  EXPECT_EQ(h.lnDm1, v >= 231 ? 12 : 0);
  EXPECT_EQ(h.nMojiBG, v >= 231 ? 4 : 0);
  EXPECT_EQ(h.adFukusenSuuchi[9], 9.5);
  EXPECT_EQ(h.dRyougawaFukusenTomeDe, 1.75);
  EXPECT_EQ(h.nPrtKyoutsuuGray, 10);
  EXPECT_EQ(h.nPrtDpi, 300);
  EXPECT_EQ(h.nPrtDispOnlyNonDraw, 1);
  EXPECT_EQ(h.lnDrawTime, v >= 223 ? 3600 : 0);
  EXPECT_EQ(h.dEye_V_Ichi_3, v >= 223 ? 7.5 : 0);
  EXPECT_EQ(h.dEnHankeiSnpou, v >= 225 ? 9.5 : 0);
  EXPECT_EQ(h.SolidColor, v >= 230 ? 0x123456 : 0);
  EXPECT_EQ(h.dMojiSizeY, 3.5);
  EXPECT_EQ(h.nMojiShu, 4);
  EXPECT_EQ(h.nMojiKijunZureOn, 1);
  EXPECT_EQ(h.adMojiKijunZureY2, -1.5);

  ASSERT_EQ(d.EntLgrp.size(), 16u);
  ASSERT_EQ(d.EntLay.size(), 256u);
  EXPECT_EQ(d.EntLgrp[1].adScale, 50);
  EXPECT_EQ(d.EntLgrp[15].anGLayProtect, 1);
  EXPECT_EQ(d.EntLgrp[0].aStrGLayName, u"一般図");
  EXPECT_EQ(d.EntLay[16 + 3].aStrLayName, u"Wall D");
  EXPECT_EQ(d.EntLay[15].aanLayProtect, 1);
  EXPECT_EQ(d.EntCol[9].adPrtTenHankei, written.EntCol[9].adPrtTenHankei);
  EXPECT_EQ(d.EntLtp2[4].anPrtRandSenWide, 8);
  EXPECT_EQ(d.EntLtp3[3].anPrtTokushuSenPich, 3);
  EXPECT_EQ(d.EntMoj[9].anMojiCol, written.EntMoj[9].anMojiCol);

  ASSERT_EQ(d.EntColS.size(), 257u);
  ASSERT_EQ(d.EntLtpS.size(), 33u);
  if (v >= 420) {
    EXPECT_EQ(d.EntColS[256].astrUDColorName, u"ユーザー色");
    EXPECT_EQ(d.EntColS[256].adPrtTenHankei, written.EntColS[256].adPrtTenHankei);
    EXPECT_EQ(d.EntLtpS[1].astrUDLTypeName, u"continuous");
    EXPECT_EQ(d.EntLtpS[32].aadUDLTypePitch[10], written.EntLtpS[32].aadUDLTypePitch[10]);
  } else {
    EXPECT_EQ(d.EntColS[256].astrUDColorName, u"");
    EXPECT_EQ(d.EntColS[256].aPenColor, 0);
    EXPECT_EQ(d.EntLtpS[32].aadUDLTypePitch[10], 0);
  }
}

INSTANTIATE_TEST_SUITE_P(Boundaries, VersionRoundTrip, ::testing::ValuesIn(kJwwBoundaryVersions));

TEST(JwwRoundTrip, StringsWithTheUnicodeMarker) {
  TJwwData drawing = MakeJwwDrawing(700);
  TEntJwwMoji text;
  text.att = Attr(0, 0);
  text.dSizeX = text.dSizeY = 3;
  text.str = u"한국어 ①";  // Hangul has no code page 932 form
  text.strFontName = u"Arial";
  AddEntity(drawing, text);
  for (UnicodeStrings mode : {UnicodeStrings::kWhenNeeded, UnicodeStrings::kAlways}) {
    JwwWriteOptions options;
    options.strings = mode;
    TJwwData read;
    ASSERT_TRUE(ReadJww(read, WriteJww(drawing, options))) << read.LastError;
    EXPECT_EQ(CompareEntities(drawing, read), "");
    EXPECT_EQ(read.MojiEncode, 1);
  }
  TJwwData plain;
  drawing.EntMoji[0].str = u"ＡＢＣ abc";
  ASSERT_TRUE(ReadJww(plain, WriteJww(drawing)));
  EXPECT_EQ(plain.EntMoji[0].str, u"ＡＢＣ abc");
  EXPECT_EQ(plain.MojiEncode, 0);
}

// Lengths of 255 and more take the word form; a NUL ends the text but its
// bytes are still consumed.
TEST(JwwRoundTrip, LongStringsAndEmbeddedNul) {
  struct Case {
    const char* name;
    std::u16string text;
    std::u16string expected;
    UnicodeStrings mode;
  };
  const std::u16string long_latin(300, u'x');
  const std::u16string long_kanji(400, u'漢');
  const Case cases[] = {
      {"254 bytes", std::u16string(254, u'a'), std::u16string(254, u'a'), UnicodeStrings::kNever},
      {"255 bytes", std::u16string(255, u'b'), std::u16string(255, u'b'), UnicodeStrings::kNever},
      {"300 bytes", long_latin, long_latin, UnicodeStrings::kNever},
      {"800 bytes of kanji", long_kanji, long_kanji, UnicodeStrings::kNever},
      {"400 UTF-16 units", long_kanji, long_kanji, UnicodeStrings::kAlways},
      {"NUL in bytes", std::u16string(u"ab\0cd", 5), u"ab", UnicodeStrings::kNever},
      {"NUL in UTF-16", std::u16string(u"ab\0cd", 5), u"ab", UnicodeStrings::kAlways},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TJwwData drawing = MakeJwwDrawing(700);
    TEntJwwMoji text;
    text.dSizeX = text.dSizeY = 3;
    text.str = c.text;
    text.strFontName = u"font";
    AddEntity(drawing, text);
    TEntJwwLine after;
    after.end_x = 7;
    AddEntity(drawing, after);
    JwwWriteOptions options;
    options.strings = c.mode;
    TJwwData read;
    ASSERT_TRUE(ReadJww(read, WriteJww(drawing, options))) << read.LastError;
    ASSERT_EQ(read.EntMojiN(), 1);
    EXPECT_EQ(read.EntMoji[0].str, c.expected);
    EXPECT_EQ(read.EntMoji[0].strFontName, u"font");
    ASSERT_EQ(read.EntLineN(), 1);
    EXPECT_EQ(read.EntLine[0].end_x, 7);
  }
}

TEST(JwwRoundTrip, CleanTextDropsControlCharactersButTheMemoKeepsThem) {
  TJwwData drawing = MakeJwwDrawing(351);
  drawing.Enthd.strMemo = u"a\r\nb\tc";
  drawing.EntLay[0].aStrLayName = u"A\tB";
  TEntJwwMoji text;
  text.dSizeX = text.dSizeY = 3;
  text.str = u"x\ny z";
  AddEntity(drawing, text);
  TJwwData read;
  ASSERT_TRUE(ReadJww(read, WriteJww(drawing)));
  EXPECT_EQ(read.Enthd.strMemo, u"a\r\nb\tc");
  EXPECT_EQ(read.EntLay[0].aStrLayName, u"AB");
  EXPECT_EQ(read.EntMoji[0].str, u"xy z");
}

TEST(JwwRoundTrip, NonFiniteTextSizesAreReplaced) {
  TJwwData drawing = MakeJwwDrawing(420);
  TEntJwwMoji text;
  text.dSizeX = std::numeric_limits<double>::quiet_NaN();
  text.dSizeY = std::numeric_limits<double>::infinity();
  text.dKankaku = -std::numeric_limits<double>::infinity();
  AddEntity(drawing, text);
  TEntJwwSunpo dim;
  dim.Moji = text;
  AddEntity(drawing, dim);
  drawing.EntMoj[4].adMojiX = std::numeric_limits<double>::quiet_NaN();
  drawing.EntMoj[4].adMojiD = std::numeric_limits<double>::infinity();
  TJwwData read;
  ASSERT_TRUE(ReadJww(read, WriteJww(drawing)));
  for (const TEntJwwMoji* m : {&read.EntMoji[0], &read.EntSunpo[0].Moji}) {
    EXPECT_EQ(m->dSizeX, 3.0);
    EXPECT_EQ(m->dSizeY, 3.0);
    EXPECT_EQ(m->dKankaku, 0.0);
  }
  EXPECT_EQ(read.EntMoj[4].adMojiX, 3.0);
  EXPECT_EQ(read.EntMoj[4].adMojiD, 0.0);
}

TEST(JwwRoundTrip, LongTimeStampsBecomeThePosition) {
  TJwwData drawing = MakeAllKindsDrawing(600);
  JwwWriteOptions options;
  options.long_time_stamps = true;
  TJwwData read;
  ASSERT_TRUE(ReadJww(read, WriteJww(drawing, options)));
  ASSERT_EQ(read.EntBlockDefN(), 2);
  EXPECT_EQ(read.EntBlockDef[0].dtime, 1u);
  EXPECT_EQ(read.EntBlockDef[1].dtime, 2u);
  EXPECT_EQ(read.EntBlockDef[1].strName, u"枠");
  EXPECT_EQ(read.EntBlockDef[1].mNo.size(), 2u);
}

// After 32767 objects a class first seen there no longer fits a short
// reference; the writer falls back to the long form.
TEST(JwwRoundTrip, ClassIndexBeyondTheShortForm) {
  TJwwData drawing = MakeJwwDrawing(700);
  TEntJwwLine line;
  for (int i = 0; i < 33000; ++i) {
    line.start_x = i;
    AddEntity(drawing, line);
  }
  TEntJwwTen point;
  for (int i = 0; i < 3; ++i) {
    point.start_x = i;
    AddEntity(drawing, point);
  }
  TJwwData read;
  ASSERT_TRUE(ReadJww(read, WriteJww(drawing))) << read.LastError;
  EXPECT_EQ(CompareEntities(drawing, read), "");
}

TEST(JwwRoundTrip, BlockDefinitionsShareTheClassMapWithTheDrawing) {
  // The definition members refer back to classes introduced in the drawing
  // and the drawing list's later entries are irrelevant: the writer always
  // introduces each class once in file order.
  TJwwData drawing = MakeAllKindsDrawing(700);
  TJwwData read;
  ASSERT_TRUE(ReadJww(read, WriteJww(drawing)));
  ASSERT_EQ(read.EntBlockDefN(), 2);
  EXPECT_EQ(read.EntBlockDef[0].mEnkoN(), 1);
  EXPECT_EQ(read.EntBlockDef[1].mMojiN(), 1);
  EXPECT_EQ(read.EntBlockDef[1].mBlockN(), 1);
}

TEST(JwwRoundTrip, BlockTreeOfNestedInsertions) {
  TJwwData read;
  ASSERT_TRUE(ReadJww(read, WriteJww(MakeAllKindsDrawing(700))));
  // frame (inserted once) holds door; door is also inserted directly.
  ASSERT_EQ(read.EntBlockTreeN(), 3);
  EXPECT_EQ(read.EntBlockTree[0].defno, 1);
  EXPECT_EQ(read.EntBlockTree[1].defno, 0);
  EXPECT_EQ(read.EntBlockTree[2].parent, 0);
  EXPECT_EQ(read.EntBlockTree[2].level, 1);
  EXPECT_EQ(read.EntBlockTree[2].name, u"door");
  // Frame at (200, 100), scale 2, rotated a quarter turn; door at (5, 5) in it.
  EXPECT_NEAR(read.EntBlockTree[2].x, 190, 1e-9);
  EXPECT_NEAR(read.EntBlockTree[2].y, 110, 1e-9);
  EXPECT_NEAR(read.EntBlockTree[2].r2, -2, 1e-9);
  EXPECT_EQ(read.EntBlockNum, 2);
  EXPECT_EQ(read.EntBlockDef[0].ref_no, 0);
  EXPECT_EQ(read.EntBlockDef[1].ref_no, 1);
}

TEST(JwwRoundTrip, SelfInsertingBlocksEndTheExpansion) {
  // A inserts itself; B and C insert each other.
  TJwwData drawing = MakeJwwDrawing(700);
  for (uint32_t number : {1u, 2u, 3u}) {
    TEntJwwBlockDef def;
    def.nNumber = number;
    def.strName = number == 1 ? u"A" : number == 2 ? u"B" : u"C";
    TEntJwwLine line;
    line.end_x = 1;
    AddMember(def, line);
    TEntJwwBlock insert;
    insert.dBairitsuX = insert.dBairitsuY = 1;
    insert.nNumber = number == 1 ? 1 : number == 2 ? 3 : 2;
    AddMember(def, insert);
    drawing.EntBlockDef.push_back(def);
  }
  TEntJwwBlock insert;
  insert.dBairitsuX = insert.dBairitsuY = 1;
  insert.nNumber = 1;
  AddEntity(drawing, insert);
  insert.nNumber = 2;
  AddEntity(drawing, insert);
  TJwwData read;
  ASSERT_TRUE(ReadJww(read, WriteJww(drawing)));
  // The cycles are cut early: a handful of nodes, not thousands.
  EXPECT_GE(read.EntBlockTreeN(), 3);
  EXPECT_LE(read.EntBlockTreeN(), 100);
  for (const TEntJwwBlockTree& node : read.EntBlockTree) EXPECT_LE(node.level, kMaxBlockTreeLevel);
  EXPECT_EQ(read.EntBlockNum, 3);
}

}  // namespace
}  // namespace parvex::testing
