// Damaged and hostile JWW and JWS files: cut files, wrong identifications,
// unknown classes, counts larger than the file.
#include <gtest/gtest.h>

#include <sys/resource.h>

#include <chrono>

#include "read_helpers.h"
#include "tests/support/jww_fixtures.h"
#include "tests/support/jww_writer.h"

namespace parvex::testing {
namespace {

TEST(JwwDamaged, IdentificationAndVersionLimits) {
  struct Case {
    const char* id;
    int32_t version;
    bool ok;
  };
  const Case cases[] = {
      {"JwwData.", 219, false}, {"JwwData.", 220, true}, {"JwwData.", 700, true},
      {"JwwData.", 701, false}, {"JwwData,", 600, false}, {"JwsData.", 600, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.id) + " " + std::to_string(c.version));
    TJwwData drawing = MakeJwwDrawing(c.version);
    JwwWriteOptions options;
    options.id = c.id;
    TJwwData read;
    EXPECT_EQ(ReadJww(read, WriteJww(drawing, options)), c.ok) << read.LastError;
  }
}

TEST(JwwDamaged, CutInsideTheHeaderFails) {
  const std::string bytes = WriteJww(MakeAllKindsDrawing(700));
  JwwLayout layout;
  WriteJww(MakeAllKindsDrawing(700), {}, &layout);
  for (size_t cut : {size_t{0}, size_t{5}, size_t{12}, size_t{1000}, layout.entity_count - 1}) {
    SCOPED_TRACE(cut);
    TJwwData read;
    EXPECT_FALSE(ReadJww(read, bytes.substr(0, cut)));
  }
  // Ends right after the header: the entity count cannot be read.
  TJwwData read;
  EXPECT_FALSE(ReadJww(read, bytes.substr(0, layout.entity_count)));
}

// A file cut inside the entity list keeps the entities before the cut, pads
// the order list with empty entries and fails at the block definitions.
TEST(JwwDamaged, CutInsideTheEntityListDropsTheRest) {
  TJwwData drawing = MakeAllKindsDrawing(700);
  JwwLayout layout;
  const std::string bytes = WriteJww(drawing, {}, &layout);
  const size_t third = layout.entity_objects[3];
  TJwwData read;
  EXPECT_FALSE(ReadJww(read, bytes.substr(0, third + 20)));
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

TEST(JwwDamaged, UnknownOrMisplacedClassNamesFail) {
  for (const char* name : {"CDataList", "CDataXYZ", "CDataSe", "cdatasen"}) {
    SCOPED_TRACE(name);
    TJwwData drawing = MakeJwwDrawing(700);
    TEntJwwLine line;
    AddEntity(drawing, line);
    JwwLayout layout;
    std::string bytes = WriteJww(drawing, {}, &layout);
    // Replace the class name of the only entity (tag, schema, length, name).
    ArchiveWriter tag;
    tag.ClassTag(name);
    const size_t at = layout.entity_objects[0];
    bytes.replace(at, 6 + 8, tag.bytes());
    TJwwData read;
    EXPECT_FALSE(ReadJww(read, bytes));
  }
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
    EXPECT_TRUE(ReadJww(read, bytes)) << read.LastError;
    ASSERT_EQ(read.EntLineN(), 1);
    EXPECT_EQ(read.EntLine[0].start_x, 42);
  }
}

// Tags that name no known class read nothing and count nothing; a list of
// them up to the end of the file must end the read, not spin.
TEST(JwwDamaged, ListOfTagsWithoutClassesEndsAtTheEndOfFile) {
  TJwwData drawing = MakeJwwDrawing(700);
  JwwWriteOptions options;
  options.stated_entities = 5;
  options.omit_image_section = true;
  std::string bytes = WriteJww(drawing, options);
  bytes.resize(bytes.size() - 2);  // drop the definition count
  for (int i = 0; i < 1000; ++i) bytes += std::string("\x23\x81", 2);
  const auto start = std::chrono::steady_clock::now();
  TJwwData read;
  EXPECT_FALSE(ReadJww(read, bytes));
  EXPECT_LT(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(), 1.0);
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

struct HugeCount {
  const char* name;
  int64_t entities;
  int64_t block_defs;
};

// A small file that claims an enormous number of objects must fail
// promptly without allocating for the claim.
TEST(JwwDamaged, CountsBeyondTheFileFailQuickly) {
  const HugeCount cases[] = {
      {"entities 2^31", int64_t{1} << 31, -1},
      {"entities 2^32-1", 0xFFFFFFFFll, -1},
      {"entities 2^31-1", 0x7FFFFFFFll, -1},
      {"block definitions 2^31", -1, int64_t{1} << 31},
  };
  for (const HugeCount& c : cases) {
    SCOPED_TRACE(c.name);
    TJwwData drawing = MakeJwwDrawing(230);
    TEntJwwLine line;
    AddEntity(drawing, line);
    JwwWriteOptions options;
    options.stated_entities = c.entities;
    options.stated_block_defs = c.block_defs;
    const std::string bytes = WriteJww(drawing, options);
    const auto start = std::chrono::steady_clock::now();
    TJwwData read;
    EXPECT_FALSE(ReadJww(read, bytes));
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_LT(seconds, 1.0);
    EXPECT_LT(read.EntNo.size(), 100000u);
    EXPECT_LT(read.EntBlockDef.size(), 100000u);
  }
}

long PeakRssKb() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

// A 1 KB shape claiming 2^31 entities: the read fails at once and the
// process peak memory hardly moves.
TEST(JwsDamaged, OneKilobyteClaimingTwoBillionEntities) {
  TJwsData shape = MakeJwsShape(700);
  TEntJwwLine line;
  for (int i = 0; i < 10; ++i) AddEntity(shape, line);
  JwwWriteOptions options;
  options.stated_entities = int64_t{1} << 31;
  std::string bytes = WriteJws(shape, options);
  bytes.resize(1024, '\0');
  const long rss_before = PeakRssKb();
  const auto start = std::chrono::steady_clock::now();
  TJwsData read;
  EXPECT_FALSE(ReadJws(read, bytes));
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  const long rss_growth_kb = PeakRssKb() - rss_before;
  RecordProperty("seconds", std::to_string(seconds));
  RecordProperty("peak_rss_growth_kb", std::to_string(rss_growth_kb));
  EXPECT_LT(seconds, 1.0);
  EXPECT_LT(rss_growth_kb, 64 * 1024);
  EXPECT_LE(read.EntLineN(), 10);
}

TEST(JwwDamaged, MemberCountBeyondTheFileFails) {
  TJwwData drawing = MakeJwwDrawing(700);
  TEntJwwBlockDef def;
  def.nNumber = 1;
  TEntJwwLine line;
  AddMember(def, line);
  drawing.EntBlockDef.push_back(def);
  JwwLayout layout;
  std::string bytes = WriteJww(drawing, {}, &layout);
  // Patch the member count word (after tag 2+2+2+9, record 27, name 1) to
  // the int form with 2^31 members.
  const size_t count_at = layout.block_def_objects[0] + 6 + 9 + 27 + 1;
  ASSERT_EQ(static_cast<uint8_t>(bytes[count_at]), 1);
  bytes.replace(count_at, 2, std::string("\xFF\xFF\x00\x00\x00\x80", 6));
  TJwwData read;
  EXPECT_FALSE(ReadJww(read, bytes));
  ASSERT_LE(read.EntBlockDef.size(), 1u);
  if (!read.EntBlockDef.empty()) {
    EXPECT_LT(read.EntBlockDef[0].mNo.size(), 100000u);
  }
}

TEST(JwsDamaged, IdentificationAndVersionLimits) {
  struct Case {
    const char* id;
    int32_t version;
    bool ok;
  };
  const Case cases[] = {
      {"JwsData", 229, false}, {"JwsData", 230, true}, {"JwsData", 700, true},
      {"JwsData", 701, false}, {"JwwData", 600, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.id) + " " + std::to_string(c.version));
    JwwWriteOptions options;
    options.id = c.id;
    TJwsData read;
    EXPECT_EQ(ReadJws(read, WriteJws(MakeJwsShape(c.version), options)), c.ok) << read.LastError;
  }
  TJwsData read;
  EXPECT_FALSE(ReadJws(read, WriteJww(MakeJwwDrawing(600))));
}

TEST(JwsDamaged, CutFilesFail) {
  JwwLayout layout;
  const std::string bytes = WriteJws(MakeAllKindsShape(700), {}, &layout);
  for (size_t cut : {size_t{7}, size_t{204}, layout.entity_count - 1, layout.entity_objects[2] + 3,
                     layout.block_def_count}) {
    SCOPED_TRACE(cut);
    TJwsData read;
    EXPECT_FALSE(ReadJws(read, bytes.substr(0, cut)));
  }
}

}  // namespace
}  // namespace parvex::testing
