// JWS shapes written by the test writer and read back.
#include <gtest/gtest.h>

#include "read_helpers.h"
#include "tests/support/jww_fixtures.h"
#include "tests/support/jww_writer.h"

namespace parvex::testing {
namespace {

TEST(JwsRoundTrip, HeaderEntitiesAndBlocksAtEachVersion) {
  for (int32_t version : {230, 231, 300, 350, 351, 419, 420, 700}) {
    SCOPED_TRACE(version);
    TJwsData expected = MakeAllKindsShape(version);
    NormalizeForVersion(expected, version);
    JwwWriteOptions options;
    options.cycle_class_refs = true;
    TJwsData read;
    ASSERT_TRUE(ReadJws(read, WriteJws(MakeAllKindsShape(version), options))) << read.LastError;
    EXPECT_EQ(CompareEntities(expected, read), "");
    EXPECT_EQ(read.Enthd.jwVer, version);
    EXPECT_EQ(read.Enthd.BasePoint_x, 12.5);
    EXPECT_EQ(read.Enthd.BasePoint_y, -7.25);
    EXPECT_EQ(read.Enthd.dmy06, 6);
    EXPECT_EQ(read.Enthd.dmy16, 1.6);
    EXPECT_EQ(read.Enthd.My2, 40);
    EXPECT_EQ(read.Enthd.n2, 2);
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

TEST(JwsRoundTrip, BytesAfterTheBlockDefinitionsAreIgnored) {
  TJwsData shape = MakeAllKindsShape(700);
  std::string bytes = WriteJws(shape);
  bytes += std::string("\x05\x00\x00\x00garbage that looks like an image section", 44);
  TJwsData read;
  ASSERT_TRUE(ReadJws(read, bytes)) << read.LastError;
  EXPECT_TRUE(read.BindImage.empty());
  EXPECT_EQ(read.EntBlockDefN(), 2);
}

TEST(JwsRoundTrip, ExtentsStartFromTheBasePoint) {
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
      TEntJwwLine line;
      line.start_x = 10;
      line.start_y = 10;
      line.end_x = 20;
      line.end_y = 10;
      AddEntity(shape, line);
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

}  // namespace
}  // namespace parvex::testing
