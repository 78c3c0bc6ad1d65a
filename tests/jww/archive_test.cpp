// Byte-level reading: strings, counts, attributes and object tags.
#include <gtest/gtest.h>

#include "converter/jww/jww_archive.h"
#include "read_bytes.h"
#include "tests/support/jww_writer.h"

namespace parvex {
namespace {

struct StringCase {
  const char* name;
  std::vector<uint8_t> bytes;
  bool clean;
  std::u16string expected;
  uint8_t mojiEncode;
  size_t consumed;
};

TEST(JwwArchive, Strings) {
  std::vector<uint8_t> long256 = {0xFF, 0x00, 0x01};
  long256.insert(long256.end(), 256, 'x');
  const std::vector<uint8_t> abcWide = {0xFF, 0xFE, 0xFF, 0x03, 'A', 0, 'B', 0, 'C', 0};
  const std::vector<uint8_t> abcWordLen = {0xFF, 0xFE, 0xFF, 0xFF, 0x03, 0x00,
                                           'A',  0,    'B',  0,    'C',  0};
  const StringCase cases[] = {
      {"empty", {0x00}, false, u"", 0, 1},
      {"unicode marker, byte length", abcWide, false, u"ABC", 1, 10},
      {"unicode marker, word length", abcWordLen, false, u"ABC", 1, 12},
      {"word length of 256 bytes", long256, false, std::u16string(256, u'x'), 0, 259},
      {"NUL ends the text, bytes still consumed", {4, 'a', 0, 'b', 'c'}, false, u"a", 0, 5},
      {"clean text drops tab", {3, 'A', '\t', 'B'}, true, u"AB", 0, 4},
      {"raw text keeps CR LF", {4, 'a', '\r', '\n', 'b'}, false, u"a\r\nb", 0, 5},
      {"Shift_JIS", {4, 0x83, 0x65, 0x83, 0x58}, false, u"テス", 0, 5},
      {"length beyond the end takes what is there", {9, 'a', 'b'}, false, u"ab", 0, 3},
  };
  for (const StringCase& c : cases) {
    SCOPED_TRACE(c.name);
    ByteReader in(c.bytes);
    uint8_t moji = 0;
    JwwArchive ar(in, 600, moji);
    EXPECT_EQ(c.clean ? ar.ReadCleanText() : ar.ReadText(), c.expected);
    EXPECT_EQ(moji, c.mojiEncode);
    EXPECT_EQ(in.Position(), c.consumed);
  }
}

TEST(JwwArchive, CountForms) {
  struct {
    std::vector<uint8_t> bytes;
    bool ok;
    int32_t count;
  } cases[] = {
      {{0x05, 0x00}, true, 5},
      {{0xFE, 0xFF}, true, 0xFFFE},
      {{0xFF, 0xFF, 0x40, 0x42, 0x0F, 0x00}, true, 1000000},
      {{0xFF, 0xFF, 0x01}, false, 0},
      {{0x01}, false, 0},
  };
  for (const auto& c : cases) {
    ByteReader in(c.bytes);
    uint8_t moji = 0;
    JwwArchive ar(in, 600, moji);
    int32_t n = 0;
    EXPECT_EQ(ar.ReadCount(n), c.ok);
    if (c.ok) {
      EXPECT_EQ(n, c.count);
    }
  }
}

TEST(JwwArchive, AttributesOfOldAndNewVersions) {
  TEntJwwAttr a;
  a.lGroup = 7;
  a.nPenStyle = 2;
  a.nPenColor = 3;
  a.nPenWidth = 4;
  a.nLayer = 5;
  a.nGLayer = 6;
  a.sFlg = 8;
  for (int32_t ver : {350, 351}) {
    SCOPED_TRACE(ver);
    // The record of a drawing's only line: behind its new-class tag
    // (FF FF, schema, name length, "CDataSen"), up to the definition count.
    TJwwData drawing = testing::MakeJwwDrawing(ver);
    testing::AddEntity(drawing, testing::MakeLine(a, 1, 2, 3, 4));
    testing::JwwLayout layout;
    const std::string file = testing::WriteJww(drawing, {}, &layout);
    const size_t start = layout.entity_objects[0] + 14;
    const std::string record = file.substr(start, layout.block_def_count - start);
    EXPECT_EQ(record.size(), ver > 350 ? 47u : 45u);
    ByteReader in(testing::AsBytes(record));
    uint8_t moji = 0;
    JwwArchive ar(in, ver, moji);
    TEntJwwLine l;
    ASSERT_TRUE(ar.ReadLine(l));
    EXPECT_EQ(in.Remaining(), 0u);
    EXPECT_EQ(l.att.lGroup, 7u);
    EXPECT_EQ(l.att.nPenColor, 3);
    EXPECT_EQ(l.att.nPenWidth, ver > 350 ? 4 : 0);
    EXPECT_EQ(l.att.nLayer, 5);
    EXPECT_EQ(l.att.nGLayer, 6);
    EXPECT_EQ(l.att.sFlg, 8);
    EXPECT_EQ(l.start_x, 1);
    EXPECT_EQ(l.end_y, 4);
  }
}

TEST(JwwArchive, ObjectTags) {
  struct {
    const char* name;
    std::vector<uint8_t> bytes;
    bool ok;
    ObjectTag::Kind kind;
    int64_t index;
    std::string className;
  } cases[] = {
      {"new class", {0xFF, 0xFF, 1, 0, 3, 0, 'A', 'B', 'C'}, true, ObjectTag::kNewClass, 0, "ABC"},
      {"short reference", {0x01, 0x80}, true, ObjectTag::kClassRef, 1, ""},
      {"back-reference below 0x8000", {0x05, 0x00}, true, ObjectTag::kClassRef, 5 - 0x8000, ""},
      {"long reference with high bit", {0xFF, 0x7F, 0x10, 0x00, 0x00, 0x80}, true,
       ObjectTag::kClassRef, 0x10, ""},
      {"long reference without high bit", {0xFF, 0x7F, 0x10, 0x00, 0x00, 0x00}, true,
       ObjectTag::kClassRef, 0x10, ""},
      {"class name cut short", {0xFF, 0xFF, 1, 0, 9, 0, 'A'}, false, ObjectTag::kNewClass, 0, ""},
      {"class name of 2048 bytes", {0xFF, 0xFF, 1, 0, 0x00, 0x08}, false, ObjectTag::kNewClass, 0, ""},
      {"empty input", {}, false, ObjectTag::kNewClass, 0, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ByteReader in(c.bytes);
    ObjectTag tag;
    ASSERT_EQ(ReadObjectTag(in, tag), c.ok);
    if (!c.ok) continue;
    EXPECT_EQ(tag.kind, c.kind);
    if (c.kind == ObjectTag::kNewClass) {
      EXPECT_EQ(tag.className, c.className);
    } else {
      EXPECT_EQ(tag.classIndex, c.index);
    }
  }
}

}  // namespace
}  // namespace parvex
