// The JWW header: identification, version-dependent rows, derived values.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <limits>

#include "converter/jww/jww_data.h"
#include "jww_bytes.h"

namespace parvex {
namespace {

using testing::Bytes;
using testing::HeaderValues;
using testing::JwwHeader;

// A whole file: header, an empty entity list and no block definitions.
Bytes EmptyDrawing(const HeaderValues& v) {
  Bytes b = JwwHeader(v);
  b.U16(0).U16(0);
  if (v.version >= 700) b.I32(0);
  return b;
}

TEST(JwwHeader, FileCheckAndReadAcceptVersions220To700) {
  struct {
    const char* id;
    int32_t version;
    bool accepted;
    const char* reason;
  } cases[] = {
      {"JwwData.", 219, false, "JWW-Version Error"},
      {"JwwData.", 220, true, ""},
      {"JwwData.", 700, true, ""},
      {"JwwData.", 701, false, "JWW-Version Error"},
      {"JwwData,", 600, false, "JWW-Header Error"},
  };
  testing::TempDir dir;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.version);
    HeaderValues v;
    v.version = c.version;
    Bytes b = EmptyDrawing(v);
    std::memcpy(b.b.data(), c.id, 8);
    auto path = dir.Write("check.jww", b);
    EXPECT_EQ(TJwwData::FileCheck(path), c.accepted);
    TJwwData d;
    EXPECT_EQ(d.FileIn(path), c.accepted);
    EXPECT_EQ(d.LastError, c.reason);
  }
  EXPECT_FALSE(TJwwData::FileCheck("/nonexistent/x.jww"));
  EXPECT_FALSE(TJwwData::FileCheck(std::filesystem::temp_directory_path()));
}

TEST(JwwHeader, VersionDependentRows) {
  // Versions on both sides of every threshold; each must land exactly on
  // the entity list (the empty lists that follow must read).
  for (int32_t ver : {220, 222, 223, 224, 225, 229, 230, 231, 299, 300, 350, 351, 419, 420, 699, 700}) {
    SCOPED_TRACE(ver);
    HeaderValues v;
    v.version = ver;
    TJwwData d;
    ASSERT_TRUE(d.ReadBytes(EmptyDrawing(v).span())) << d.LastError;
    const TEntJwwHeader& h = d.Enthd;
    EXPECT_EQ(h.nZumen, 3);
    EXPECT_EQ(h.dZoomJumpBairitsu[4], 2.0);
    // Eight zoom entries with a layer group from 231, four without before.
    EXPECT_EQ(h.dZoomJumpBairitsu[5], ver >= 231 ? 2.0 : 1.0);
    EXPECT_EQ(h.nZoomJumpGLay[1], ver >= 231 ? 1 : -1);
    EXPECT_EQ(d.EntMoj[0].adMojiX, 2.5);
    EXPECT_EQ(d.EntCol[1].adPrtTenHankei, 0.3);
    // SXF tables only from 420; older files leave them zeroed.
    EXPECT_EQ(d.EntColS[1].aPenColor, ver >= 420 ? 0xFF : 0);
    EXPECT_EQ(d.EntColS[1].astrUDColorName, ver >= 420 ? u"sxf-red" : u"");
    EXPECT_EQ(d.EntColS.size(), 257u);
    EXPECT_EQ(d.EntLtpS.size(), 33u);
  }
}

TEST(JwwHeader, DerivedAndCleanedValues) {
  HeaderValues v;
  v.printerWord = 3001;
  v.mojiWidth0 = std::numeric_limits<double>::quiet_NaN();
  v.memo = "a\r\nb";
  v.layerName0 = "A\tB";
  TJwwData d;
  ASSERT_TRUE(d.ReadBytes(EmptyDrawing(v).span()));
  EXPECT_EQ(d.Enthd.nPrtDpi, 300);
  EXPECT_EQ(d.Enthd.nPrtDispOnlyNonDraw, 1);
  EXPECT_EQ(d.EntMoj[0].adMojiX, 3.0);
  EXPECT_EQ(d.Enthd.strMemo, u"a\r\nb");
  EXPECT_EQ(d.EntLay[0].aStrLayName, u"AB");
}

TEST(JwwHeader, FileEndingInsideTheHeaderIsAnIoError) {
  Bytes full = JwwHeader(HeaderValues{});
  for (size_t cut : {size_t{12}, size_t{500}, full.size() - 1}) {
    SCOPED_TRACE(cut);
    TJwwData d;
    EXPECT_FALSE(d.ReadBytes(full.span().first(cut)));
    EXPECT_EQ(d.LastError, "File I/O Error");
    EXPECT_TRUE(d.EntBlockTree.empty());
  }
}

}  // namespace
}  // namespace parvex
