// Reading JWC drawings and JWK shapes: the record layout, the header
// fields, the text pool and the values that must never index or divide
// outside their range.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "common/platform/codepage.h"
#include "read_helpers.h"
#include "tests/support/jwc_fixtures.h"
#include "tests/support/jwc_writer.h"
#include "tests/support/temp_folder.h"

namespace parvex::testing {
namespace {

// A byte image assembled field by field, independent of the test writer.
struct Image {
  std::string b;
  template <class T>
  Image& Put(T v) {
    b.append(reinterpret_cast<const char*>(&v), sizeof v);
    return *this;
  }
  // `text` (code page 932) NUL-padded to n bytes.
  Image& Text(std::u16string_view text, size_t n) {
    std::string s = platform::EncodeCp932(text);
    s.resize(n, '\0');
    b += s;
    return *this;
  }
  template <class T>
  Image& Repeat(T v, size_t n) {
    for (size_t i = 0; i < n; ++i) Put(v);
    return *this;
  }
};

// Header block 1: identification and comments.
void IdBlock(Image& im, std::u16string_view id, std::u16string_view c1, std::u16string_view c2) {
  im.Text(id, 40).Text(c1, 32).Text(c2, 32).Text(u"", 96);
}

TEST(JwcReader, HandAssembledDrawing) {
  Image im;
  IdBlock(im, u"jw_cad(c)data.......  f", u"one", u"二");
  im.Text(u"1,1,1,1,2,0,0,0,0,1.5,0,3,0,0,0,0,0,0,99,0,0,0,0,0,0,0,0,0,0,0,420,0", 200);
  im.Text(u"", 200);
  im.Text(u"1000:0000,1000:0004", 200);
  for (float x : {0.0f, 12.5f}) im.Put(x);
  im.Repeat(0.0f, 99);
  for (float y : {0.0f, 7.0f}) im.Put(y);
  im.Repeat(0.0f, 99);
  im.Put(uint8_t{0}).Put(uint8_t{3}).Repeat(uint8_t{0}, 99);
  // Text kinds: penNo, width, height, dist of entries 0..10; kind 3 set.
  for (uint16_t v : {2, 30, 35, 5}) im.Repeat(uint16_t{0}, 3).Put(v).Repeat(uint16_t{0}, 7);
  im.Put(50.0f).Repeat(1.0f, 15);
  im.Repeat(uint8_t{1}, 16 + 256 + 16);
  im.Repeat(uint8_t{1}, 5).Put(uint8_t{0}).Repeat(uint8_t{1}, 250);
  im.Put(uint8_t{7}).Repeat(uint8_t{0}, 15);
  // One line, arc, text, the pool and one point.
  for (float v : {1.0f, 2.0f, 3.0f, 4.0f}) im.Put(v);
  for (uint8_t v : {9, 6, 17, 1, 2, 3}) im.Put(v);
  for (float v : {10.0f, 20.0f, 5.0f}) im.Put(v);
  im.Put(uint16_t{5000});
  for (int32_t deg : {90, 180, 45}) im.Put(deg * 65536);
  for (uint8_t v : {2, 3, 4, 0x10, 0x20, 0x30}) im.Put(v);
  for (float v : {1.0f, 2.0f, 3.0f, 4.0f}) im.Put(v);
  im.Put(uint16_t{1}).Put(uint16_t{0x1000});
  for (uint8_t v : {3, 18, 0x20, 0}) im.Put(v);
  im.b += std::string("\0Hi\0", 4);
  im.Put(5.0f).Put(6.0f);
  for (uint8_t v : {7, 2, 0, 0}) im.Put(v);
  im.Text(u"壁", 8).Text(u"ABCDEFGH", 8).Text(u"", 254 * 8);
  im.Text(u"平面図", 16).Text(u"", 15 * 16);

  TJwcData d;
  const Status read = ReadJwc(d, im.b);
  ASSERT_TRUE(read) << read.reason();
  const TEntJwcHeader& h = d.Enthd;
  EXPECT_EQ(h.comment1, u"one");
  EXPECT_EQ(h.comment2, u"二");
  EXPECT_TRUE(h.scaleF);
  EXPECT_EQ(h.vtenCount, 2);
  EXPECT_EQ(h.wLayScale, 1.5f);
  EXPECT_EQ(h.psize, 3);
  EXPECT_EQ(h.drawtime, 99);
  EXPECT_EQ(h.drawWidth, 420);
  EXPECT_DOUBLE_EQ(h.dataUnit, 1.0);
  EXPECT_EQ(h.sBufAdr1, 0x10000);
  EXPECT_EQ(h.sBufAdr2, 0x10004);
  EXPECT_EQ(d.EntVten[1], (TEntJwcVten{12.5f, 7, 3}));
  EXPECT_EQ(d.EntMjtp[3], (TEntJwcMojiType{2, 30, 35, 5}));
  EXPECT_EQ(d.EntLgrp[0].scale, 50.0f);
  EXPECT_EQ(d.EntLgrp[0].w_lay, 7);
  EXPECT_EQ(d.EntLgrp[0].name, u"平面図");
  EXPECT_EQ(d.EntLay[5].dispF, 0);
  EXPECT_EQ(d.EntLay[6].dispF, 1);
  EXPECT_EQ(d.EntLay[0].name, u"壁");
  EXPECT_EQ(d.EntLay[1].name, u"ABCDEFGH");
  ASSERT_EQ(d.lineN(), 1);
  EXPECT_EQ(d.EntLine[0], (TEntJwcLine{1, 2, 3, 4, 9, 6, 17, 1, 2, 3}));
  ASSERT_EQ(d.arcN(), 1);
  EXPECT_EQ(d.EntArc[0], (TEntJwcArc2{10, 20, 5, 0.5f, 90, 180, 45, 2, 3, 4, 0x10, 0x20, 0x30}));
  ASSERT_EQ(d.mojiN(), 1);
  const TEntJwcMoji2& m = d.EntMoji[0];
  EXPECT_EQ(m.p, 0x10001);
  EXPECT_EQ(m.s, u"Hi");
  EXPECT_EQ(m.no, 3);
  EXPECT_EQ(m.lay, 18);
  EXPECT_EQ(m.flg1, 0x20);
  ASSERT_EQ(d.tenN(), 1);
  EXPECT_EQ(d.EntTen[0], (TEntJwcTen{5, 6, 7, 2, 0, 0}));
}

TEST(JwkReader, HandAssembledShape) {
  Image im;
  IdBlock(im, u"jw_cad(c)sym........", u"bolt", u"ボルト");
  im.Text(u"1,1,1,1,10,20,2,6,50", 200);
  for (float v : {-1.0f, 0.0f, 1.0f, 0.0f}) im.Put(v);
  for (uint8_t v : {1, 2, 0, 0, 0, 0}) im.Put(v);
  for (float v : {0.0f, 0.0f, 12.0f}) im.Put(v);
  im.Put(uint16_t{10000}).Put(0).Put(0).Put(0);
  for (uint8_t v : {1, 3, 0, 0, 0, 0}) im.Put(v);
  im.Put(3.0f).Put(4.0f);
  for (uint8_t v : {0, 5, 0, 0}) im.Put(v);
  for (float v : {0.0f, 20.0f, 30.0f, 20.0f}) im.Put(v);
  // The offset alone addresses the pool; the second word is ignored.
  im.Put(uint16_t{3}).Put(uint16_t{0x1234});
  for (uint8_t v : {4, 0, 0, 0}) im.Put(v);
  im.b += std::string("ab\0cd\0", 6);

  TJwkData s;
  const Status read = ReadJwk(s, im.b);
  ASSERT_TRUE(read) << read.reason();
  EXPECT_EQ(s.Enthd.comment2, u"ボルト");
  EXPECT_EQ(s.Enthd.org_x, 10.0f);
  EXPECT_EQ(s.Enthd.org_y, 20.0f);
  EXPECT_EQ(s.Enthd.dispScale, 2.0f);
  EXPECT_EQ(s.Enthd.strSpace, 6);
  EXPECT_EQ(s.Enthd.scale, 50.0f);
  ASSERT_EQ(s.lineN(), 1);
  EXPECT_EQ(s.EntLine[0], (TEntJwcLine{-1, 0, 1, 0, 1, 2, 0, 0, 0, 0}));
  ASSERT_EQ(s.arcN(), 1);
  EXPECT_EQ(s.EntArc[0], (TEntJwcArc2{0, 0, 12, 1, 0, 0, 0, 1, 3, 0, 0, 0, 0}));
  ASSERT_EQ(s.tenN(), 1);
  EXPECT_EQ(s.EntTen[0], (TEntJwcTen{3, 4, 0, 5, 0, 0}));
  ASSERT_EQ(s.mojiN(), 1);
  EXPECT_EQ(s.EntMoji[0].p, 3);
  EXPECT_EQ(s.EntMoji[0].s, u"cd");
  EXPECT_EQ(s.EntMoji[0].no, 4);
  // The fixed text kinds of a shape.
  EXPECT_EQ(s.EntMjtp[1], (TEntJwcMojiType{1, 20, 20, 0}));
  EXPECT_EQ(s.EntMjtp[3], (TEntJwcMojiType{2, 30, 30, 5}));
  EXPECT_EQ(s.EntMjtp[10], (TEntJwcMojiType{5, 100, 100, 10}));
  EXPECT_EQ(s.EntMjtp[0], TEntJwcMojiType{});
  EXPECT_EQ(s.EntMjtp[11], TEntJwcMojiType{});
}

// The test writer and the readers agree on every record kind.
TEST(JwcReader, WrittenDrawingsReadBack) {
  const TJwcData jwc = MakeAllKindsJwc();
  TJwcData d;
  const Status read = ReadJwc(d, WriteJwc(jwc));
  ASSERT_TRUE(read) << read.reason();
  EXPECT_EQ(d.EntLine, jwc.EntLine);
  EXPECT_EQ(d.EntArc, jwc.EntArc);
  EXPECT_EQ(d.EntTen, jwc.EntTen);
  EXPECT_EQ(d.EntVten, jwc.EntVten);
  EXPECT_EQ(d.EntMjtp, jwc.EntMjtp);
  EXPECT_EQ(d.EntLgrp, jwc.EntLgrp);
  EXPECT_EQ(d.EntLay, jwc.EntLay);
  ASSERT_EQ(d.mojiN(), jwc.mojiN());
  for (int i = 0; i < d.mojiN(); ++i) {
    TEntJwcMoji2 expected = jwc.EntMoji[i];
    expected.p = d.EntMoji[i].p;  // the writer lays out the pool
    EXPECT_EQ(d.EntMoji[i], expected) << i;
  }
  EXPECT_EQ(d.Enthd.comment2, jwc.Enthd.comment2);
  EXPECT_EQ(d.Enthd.drawtime, jwc.Enthd.drawtime);

  const TJwkData jwk = MakeAllKindsJwk(20);
  TJwkData s;
  const Status shape = ReadJwk(s, WriteJwk(jwk));
  ASSERT_TRUE(shape) << shape.reason();
  EXPECT_EQ(s.EntLine, jwk.EntLine);
  EXPECT_EQ(s.EntArc, jwk.EntArc);
  EXPECT_EQ(s.EntTen, jwk.EntTen);
  ASSERT_EQ(s.mojiN(), jwk.mojiN());
  for (int i = 0; i < s.mojiN(); ++i) EXPECT_EQ(s.EntMoji[i].s, jwk.EntMoji[i].s);
  EXPECT_EQ(s.Enthd.scale, 20.0f);
}

// "0,...": the header text with psize at field 11 and drawWidth at 30.
std::string Header2(const std::string& psize, const std::string& drawWidth) {
  std::string text;
  for (int i = 0; i < 32; ++i) {
    if (i > 0) text += ',';
    text += i == 11 ? psize : i == 30 ? drawWidth : "0";
  }
  return text;
}

TEST(JwcReader, HeaderFieldsAndDataUnit) {
  struct Case {
    const char* name;
    std::string header2;
    int32_t psize;
    int32_t drawWidth;
    double dataUnit;
  };
  const Case cases[] = {
      {"A3 across 518 units", Header2("3", "518"), 3, 518, 420.0 / 518},
      {"A4 across 297 units", Header2("4", "297"), 4, 297, 1},
      {"drawing width 0 is the usual 518", Header2("1", "0"), 1, 518, 841.0 / 518},
      {"a negative drawing width is the usual 518", Header2("2", "-594"), 2, 518, 594.0 / 518},
      {"paper code 6 has no unit factor", Header2("6", "100"), 6, 100, 1},
      {"paper code 14", Header2("14", "1000"), 14, 1000, 100},
      {"negative paper code", Header2("-1", "518"), -1, 518, 1},
      {"missing fields read 0: A0", "0,0,0,0", 0, 518, 1189.0 / 518},
      {"empty header", "", 0, 518, 1189.0 / 518},
      {"unparsable fields read 0", Header2("three", "5l8"), 0, 518, 1189.0 / 518},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    JwcWriteOptions options;
    options.header2 = c.header2;
    TJwcData d;
    const Status read = ReadJwc(d, WriteJwc(MakeJwcDrawing(), options));
    ASSERT_TRUE(read) << read.reason();
    EXPECT_EQ(d.Enthd.psize, c.psize);
    EXPECT_EQ(d.Enthd.drawWidth, c.drawWidth);
    EXPECT_DOUBLE_EQ(d.Enthd.dataUnit, c.dataUnit);
    EXPECT_EQ(d.PaperCode(), c.psize);
  }
}

// The last field takes the rest of the text, commas included.
TEST(JwcReader, LastHeaderFieldTakesTheRest) {
  JwcWriteOptions options;
  options.header2 = Header2("3", "420") + ",5";
  TJwcData d;
  ASSERT_TRUE(ReadJwc(d, WriteJwc(MakeJwcDrawing(), options)));
  EXPECT_EQ(d.Enthd.flgPthin, 0);  // "0,5" is no number
  options.header2 = Header2("3", "420").substr(0, Header2("3", "420").size() - 1) + "7";
  ASSERT_TRUE(ReadJwc(d, WriteJwc(MakeJwcDrawing(), options)));
  EXPECT_EQ(d.Enthd.flgPthin, 7);
}

// psize 3 and drawWidth 518: a line 518 file units long is 420 mm.
TEST(JwcReader, CoordinatesBecomeMillimetres) {
  TJwcData drawing = MakeJwcDrawing();
  drawing.Enthd.drawWidth = 518;
  drawing.EntLine = {JwcLine(0, 0, 1, 0)};
  drawing.EntArc = {JwcArc(0, 0, 1, 0, 0)};
  JwcLayout layout;
  std::string bytes = WriteJwc(drawing, {}, &layout);
  Patch(bytes, layout.lines + 8, 518.0f);
  Patch(bytes, layout.arcs + 8, 259.0f);
  TJwcData d;
  ASSERT_TRUE(ReadJwc(d, bytes));
  EXPECT_FLOAT_EQ(d.EntLine[0].x2, 420);
  EXPECT_FLOAT_EQ(d.EntArc[0].r, 210);
}

TEST(JwcReader, GroupScalesAsSinglesOrWords) {
  struct Case {
    const char* name;
    std::u16string id;
    float written;  // through the writer: a Single with 'f' at index 22, else a Word
    float read;
  };
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float inf = std::numeric_limits<float>::infinity();
  const Case cases[] = {
      {"Single", u"jw_cad(c)data.......  f", 50.5f, 50.5f},
      {"Word", u"jw_cad(c)data.......", 50, 50},
      {"upper-case F means Words", u"jw_cad(c)data.......  F", 20, 20},
      {"Single 0 is taken as 1", u"jw_cad(c)data.......  f", 0, 1},
      {"Word 0 is taken as 1", u"jw_cad(c)data.......", 0, 1},
      {"negative Single is taken as 1", u"jw_cad(c)data.......  f", -50, 1},
      {"tiny Single is taken as 1", u"jw_cad(c)data.......  f", 1e-20f, 1},
      {"NaN is taken as 1", u"jw_cad(c)data.......  f", nan, 1},
      {"infinity is taken as 1", u"jw_cad(c)data.......  f", inf, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TJwcData drawing = MakeAllKindsJwc();
    drawing.Enthd.jwID = c.id;
    drawing.EntLgrp[4].scale = c.written;
    TJwcData d;
    const Status read = ReadJwc(d, WriteJwc(drawing));
    ASSERT_TRUE(read) << read.reason();
    EXPECT_EQ(d.Enthd.scaleF, c.id.size() > 22 && c.id[22] == u'f');
    EXPECT_EQ(d.EntLgrp[4].scale, c.read);
    // What follows the scales is read in place.
    EXPECT_EQ(d.EntLine, drawing.EntLine);
  }
}

TEST(JwkReader, ScaleThatCannotDivideReadsOne) {
  const std::pair<const char*, float> cases[] = {
      {"50", 50}, {"0.5", 0.5f}, {"0", 1}, {"-1", 1}, {"1e-15", 1}, {"abc", 1}, {"", 1}, {"1e39", 1},
  };
  for (const auto& [text, scale] : cases) {
    SCOPED_TRACE(text);
    JwcWriteOptions options;
    options.header2 = std::string("0,0,0,0,0,0,1,0,") + text;
    TJwkData s;
    ASSERT_TRUE(ReadJwk(s, WriteJwk(MakeJwkShape(), options)));
    EXPECT_EQ(s.Enthd.scale, scale);
  }
}

TEST(JwcReader, TextPoolAddresses) {
  // Pool at 0x10000: "ABC", "", "\x1F" "DE", "あ", then a text without NUL.
  const std::string pool = std::string("ABC\0\x1F" "DE\0\x82\xA0\0tail", 15);
  const int32_t base = 0x10000;
  struct Case {
    const char* name;
    int32_t p;
    std::u16string text;
  };
  const Case cases[] = {
      {"first text", base, u"ABC"},
      {"inside a text", base + 1, u"BC"},
      {"address of a NUL", base + 3, u""},
      {"control characters removed", base + 4, u"DE"},
      {"code page 932", base + 8, u"あ"},
      {"last text runs to the pool's end", base + 11, u"tail"},
      {"before the pool", base - 1, u""},
      {"at the pool's end", base + 15, u""},
      {"far beyond the pool", base + 100000, u""},
      {"address 0", 0, u""},
  };
  TJwcData drawing = MakeJwcDrawing();
  for (const Case& c : cases) {
    drawing.EntMoji.push_back(JwcText(0, 0, 1, 0, u""));
    drawing.EntMoji.back().p = c.p;
  }
  JwcWriteOptions options;
  options.pool = pool;
  TJwcData d;
  const Status read = ReadJwc(d, WriteJwc(drawing, options));
  ASSERT_TRUE(read) << read.reason();
  for (size_t i = 0; i < std::size(cases); ++i) {
    SCOPED_TRACE(cases[i].name);
    EXPECT_EQ(d.EntMoji[i].p, cases[i].p);
    EXPECT_EQ(d.EntMoji[i].s, cases[i].text);
  }
}

TEST(JwkReader, TextPoolOffsets) {
  struct Case {
    const char* name;
    int32_t p;
    std::u16string text;
  };
  const Case cases[] = {
      {"first", 0, u"ab"}, {"second", 3, u"cd"}, {"NUL", 2, u""}, {"at strSpace", 6, u""},
      {"beyond", 65535, u""},
  };
  TJwkData shape = MakeJwkShape();
  for (const Case& c : cases) {
    shape.EntMoji.push_back(JwcText(0, 0, 1, 0, u""));
    shape.EntMoji.back().p = c.p;
  }
  JwcWriteOptions options;
  options.pool = std::string("ab\0cd\0", 6);
  options.jwk_second_word = 0xBEEF;
  TJwkData s;
  ASSERT_TRUE(ReadJwk(s, WriteJwk(shape, options)));
  for (size_t i = 0; i < std::size(cases); ++i) {
    SCOPED_TRACE(cases[i].name);
    EXPECT_EQ(s.EntMoji[i].s, cases[i].text);
  }
  // A pool size that is not positive is no pool: every text is empty.
  options.stated_pool = -5;
  ASSERT_TRUE(ReadJwk(s, WriteJwk(shape, options)));
  for (const TEntJwcMoji2& m : s.EntMoji) EXPECT_EQ(m.s, u"");
}

// Damaged values that index tables or count stored points stay in range.
TEST(JwcReader, TextKindsAndVirtualPointsStayInTheirTables) {
  TJwcData d = MakeJwcDrawing();
  for (int no : {0, 1, 10, 11, 12, 255, -1}) {
    SCOPED_TRACE(no);
    const bool sound = no >= 1 && no <= 10;
    EXPECT_EQ(&d.TextKind(no), &d.EntMjtp[sound ? no : 1]);
  }
  const std::pair<int32_t, int> counts[] = {
      {-5, 0}, {0, 0}, {3, 3}, {100, 100}, {101, 100}, {1000000, 100},
  };
  for (const auto& [stated, used] : counts) {
    d.Enthd.vtenCount = stated;
    EXPECT_EQ(d.VirtualPointCount(), used) << stated;
  }
}

TEST(JwcReader, WidthFactorOfATextKind) {
  const std::pair<TEntJwcMojiType, double> cases[] = {
      {{1, 30, 30, 0}, 1}, {{1, 20, 40, 0}, 0.5}, {{1, 45, 30, 0}, 1.5}, {{1, 25, 0, 0}, 1},
      {{1, 0, 0, 0}, 1},
  };
  for (const auto& [kind, factor] : cases) {
    EXPECT_DOUBLE_EQ(kind.WidthFactor(), factor) << kind.width << "/" << kind.height;
  }
}

TEST(JwcReader, FileCheckLooksAtTheFirstTwentyBytes) {
  struct Case {
    const char* name;
    std::string head;
    bool jwc;
    bool jwk;
  };
  const Case cases[] = {
      {"JWC identification", "jw_cad(c)data.......", true, false},
      {"JWC identification and more", "jw_cad(c)data.......  f and more", true, false},
      {"JWK identification", "jw_cad(c)sym........", false, true},
      {"one full stop short", std::string("jw_cad(c)data......\0", 20), false, false},
      {"upper case", "JW_CAD(C)DATA.......", false, false},
      {"JWW drawing", "JwwData.            ", false, false},
      {"shorter than twenty bytes", "jw_cad(c)data", false, false},
      {"empty", "", false, false},
  };
  TempFolder dir;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const auto path = dir.Write("check.bin", c.head);
    const Status jwc = TJwcData::FileCheck(path);
    EXPECT_EQ(static_cast<bool>(jwc), c.jwc);
    EXPECT_EQ(static_cast<bool>(TJwkData::FileCheck(path)), c.jwk);
    if (!c.jwc) {
      EXPECT_NE(jwc.reason().find("not a JWC drawing"), std::string::npos) << jwc.reason();
    }
  }
  EXPECT_FALSE(TJwcData::FileCheck(dir / "missing.jwc"));
  EXPECT_FALSE(TJwkData::FileCheck(dir.Path()));
}

TEST(JwcReader, FileInReadsFilesAndRefusesOtherKinds) {
  TempFolder dir;
  TJwcData d;
  const Status read = d.FileIn(dir.Write("a.jwc", WriteJwc(MakeAllKindsJwc())));
  ASSERT_TRUE(read) << read.reason();
  EXPECT_EQ(d.lineN(), MakeAllKindsJwc().lineN());

  // A shape is no drawing, and the other way round.
  const Status wrongKind = d.FileIn(dir.Write("b.jwc", WriteJwk(MakeAllKindsJwk())));
  EXPECT_FALSE(wrongKind);
  EXPECT_NE(wrongKind.reason().find("not a JWC drawing"), std::string::npos) << wrongKind.reason();
  EXPECT_EQ(d.lineN(), 0);
  TJwkData s;
  EXPECT_FALSE(s.FileIn(dir / "a.jwc"));
  EXPECT_TRUE(s.FileIn(dir / "b.jwc"));

  const Status missing = d.FileIn(dir / "missing.jwc");
  EXPECT_FALSE(missing);
  EXPECT_FALSE(missing.reason().empty());
  EXPECT_FALSE(s.FileIn(dir.Path()));
}

}  // namespace
}  // namespace parvex::testing
