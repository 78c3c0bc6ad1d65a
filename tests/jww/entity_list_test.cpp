// The entity list and the block definitions after the header: what each
// record kind reads as, and the block tree built from the definitions.
#include <gtest/gtest.h>

#include <limits>

#include "converter/jww/jww_data.h"
#include "read_bytes.h"
#include "tests/support/jww_fixtures.h"
#include "tests/support/jww_writer.h"

namespace parvex::testing {
namespace {

TEntJwwLine Line(double x1, double y1, double x2, double y2, TEntJwwAttr a = {}) {
  return MakeLine(a, x1, y1, x2, y2);
}

TEntJwwTen Point(double x, double y, uint8_t style = 1) {
  TEntJwwAttr a;
  a.nPenStyle = style;
  return MakePoint(a, x, y);
}

TEntJwwBlock Insert(uint32_t number, double x = 0, double y = 0) {
  TEntJwwBlock b;
  b.DPKijunTen_x = x;
  b.DPKijunTen_y = y;
  b.dBairitsuX = b.dBairitsuY = 1;
  b.nNumber = number;
  return b;
}

TEST(JwwEntityList, EmptyDrawing) {
  TJwwData d;
  ASSERT_TRUE(Succeeded(ReadJww(d, WriteJww(MakeJwwDrawing(600)))));
  EXPECT_TRUE(d.EntNo.empty());
  EXPECT_EQ(d.EntLineN() + d.EntBlockDefN() + d.EntBlockTreeN(), 0);
}

TEST(JwwEntityList, RecordsOfEveryKind) {
  TJwwData drawing = MakeJwwDrawing(600);
  AddEntity(drawing, Line(0, 0, 1, 1));
  AddEntity(drawing, Line(2, 2, 3, 3));
  // Code, angle and scale are stored only for point style 100; other
  // points read with code 0 and scale 1 whatever the writer held.
  TEntJwwTen coded = Point(5, 6, 100);
  coded.nCode = 7;
  coded.radKaitenKaku = 0.5;
  coded.dBairitsu = 2;
  AddEntity(drawing, coded);
  TEntJwwTen plain = Point(7, 8);
  plain.nCode = 9;
  plain.dBairitsu = 5;
  AddEntity(drawing, plain);
  TEntJwwMoji text;
  text.end_x = 5;
  text.nMojiShu = 1;
  text.dSizeX = 3;
  text.dSizeY = std::numeric_limits<double>::infinity();
  text.strFontName = u"font";
  text.str = u"txt";
  AddEntity(drawing, text);
  // The own colour is stored only for pen colour 10.
  TEntJwwSolid own;
  own.att.nPenColor = 10;
  own.Color = 0x123456;
  AddEntity(drawing, own);
  TEntJwwSolid pen = own;
  pen.att.nPenColor = 9;
  AddEntity(drawing, pen);
  TEntJwwSunpo dim;
  dim.att.nPenColor = 4;
  dim.Sen = Line(0, 0, 10, 0, dim.att);
  dim.Moji.str = u"10";
  dim.bSxfMode = 1;
  dim.Ho1 = Line(0, 0, 0, 5, dim.att);
  dim.Ho2 = Line(10, 0, 10, 5, dim.att);
  dim.Te1 = Point(0, 0);
  dim.Te2 = Point(1, 0);
  dim.Kt1 = Point(2, 0);
  dim.Kt2 = Point(3, 0);
  AddEntity(drawing, dim);
  AddEntity(drawing, Insert(5, 1, 2));
  TEntJwwEnko circle;
  circle.dHankei = 10;
  circle.radEnkoKaku = 1;
  circle.dHenpeiRitsu = 1;
  circle.bZenEnFlg = 1;
  AddEntity(drawing, circle);

  TJwwData d;
  ASSERT_TRUE(Succeeded(ReadJww(d, WriteJww(drawing))));
  ASSERT_EQ(d.EntLineN(), 2);
  EXPECT_EQ(d.EntLine[1].end_x, 3);
  ASSERT_EQ(d.EntTenN(), 2);
  EXPECT_EQ(d.EntTen[0].nCode, 7u);
  EXPECT_EQ(d.EntTen[0].dBairitsu, 2.0);
  EXPECT_EQ(d.EntTen[1].nCode, 0u);
  EXPECT_EQ(d.EntTen[1].dBairitsu, 1.0);
  ASSERT_EQ(d.EntMojiN(), 1);
  EXPECT_EQ(d.EntMoji[0].dSizeY, 3.0);  // infinity replaced
  EXPECT_EQ(d.EntMoji[0].str, u"txt");
  EXPECT_EQ(d.EntMoji[0].strFontName, u"font");
  ASSERT_EQ(d.EntSolidN(), 2);
  EXPECT_EQ(d.EntSolid[0].Color, 0x123456u);
  EXPECT_EQ(d.EntSolid[1].Color, 0u);
  ASSERT_EQ(d.EntSunpoN(), 1);
  EXPECT_EQ(d.EntSunpo[0].bSxfMode, 1);
  EXPECT_EQ(d.EntSunpo[0].Ho2.start_x, 10);
  EXPECT_EQ(d.EntSunpo[0].Kt2.start_x, 3);
  EXPECT_EQ(d.EntSunpo[0].Moji.str, u"10");
  ASSERT_EQ(d.EntBlockN(), 1);
  EXPECT_EQ(d.EntBlock[0].nNumber, 5u);
  ASSERT_EQ(d.EntEnkoN(), 1);
  EXPECT_EQ(d.EntEnko[0].bZenEnFlg, 1u);
  const std::vector<int32_t> kinds = {1, 1, 3, 3, 4, 6, 6, 5, 7, 2};
  ASSERT_EQ(d.EntNo.size(), kinds.size());
  for (size_t i = 0; i < kinds.size(); ++i) EXPECT_EQ(d.EntNo[i].EntType, kinds[i]) << i;
  EXPECT_EQ(d.EntNo[6].EntNo, 1);
}

// Before 420 a dimension stores only its line and text: the other parts
// take the dimension's attributes and zero coordinates.
TEST(JwwEntityList, OldVersionDimensionTakesItsAttributes) {
  TJwwData drawing = MakeJwwDrawing(419);
  TEntJwwSunpo dim;
  dim.att.nPenColor = 4;
  dim.att.nLayer = 3;
  dim.att.nPenStyle = 2;
  dim.Sen = Line(0, 0, 10, 0, dim.att);
  dim.Moji.str = u"10";
  dim.bSxfMode = 1;
  dim.Ho1 = Line(0, 0, 99, 5);
  dim.Kt2 = Point(3, 0);
  dim.Kt2.dBairitsu = 7;
  AddEntity(drawing, dim);
  TJwwData d;
  ASSERT_TRUE(Succeeded(ReadJww(d, WriteJww(drawing))));
  ASSERT_EQ(d.EntSunpoN(), 1);
  const TEntJwwSunpo& s = d.EntSunpo[0];
  EXPECT_EQ(s.bSxfMode, 0);
  EXPECT_EQ(s.Ho1.att.nPenColor, 4);
  EXPECT_EQ(s.Ho2.att.nLayer, 3);
  EXPECT_EQ(s.Ho1.end_x, 0);
  EXPECT_EQ(s.Kt2.att.nPenColor, 4);
  EXPECT_EQ(s.Kt2.att.nPenStyle, 0);
  EXPECT_EQ(s.Kt2.dBairitsu, 0.0);
  EXPECT_EQ(s.Sen.end_x, 10);
}

TEST(JwwEntityList, ManyLinesKeepExactCounts) {
  TJwwData drawing = MakeJwwDrawing(600);
  for (int i = 0; i < 1001; ++i) AddEntity(drawing, Line(i, 0, i + 1, 0));
  TJwwData d;
  ASSERT_TRUE(Succeeded(ReadJww(d, WriteJww(drawing))));
  EXPECT_EQ(d.EntLineN(), 1001);
  EXPECT_EQ(d.EntLine[1000].start_x, 1000);
  EXPECT_EQ(d.EntNo[1000].EntNo, 1000);
}

// The members of the definitions refer back to classes the drawing's list
// introduced ("door" holds a line and an arc, "frame" a text and an
// insertion of "door"). A time stamp in the long form reads as the
// definition's position.
TEST(JwwEntityList, BlockDefinitionsShareTheClassMapAndTimeStampForms) {
  for (bool long_stamps : {false, true}) {
    SCOPED_TRACE(long_stamps ? "long time stamps" : "short time stamps");
    TJwwData drawing = MakeAllKindsDrawing(600);
    drawing.EntBlockDef[1].dtime = 1234;
    JwwWriteOptions options;
    options.long_time_stamps = long_stamps;
    TJwwData d;
    ASSERT_TRUE(Succeeded(ReadJww(d, WriteJww(drawing, options))));
    ASSERT_EQ(d.EntBlockDefN(), 2);
    const TEntJwwBlockDef& door = d.EntBlockDef[0];
    const TEntJwwBlockDef& frame = d.EntBlockDef[1];
    EXPECT_EQ(door.strName, u"door");
    EXPECT_EQ(door.N, 2);
    EXPECT_EQ(door.mLineN(), 1);
    EXPECT_EQ(door.mEnkoN(), 1);
    EXPECT_EQ(frame.strName, u"枠");
    EXPECT_EQ(frame.mNo.size(), 2u);
    EXPECT_EQ(frame.mMojiN(), 1);
    ASSERT_EQ(frame.mBlockN(), 1);
    EXPECT_EQ(frame.mNo[1].EntType, kJwwBlock);
    EXPECT_EQ(frame.mBlock[0].nNumber, door.nNumber);
    EXPECT_EQ(door.dtime, long_stamps ? 1u : 123456u);
    EXPECT_EQ(frame.dtime, long_stamps ? 2u : 1234u);
  }
}

TEST(JwwEntityList, BlockTreeOfNestedInsertions) {
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

TEST(JwwEntityList, SelfInsertingBlocksEndTheExpansion) {
  // A inserts itself; B and C insert each other.
  TJwwData drawing = MakeJwwDrawing(700);
  for (uint32_t number : {1u, 2u, 3u}) {
    TEntJwwBlockDef def;
    def.nNumber = number;
    def.strName = number == 1 ? u"A" : number == 2 ? u"B" : u"C";
    AddMember(def, Line(0, 0, 1, 0));
    AddMember(def, Insert(number == 1 ? 1 : number == 2 ? 3 : 2));
    drawing.EntBlockDef.push_back(def);
  }
  AddEntity(drawing, Insert(1));
  AddEntity(drawing, Insert(2));
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
