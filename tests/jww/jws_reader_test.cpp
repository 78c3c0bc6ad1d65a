// JWS shape files: identification and version checks, the header and the
// entity list shared with JWW, extents from the base point, damaged files.
#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>
#include <psapi.h>
#else
#include <sys/resource.h>
#endif

#include <chrono>
#include <string>

#include "converter/jww/jws_data.h"
#include "read_bytes.h"
#include "tests/support/jww_fixtures.h"
#include "tests/support/jww_writer.h"
#include "tests/support/temp_folder.h"

namespace parvex::testing {
namespace {

std::string OneLineShape(int32_t version, const std::string& id = "") {
  TJwsData shape = MakeJwsShape(version);
  AddEntity(shape, MakeLine({}, 10, 10, 20, 10));
  JwwWriteOptions options;
  options.id = id;
  return WriteJws(shape, options);
}

TEST(JwsReader, ChecksAndReasons) {
  struct Case {
    const char* name;
    std::string bytes;
    bool ok;
    const char* reason;
  };
  const Case cases[] = {
      {"version 230", OneLineShape(230), true, ""},
      {"version 700", OneLineShape(700), true, ""},
      {"version 229", OneLineShape(229), false, "JWS-Version Error"},
      {"version 701", OneLineShape(701), false, "JWS-Version Error"},
      {"identification JwwData", OneLineShape(600, "JwwData"), false, "JWS-Header Error"},
      {"a JWW drawing", WriteJww(MakeJwwDrawing(600)), false, "JWS-Header Error"},
      // Identification, reserved bytes, version and half the base point.
      {"header cut short", OneLineShape(600).substr(0, 7 + 193 + 4 + 8), false, "File I/O Error"},
  };
  TempFolder dir;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const auto path = dir.Write("s.jws", c.bytes);
    const bool checkPasses = std::string(c.reason) != "JWS-Version Error" &&
                             std::string(c.reason) != "JWS-Header Error";
    EXPECT_EQ(TJwsData::FileCheck(path).reason(), checkPasses ? "" : c.reason);
    TJwsData fromFile;
    const Status readFile = fromFile.FileIn(path);
    EXPECT_EQ(readFile.ok(), c.ok);
    EXPECT_EQ(readFile.reason(), c.reason);
    TJwsData fromBytes;
    const Status readBytes = ReadJws(fromBytes, c.bytes);
    EXPECT_EQ(readBytes.ok(), c.ok);
    EXPECT_EQ(readBytes.reason(), c.reason);
  }
}

TEST(JwsReader, HeaderEntitiesAndBlocksAtEachVersionAndTagForm) {
  for (int32_t version : {230, 231, 300, 350, 351, 419, 420, 700}) {
    for (bool cycle : {false, true}) {
      SCOPED_TRACE(std::to_string(version) + (cycle ? " mixed tags" : " short tags"));
      TJwsData expected = MakeAllKindsShape(version);
      NormalizeForVersion(expected, version);
      JwwWriteOptions options;
      options.cycle_class_refs = cycle;
      TJwsData read;
      ASSERT_TRUE(Succeeded(ReadJws(read, WriteJws(MakeAllKindsShape(version), options))));
      EXPECT_EQ(CompareEntities(expected, read), "");
      EXPECT_EQ(read.Enthd.jwVer, version);
      EXPECT_EQ(read.Enthd.BasePoint_x, 12.5);
      EXPECT_EQ(read.Enthd.BasePoint_y, -7.25);
      EXPECT_EQ(read.Enthd.dmy06, 6);
      EXPECT_EQ(read.Enthd.dmy16, 1.6);
      EXPECT_EQ(read.Enthd.My2, 40);
      EXPECT_EQ(read.Enthd.n1, static_cast<int32_t>(expected.EntNo.size()));
      EXPECT_EQ(read.Enthd.n2, 2);
      // Only the layer group scales come from the file.
      ASSERT_EQ(read.EntLgrp.size(), 16u);
      for (int g = 0; g < 16; ++g) {
        EXPECT_EQ(read.EntLgrp[g].adScale, 10.0 * (g + 1));
        EXPECT_EQ(read.EntLgrp[g].anGLay, 2);
        EXPECT_EQ(read.EntLgrp[g].aStrGLayName, u"");
      }
      EXPECT_TRUE(read.EntMoj.empty());
      EXPECT_EQ(read.EntBlockTreeN(), 3);
    }
  }
}

// A shape has no image section: bytes after the block definitions are not
// read as one, even when images are asked for.
TEST(JwsReader, BytesAfterTheBlockDefinitionsAreIgnored) {
  std::string bytes = WriteJws(MakeAllKindsShape(700));
  bytes += std::string("\x05\x00\x00\x00garbage that looks like an image section", 44);
  TJwsData read;
  read.BindImageExr = true;
  ASSERT_TRUE(Succeeded(ReadJws(read, bytes)));
  EXPECT_EQ(read.BindImageN(), 0);
  EXPECT_EQ(read.EntBlockDefN(), 2);
}

TEST(JwsReader, ExtentsStartFromTheBasePoint) {
  struct Case {
    const char* name;
    bool with_line;
    double minx, miny, maxx, maxy;
  };
  const Case cases[] = {
      {"empty shape widened by 10", false, -7, -6, 13, 14},
      {"line from (10,10) to (20,10) with base (0,0)", true, 0, 0, 20, 10},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TJwsData shape = MakeJwsShape(700);
    if (c.with_line) {
      AddEntity(shape, MakeLine({}, 10, 10, 20, 10));
    } else {
      shape.Enthd.BasePoint_x = 3;
      shape.Enthd.BasePoint_y = 4;
    }
    TJwsData read;
    ASSERT_TRUE(ReadJws(read, WriteJws(shape)));
    DrawingExtents ext;
    read.GetMinMaxZahyo(ext);
    EXPECT_DOUBLE_EQ(ext.ExtMinX, c.minx);
    EXPECT_DOUBLE_EQ(ext.ExtMinY, c.miny);
    EXPECT_DOUBLE_EQ(ext.ExtMaxX, c.maxx);
    EXPECT_DOUBLE_EQ(ext.ExtMaxY, c.maxy);
  }
}

TEST(JwsReader, CutFilesFail) {
  JwwLayout layout;
  const std::string bytes = WriteJws(MakeAllKindsShape(700), {}, &layout);
  // The last cut ends inside the last member of the last definition.
  for (size_t cut : {size_t{7}, size_t{204}, layout.entity_count - 1, layout.entity_objects[2] + 3,
                     layout.block_def_count, layout.end - 1}) {
    SCOPED_TRACE(cut);
    TJwsData read;
    const Status cutShort = ReadJws(read, bytes.substr(0, cut));
    ASSERT_FALSE(cutShort);
    EXPECT_FALSE(cutShort.reason().empty());
  }
}

long PeakRssKb() {
#ifdef _WIN32
  PROCESS_MEMORY_COUNTERS counters{};
  GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
  return static_cast<long>(counters.PeakWorkingSetSize / 1024);
#else
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
#endif
}

// A 1 KB shape claiming 2^31 entities: the read fails at once and the
// process peak memory hardly moves.
TEST(JwsReader, OneKilobyteClaimingTwoBillionEntities) {
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

}  // namespace
}  // namespace parvex::testing
