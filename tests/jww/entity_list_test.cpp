// Entity list and block definitions after the header.
#include <gtest/gtest.h>

#include <chrono>
#include <limits>

#include "converter/jww/jww_data.h"
#include "jww_bytes.h"

namespace parvex {
namespace {

using testing::Bytes;
using testing::ClassRef;
using testing::Count;
using testing::NewClass;
using testing::Rec;

Bytes Drawing(int32_t version, int32_t n1, const Bytes& objects, const Bytes& tail) {
  testing::HeaderValues v;
  v.version = version;
  Bytes b = testing::JwwHeader(v);
  b.Append(Count(n1)).Append(objects).Append(tail);
  return b;
}

Bytes NoDefs() {
  Bytes b;
  b.U16(0);
  return b;
}

// Block definition record: tag, attributes, number, flag, time, name,
// member count.
Bytes DefHead(const Rec& r, const Bytes& tag, uint32_t number, int32_t dtime,
              const std::string& name, int32_t members) {
  Bytes b = tag;
  b.Append(r.Attr({})).I32(static_cast<int32_t>(number)).I32(0).I32(dtime);
  if (dtime < 0) b.Zeros(8);
  b.Str(name).Append(Count(members));
  return b;
}

TEST(JwwEntityList, EmptyDrawing) {
  TJwwData d;
  ASSERT_TRUE(d.ReadBytes(Drawing(600, 0, {}, NoDefs()).span()));
  EXPECT_TRUE(d.EntNo.empty());
  EXPECT_EQ(d.EntLineN() + d.EntBlockDefN() + d.EntBlockTreeN(), 0);
}

TEST(JwwEntityList, RecordsOfEveryKind) {
  Rec r{600};
  TEntJwwAttr dimAtt;
  dimAtt.nPenColor = 4;
  Bytes objs;
  objs.Append(NewClass("CDataSen")).Append(r.Line(0, 0, 1, 1));           // index 1, object 2
  objs.Append(ClassRef(1)).Append(r.Line(2, 2, 3, 3));                     // object 3
  objs.Append(NewClass("CDataTen")).Append(r.Ten(5, 6, 100));              // class 4, object 5
  objs.Append(ClassRef(4)).Append(r.Ten(7, 8, 1));                         // object 6
  objs.Append(NewClass("CDataMoji"))
      .Append(r.Moji(0, 0, 5, 0, "txt", std::numeric_limits<double>::infinity()));  // 7, 8
  objs.Append(NewClass("CDataSolid")).Append(r.Solid(10, 0x123456));      // 9, 10
  objs.Append(ClassRef(9)).Append(r.Solid(9));                             // 11
  objs.Append(NewClass("CDataSunpou")).Append(r.Sunpo(dimAtt));            // 12, 13
  objs.Append(NewClass("CDataBlock")).Append(r.Block(1, 2, 5));            // 14, 15
  objs.Append(NewClass("CDataEnko"))
      .Append(r.Attr({}).F64(0).F64(0).F64(10).F64(0).F64(1).F64(0).F64(1).I32(1));
  TJwwData d;
  ASSERT_TRUE(d.ReadBytes(Drawing(600, 10, objs, NoDefs()).span())) << d.LastError;
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

TEST(JwwEntityList, OldVersionDimensionTakesItsAttributes) {
  Rec r{419};
  TEntJwwAttr a;
  a.nPenColor = 4;
  a.nLayer = 3;
  a.nPenStyle = 2;
  Bytes objs = NewClass("CDataSunpou");
  objs.Append(r.Sunpo(a));
  TJwwData d;
  ASSERT_TRUE(d.ReadBytes(Drawing(419, 1, objs, NoDefs()).span())) << d.LastError;
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
  Rec r{600};
  Bytes objs = NewClass("CDataSen");
  objs.Append(r.Line(0, 0, 1, 0));
  for (int i = 1; i < 1001; ++i) objs.Append(ClassRef(1)).Append(r.Line(i, 0, i + 1, 0));
  TJwwData d;
  ASSERT_TRUE(d.ReadBytes(Drawing(600, 1001, objs, NoDefs()).span()));
  EXPECT_EQ(d.EntLineN(), 1001);
  EXPECT_EQ(d.EntLine[1000].start_x, 1000);
  EXPECT_EQ(d.EntNo[1000].EntNo, 1000);
}

TEST(JwwEntityList, BlockDefinitionsShareTheClassMap) {
  Rec r{600};
  Bytes objs = NewClass("CDataSen");                 // class index 1
  objs.Append(r.Line(0, 0, 1, 0));                   // map 2
  Bytes defs = Count(2);
  defs.Append(DefHead(r, NewClass("CDataList"), 5, -1, "first", 2));  // class 3, def 4
  defs.Append(ClassRef(1)).Append(r.Line(0, 0, 2, 0));               // map 5
  defs.Append(NewClass("CDataBlock")).Append(r.Block(0, 0, 9));        // class 6, map 7
  defs.Append(DefHead(r, ClassRef(3), 9, 1234, "second", 1));          // def 8
  defs.Append(ClassRef(6)).Append(r.Block(1, 1, 5));                   // refers to block class
  TJwwData d;
  ASSERT_TRUE(d.ReadBytes(Drawing(600, 1, objs, defs).span())) << d.LastError;
  ASSERT_EQ(d.EntBlockDefN(), 2);
  const TEntJwwBlockDef& a = d.EntBlockDef[0];
  EXPECT_EQ(a.dtime, 1u);  // long time stamp replaced by the position
  EXPECT_EQ(a.strName, u"first");
  EXPECT_EQ(a.N, 2);
  EXPECT_EQ(a.mLineN(), 1);
  EXPECT_EQ(a.mBlockN(), 1);
  EXPECT_EQ(a.mNo[1].EntType, kJwwBlock);
  EXPECT_EQ(d.EntBlockDef[1].dtime, 1234u);
  EXPECT_EQ(d.EntBlockDef[1].mBlockN(), 1);
  EXPECT_EQ(d.EntBlockDef[1].mBlock[0].nNumber, 5u);
}

// Inputs that must end the read with false, quickly and without large
// allocations.
TEST(JwwEntityList, MalformedInputFails) {
  Rec r{600};
  Bytes oneLine = NewClass("CDataSen");
  oneLine.Append(r.Line(0, 0, 1, 0));
  Bytes defsHuge;
  defsHuge.U16(0xFFFF).I32(0x7FFFFFFF);
  Bytes membersHuge = Count(1);
  membersHuge.Append(DefHead(r, NewClass("CDataList"), 1, 0, "b", 0x7FFFFFFF));
  Bytes junkTags;
  for (int i = 0; i < 100; ++i) junkTags.U16(0x8005);  // references to no class
  struct {
    const char* name;
    Bytes bytes;
  } cases[] = {
      {"entity count 2^31-1", Drawing(600, 0x7FFFFFFF, oneLine, NoDefs())},
      {"negative entity count", Drawing(600, -5, oneLine, NoDefs())},
      {"unknown class", Drawing(600, 1, NewClass("CDataList").Append(r.Line(0, 0, 1, 0)), NoDefs())},
      {"no block definition count", Drawing(600, 1, oneLine, {})},
      {"block definition count 2^31-1", Drawing(600, 1, oneLine, defsHuge)},
      {"member count 2^31-1", Drawing(600, 1, oneLine, membersHuge)},
      {"tags naming no class until the end", Drawing(600, 3, junkTags, {})},
      {"file cut inside the entity list",
       Drawing(600, 2, oneLine, ClassRef(1).Append(r.Line(0, 0, 1, 0)))},
  };
  for (auto& c : cases) {
    SCOPED_TRACE(c.name);
    if (std::string(c.name) == "file cut inside the entity list") c.bytes.b.resize(c.bytes.size() - 20);
    const auto t0 = std::chrono::steady_clock::now();
    TJwwData d;
    EXPECT_FALSE(d.ReadBytes(c.bytes.span()));
    EXPECT_EQ(d.LastError, "File I/O Error");
    EXPECT_LT(std::chrono::steady_clock::now() - t0, std::chrono::milliseconds(500));
    EXPECT_LE(d.EntNo.capacity() * sizeof(TEntJwwNo), c.bytes.size());
  }
}

TEST(JwwEntityList, UnreadableEntityIsDroppedButCounted) {
  Rec r{600};
  // The second line is cut short: it is dropped, its order entry stays
  // empty, and the missing block definition count then fails the read.
  Bytes objs = NewClass("CDataSen");
  objs.Append(r.Line(0, 0, 1, 0)).Append(ClassRef(1)).Zeros(10);
  TJwwData d;
  EXPECT_FALSE(d.ReadBytes(Drawing(600, 2, objs, {}).span()));
  EXPECT_EQ(d.EntLineN(), 1);
  ASSERT_EQ(d.EntNo.size(), 2u);
  EXPECT_EQ(d.EntNo[1].EntType, kJwwNone);
}

TEST(JwwEntityList, EveryTruncationFailsCleanly) {
  // Cut a small drawing with every kind of content at every length; none
  // may crash or read past the end (checked under the sanitizers).
  Rec r{700};
  Bytes objs = NewClass("CDataSen");
  objs.Append(r.Line(0, 0, 1, 0)).Append(NewClass("CDataMoji")).Append(r.Moji(0, 0, 1, 0, "t"));
  objs.Append(NewClass("CDataSunpou")).Append(r.Sunpo({})).Append(NewClass("CDataBlock"));
  objs.Append(r.Block(0, 0, 1));
  Bytes defs = Count(1);
  defs.Append(DefHead(r, NewClass("CDataList"), 1, -1, "b", 1)).Append(ClassRef(1));
  defs.Append(r.Line(0, 0, 1, 1)).I32(1).Str("a.bmp").I32(3).Ascii("abc");
  testing::HeaderValues v;
  v.version = 700;
  const Bytes full = Drawing(700, 4, objs, defs);
  const size_t header = testing::JwwHeader(v).size();
  TJwwData d;
  d.BindImageExr = true;
  ASSERT_TRUE(d.ReadBytes(full.span())) << d.LastError;
  ASSERT_EQ(d.BindImageN(), 1);
  EXPECT_EQ(d.BindImage[0].Fname, u"a.bmp");
  EXPECT_EQ(d.BindImage[0].Fsize, 3);
  for (size_t cut = header; cut < full.size(); ++cut) {
    std::vector<uint8_t> part(full.b.begin(), full.b.begin() + static_cast<long>(cut));
    TJwwData t;
    // Cuts inside the image section still give a drawing; earlier ones fail.
    t.BindImageExr = true;
    if (!t.ReadBytes(part)) {
      EXPECT_FALSE(t.LastError.empty());
    }
  }
}

TEST(JwwEntityList, ImageSectionOnlyFromVersion700) {
  Bytes tail = NoDefs();
  tail.I32(1).Str("a.bmp").I32(3).Ascii("abc");
  TJwwData d;
  d.BindImageExr = true;
  ASSERT_TRUE(d.ReadBytes(Drawing(699, 0, {}, tail).span()));
  EXPECT_EQ(d.BindImageN(), 0);
  TJwwData e;
  e.BindImageExr = true;
  ASSERT_TRUE(e.ReadBytes(Drawing(700, 0, {}, tail).span()));
  EXPECT_EQ(e.BindImageN(), 1);
  // A huge image count in a short file reads the entries that are there.
  Bytes huge = NoDefs();
  huge.I32(0x7FFFFFFF).Str("a.bmp").I32(3).Ascii("abc");
  TJwwData f;
  f.BindImageExr = true;
  ASSERT_TRUE(f.ReadBytes(Drawing(700, 0, {}, huge).span()));
  EXPECT_EQ(f.BindImageN(), 1);
}

}  // namespace
}  // namespace parvex
