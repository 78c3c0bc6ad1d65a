// Drawings written by the test writer read back unchanged, across every
// version boundary and every tag, count and string form the format allows.
#include <gtest/gtest.h>

#include <limits>
#include <string>

#include "read_bytes.h"
#include "tests/support/jww_fixtures.h"
#include "tests/support/jww_writer.h"

namespace parvex::testing {
namespace {

struct Form {
  const char* name;
  JwwWriteOptions options;
};

std::vector<Form> WriteForms() {
  std::vector<Form> forms(6);
  forms[0].name = "short references";
  forms[1].name = "long references, long counts, long time stamps";
  forms[1].options.class_refs = ClassRefForm::kLong;
  forms[1].options.long_counts = true;
  forms[1].options.long_time_stamps = true;
  forms[2].name = "bare long references, long counts";
  forms[2].options.class_refs = ClassRefForm::kLongBare;
  forms[2].options.long_counts = true;
  forms[3].name = "a new-class tag for every object";
  forms[3].options.class_refs = ClassRefForm::kNewClass;
  forms[4].name = "mixed tags, long counts, UTF-16 strings";
  forms[4].options.cycle_class_refs = true;
  forms[4].options.long_counts = true;
  forms[4].options.strings = UnicodeStrings::kAlways;
  forms[5].name = "code page strings";
  forms[5].options.strings = UnicodeStrings::kNever;
  return forms;
}

class VersionRoundTrip : public ::testing::TestWithParam<int32_t> {};

TEST_P(VersionRoundTrip, EveryEntityKindInEveryWriteForm) {
  const int32_t version = GetParam();
  for (const Form& f : WriteForms()) {
    SCOPED_TRACE(f.name);
    TJwwData expected = MakeAllKindsDrawing(version);
    TJwwData actual;
    actual.BindImageExr = true;
    ASSERT_TRUE(Succeeded(ReadJww(actual, WriteJww(expected, f.options))));
    NormalizeForWrite(expected, version, f.options);
    EXPECT_EQ(CompareEntities(expected, actual), "");
    EXPECT_EQ(actual.Enthd.n1, static_cast<int32_t>(expected.EntNo.size()));
    EXPECT_EQ(actual.Enthd.n2, 2);
    // The string and count forms must not shift the header.
    EXPECT_EQ(actual.Enthd.nZumen, expected.Enthd.nZumen);
    EXPECT_EQ(actual.Enthd.strMemo, expected.Enthd.strMemo);
    EXPECT_EQ(actual.EntLay[37].aStrLayName, expected.EntLay[37].aStrLayName);
    EXPECT_EQ(actual.EntLgrp[3].adScale, expected.EntLgrp[3].adScale);
    EXPECT_EQ(actual.EntCol[4].aPrtPenColor, expected.EntCol[4].aPrtPenColor);
    EXPECT_EQ(actual.EntMoj[9].adMojiY, expected.EntMoj[9].adMojiY);
    EXPECT_EQ(actual.Enthd.adMojiKijunZureY2, expected.Enthd.adMojiKijunZureY2);
    if (f.options.strings == UnicodeStrings::kAlways) {
      EXPECT_EQ(actual.MojiEncode, 1);
    }
    // The drawing inserts "frame" (holding "door") and "door".
    EXPECT_EQ(actual.EntBlockTreeN(), 3);
    EXPECT_EQ(actual.EntBlockNum, 2);
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
    ASSERT_TRUE(Succeeded(ReadJww(read, WriteJww(drawing, options))));
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
    ASSERT_TRUE(Succeeded(ReadJww(read, WriteJww(drawing, options))));
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
  ASSERT_TRUE(Succeeded(ReadJww(read, WriteJww(drawing))));
  EXPECT_EQ(CompareEntities(drawing, read), "");
}

// A large file's digest is taken on another thread while the records are
// read; the drawing and its identity are those of a read on one thread,
// and a file cut short still fails with the digest thread running.
TEST(JwwRoundTrip, DigestTakenAsideIsTheSame) {
  TJwwData drawing = MakeJwwDrawing(700);
  TEntJwwLine line;
  for (int i = 0; i < 120000; ++i) {
    line.start_x = i;
    AddEntity(drawing, line);
  }
  const std::string bytes = WriteJww(drawing);
  ASSERT_GT(bytes.size(), 4u << 20);
  TJwwData one;
  ASSERT_TRUE(Succeeded(ReadJww(one, bytes)));
  for (int threads : {2, 8}) {
    TJwwData many;
    many.ReadThreads = threads;
    ASSERT_TRUE(Succeeded(ReadJww(many, bytes)));
    EXPECT_EQ(CompareEntities(one, many), "");
    EXPECT_TRUE(many.SourceDigest == one.SourceDigest) << threads;
    TJwwData cut;
    cut.ReadThreads = threads;
    EXPECT_FALSE(ReadJww(cut, std::string_view(bytes).substr(0, bytes.size() - 100)));
  }
}

}  // namespace
}  // namespace parvex::testing
