// Damaged and hostile JWW files: counts larger than the file, unknown
// classes, tags that name no class, cut files, runaway block nesting and
// random damage. None may crash, hang or allocate for what it only claims.
#include <gtest/gtest.h>

#include <chrono>
#include <random>
#include <string>
#include <vector>

#include "read_bytes.h"
#include "tests/support/jww_fixtures.h"
#include "tests/support/jww_writer.h"

namespace parvex::testing {
namespace {

// A drawing of `version` holding one line, written with `options`.
std::string OneLine(int32_t version, JwwWriteOptions options = {}, JwwLayout* layout = nullptr) {
  TJwwData drawing = MakeJwwDrawing(version);
  TEntJwwLine line;
  line.end_x = 1;
  AddEntity(drawing, line);
  return WriteJww(drawing, options, layout);
}

std::string StatedCounts(int32_t version, int64_t entities, int64_t block_defs) {
  JwwWriteOptions options;
  options.stated_entities = entities;
  options.stated_block_defs = block_defs;
  return OneLine(version, options);
}

// One line and nothing after the entity list.
std::string EndsAfterTheList() {
  JwwLayout layout;
  std::string bytes = OneLine(600, {}, &layout);
  bytes.resize(layout.block_def_count);
  return bytes;
}

// The only entity's class name replaced by `name`.
std::string ClassNamed(const char* name) {
  JwwLayout layout;
  std::string bytes = OneLine(700, {}, &layout);
  ArchiveWriter tag;
  tag.ClassTag(name);
  // The written tag: FF FF, schema, name length, "CDataSen".
  bytes.replace(layout.entity_objects[0], 6 + 8, tag.bytes());
  return bytes;
}

// A list that states `stated` entities and holds only `tags` copies of a
// short reference to a class never introduced, up to the end of the file.
std::string TagsWithoutClasses(int64_t stated, int tags, uint16_t reference) {
  TJwwData drawing = MakeJwwDrawing(700);
  JwwWriteOptions options;
  options.stated_entities = stated;
  options.omit_image_section = true;
  JwwLayout layout;
  std::string bytes = WriteJww(drawing, options, &layout);
  bytes.resize(layout.block_def_count);  // no definition count
  ArchiveWriter junk;
  for (int i = 0; i < tags; ++i) junk.Word(reference);
  return bytes + junk.bytes();
}

// One definition holding one line, its member count patched to `count` in
// the int form.
std::string MemberCount(uint32_t count) {
  TJwwData drawing = MakeJwwDrawing(700);
  TEntJwwBlockDef def;
  def.nNumber = 1;
  TEntJwwLine line;
  AddMember(def, line);
  drawing.EntBlockDef.push_back(def);
  JwwLayout layout;
  std::string bytes = WriteJww(drawing, {}, &layout);
  // The member count word follows the tag (2+2+2+9), the record (27) and
  // the empty name (1).
  const size_t count_at = layout.block_def_objects[0] + 6 + 9 + 27 + 1;
  EXPECT_EQ(static_cast<uint8_t>(bytes[count_at]), 1);
  ArchiveWriter patch;
  patch.Count(count, true);
  bytes.replace(count_at, 2, patch.bytes());
  return bytes;
}

// Two lines stated, the file cut 20 bytes before the second one ends.
std::string CutInsideTheList() {
  TJwwData drawing = MakeJwwDrawing(600);
  TEntJwwLine line;
  AddEntity(drawing, line);
  AddEntity(drawing, line);
  JwwLayout layout;
  std::string bytes = WriteJww(drawing, {}, &layout);
  bytes.resize(layout.block_def_count - 20);
  return bytes;
}

// Inputs that must end the read with an I/O error, quickly and without
// allocating for what they claim.
TEST(JwwDamaged, MalformedInputFails) {
  struct Case {
    const char* name;
    std::string bytes;
  };
  const Case cases[] = {
      {"entity count 2^31-1", StatedCounts(600, 0x7FFFFFFF, -1)},
      {"entity count 2^31", StatedCounts(230, int64_t{1} << 31, -1)},
      {"entity count 2^32-1", StatedCounts(230, 0xFFFFFFFFll, -1)},
      {"entity count 65531 in the word form", StatedCounts(600, 0xFFFB, -1)},
      {"negative entity count", StatedCounts(600, 0xFFFFFFFBll, -1)},
      {"block definition count 2^31-1", StatedCounts(600, -1, 0x7FFFFFFF)},
      {"block definition count 2^31", StatedCounts(230, -1, int64_t{1} << 31)},
      {"member count 2^31-1", MemberCount(0x7FFFFFFF)},
      {"member count 2^31", MemberCount(0x80000000u)},
      {"class CDataList in the entity list", ClassNamed("CDataList")},
      {"unknown class CDataXYZ", ClassNamed("CDataXYZ")},
      {"unknown class CDataSe", ClassNamed("CDataSe")},
      {"class name in the wrong case", ClassNamed("cdatasen")},
      {"no block definition count", EndsAfterTheList()},
      {"100 tags naming no class until the end", TagsWithoutClasses(3, 100, 0x8005)},
      {"1000 tags naming no class until the end", TagsWithoutClasses(5, 1000, 0x8123)},
      {"file cut inside the entity list", CutInsideTheList()},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const auto t0 = std::chrono::steady_clock::now();
    TJwwData d;
    EXPECT_EQ(ReadJww(d, c.bytes).reason(), "File I/O Error");
    EXPECT_LT(std::chrono::steady_clock::now() - t0, std::chrono::milliseconds(500));
    EXPECT_LE(d.EntNo.capacity() * sizeof(TEntJwwNo), c.bytes.size());
    EXPECT_LT(d.EntNo.size(), 100000u);
    EXPECT_LE(d.EntBlockDef.size(), 1u);  // no file here holds more than one definition
    for (const TEntJwwBlockDef& def : d.EntBlockDef) EXPECT_LT(def.mNo.size(), 100000u);
  }
}

// A file cut inside the entity list keeps the entities before the cut, pads
// the order list with empty entries and fails at the block definitions.
TEST(JwwDamaged, CutInsideTheEntityListDropsTheRest) {
  TJwwData drawing = MakeAllKindsDrawing(700);
  JwwLayout layout;
  const std::string bytes = WriteJww(drawing, {}, &layout);
  const size_t third = layout.entity_objects[3];
  TJwwData read;
  EXPECT_EQ(ReadJww(read, bytes.substr(0, third + 20)).reason(), "File I/O Error");
  ASSERT_EQ(read.EntNo.size(), drawing.EntNo.size());
  EXPECT_EQ(read.EntLineN(), 2);
  EXPECT_EQ(read.EntEnkoN(), 1);
  for (size_t i = 3; i < read.EntNo.size(); ++i) EXPECT_EQ(read.EntNo[i].EntType, kJwwNone) << i;
  EXPECT_EQ(read.EntBlockDefN(), 0);
}

// A definition record cut short ends the read; earlier definitions stay.
TEST(JwwDamaged, CutInsideABlockDefinitionRecord) {
  TJwwData drawing = MakeAllKindsDrawing(700);
  JwwLayout layout;
  const std::string bytes = WriteJww(drawing, {}, &layout);
  TJwwData read;
  EXPECT_FALSE(ReadJww(read, bytes.substr(0, layout.block_def_objects[1] + 10)));
  ASSERT_GE(read.EntBlockDefN(), 1);
  EXPECT_EQ(read.EntBlockDef[0].strName, u"door");
  EXPECT_EQ(read.EntBlockDef[0].mNo.size(), 2u);
}

TEST(JwwDamaged, TagsNamingNoClassAreSkipped) {
  // Before the only real object stands a tag that yields no kind: a short
  // reference to a class never introduced, an object back-reference (below
  // 0x8000) or a long reference to an unknown index. Nothing is read for it
  // and it does not count, so the list still ends with the real object.
  const std::string tags[] = {std::string("\x23\x81", 2), std::string("\x05\x00", 2),
                              std::string("\xFF\x7F\x44\x00\x00\x80", 6)};
  for (const std::string& tag : tags) {
    SCOPED_TRACE(static_cast<int>(static_cast<uint8_t>(tag[0])));
    TJwwData drawing = MakeJwwDrawing(700);
    TEntJwwLine line;
    line.start_x = 42;
    AddEntity(drawing, line);
    JwwLayout layout;
    std::string bytes = WriteJww(drawing, {}, &layout);
    bytes.insert(layout.entity_objects[0], tag);
    TJwwData read;
    EXPECT_TRUE(Succeeded(ReadJww(read, bytes)));
    ASSERT_EQ(read.EntLineN(), 1);
    EXPECT_EQ(read.EntLine[0].start_x, 42);
  }
}

// Six definitions, each inserting the next fifty times, would place 50^6
// blocks; the expansion stops early and the extents still come out.
TEST(JwwDamaged, BlockFanOutIsBounded) {
  TJwwData drawing = MakeJwwDrawing(700);
  for (uint32_t number = 1; number <= 6; ++number) {
    TEntJwwBlockDef def;
    def.nNumber = number;
    TEntJwwLine line;
    line.end_x = 1;
    AddMember(def, line);
    if (number < 6) {
      TEntJwwBlock insert;
      insert.dBairitsuX = insert.dBairitsuY = 1;
      insert.nNumber = number + 1;
      for (int i = 0; i < 50; ++i) {
        insert.DPKijunTen_x = i;
        AddMember(def, insert);
      }
    }
    drawing.EntBlockDef.push_back(def);
  }
  TEntJwwBlock insert;
  insert.dBairitsuX = insert.dBairitsuY = 1;
  insert.nNumber = 1;
  AddEntity(drawing, insert);
  const auto start = std::chrono::steady_clock::now();
  TJwwData read;
  ASSERT_TRUE(ReadJww(read, WriteJww(drawing)));
  DrawingExtents extents;
  read.GetMinMaxZahyo(extents);
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  EXPECT_LT(seconds, 60.0);  // a guard against runaway expansion, not a speed target
  EXPECT_GE(read.EntBlockTreeN(), 1 + 50);
  EXPECT_LT(read.EntBlockTreeN(), 50'000'000);
  // The tree is cut, but every definition the drawing inserts stays reached.
  EXPECT_EQ(read.EntBlockNum, 6);
  EXPECT_GE(extents.ExtMaxX, 49);
}

TEST(JwwDamaged, EveryTruncationFailsCleanly) {
  // Cut a drawing with every kind of content, a definition with a long time
  // stamp and a carried image at every length behind the header; none may
  // crash or read past the end (checked under the sanitizers).
  JwwWriteOptions options;
  options.long_time_stamps = true;
  options.images = {{u"a.bmp", "abc", -1}};
  JwwLayout layout;
  const std::string full = WriteJww(MakeAllKindsDrawing(700), options, &layout);
  TJwwData d;
  d.BindImageExr = true;
  ASSERT_TRUE(Succeeded(ReadJww(d, full)));
  ASSERT_EQ(d.BindImageN(), 1);
  EXPECT_EQ(d.BindImage[0].Fname, u"a.bmp");
  EXPECT_EQ(d.BindImage[0].Fsize, 3);
  for (size_t cut = layout.entity_count; cut < full.size(); ++cut) {
    TJwwData t;
    // Cuts inside the image section still give a drawing; earlier ones fail.
    t.BindImageExr = true;
    const Status read = ReadJww(t, std::string_view(full).substr(0, cut));
    EXPECT_EQ(read.ok(), cut >= layout.image_section) << cut;
    if (!read) {
      EXPECT_FALSE(read.reason().empty()) << cut;
    }
  }
}

TEST(JwwDamaged, RandomDamageNeitherCrashesNorHangs) {
  // Random byte changes and cuts behind the header of a drawing with every
  // record kind. Run under the sanitizers this also proves no read goes
  // past the buffer.
  JwwLayout layout;
  const std::string clean = WriteJww(MakeAllKindsDrawing(700), {}, &layout);
  std::mt19937 rng(12345);
  const auto t0 = std::chrono::steady_clock::now();
  for (int round = 0; round < 1000; ++round) {
    std::string bytes = clean;
    std::uniform_int_distribution<size_t> pos(layout.entity_count, bytes.size() - 1);
    const int changes = 1 + round % 8;
    for (int i = 0; i < changes; ++i) bytes[pos(rng)] = static_cast<char>(rng());
    if (round % 5 == 0) bytes.resize(pos(rng));
    TJwwData d;
    d.BindImageExr = true;
    if (const Status read = ReadJww(d, bytes); !read) {
      EXPECT_FALSE(read.reason().empty());
    }
    DrawingExtents ext;
    d.GetMinMaxZahyo(ext);
    EXPECT_LE(d.EntNo.size() * sizeof(TEntJwwNo), bytes.size());
  }
  EXPECT_LT(std::chrono::steady_clock::now() - t0, std::chrono::seconds(60));
}

}  // namespace
}  // namespace parvex::testing
