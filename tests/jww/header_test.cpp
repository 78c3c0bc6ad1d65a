// The JWW header: identification and version limits, the rows that exist
// only from some version on, and files ending inside it.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "converter/jww/jww_data.h"
#include "read_bytes.h"
#include "tests/support/jww_fixtures.h"
#include "tests/support/jww_writer.h"
#include "tests/support/temp_folder.h"

namespace parvex::testing {
namespace {

TEST(JwwHeader, IdentificationAndVersionLimits) {
  struct Case {
    const char* id;
    int32_t version;
    bool accepted;
    const char* reason;
  };
  const Case cases[] = {
      {"JwwData.", 219, false, "JWW-Version Error"},
      {"JwwData.", 220, true, ""},
      {"JwwData.", 700, true, ""},
      {"JwwData.", 701, false, "JWW-Version Error"},
      {"JwwData,", 600, false, "JWW-Header Error"},
      {"JwsData.", 600, false, "JWW-Header Error"},
  };
  TempFolder dir;
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.id) + " " + std::to_string(c.version));
    JwwWriteOptions options;
    options.id = c.id;
    const std::string bytes = WriteJww(MakeJwwDrawing(c.version), options);
    const auto path = dir.Write("check.jww", bytes);
    const Status checked = TJwwData::FileCheck(path);
    EXPECT_EQ(checked.ok(), c.accepted);
    EXPECT_EQ(checked.reason(), c.reason);
    TJwwData fromFile;
    const Status readFile = fromFile.FileIn(path);
    EXPECT_EQ(readFile.ok(), c.accepted);
    EXPECT_EQ(readFile.reason(), c.reason);
    TJwwData fromBytes;
    const Status readBytes = ReadJww(fromBytes, bytes);
    EXPECT_EQ(readBytes.ok(), c.accepted);
    EXPECT_EQ(readBytes.reason(), c.reason);
  }
  EXPECT_EQ(TJwwData::FileCheck("/nonexistent/x.jww").reason(), "JWW-Header Error");
  EXPECT_EQ(TJwwData::FileCheck(std::filesystem::temp_directory_path()).reason(), "JWW-Header Error");
}

// Versions on both sides of every threshold of the header layout.
constexpr int32_t kVersionsAroundThresholds[] = {220, 222, 223, 224, 225, 229, 230, 231,
                                                 299, 300, 350, 351, 419, 420, 699, 700};

class HeaderByVersion : public ::testing::TestWithParam<int32_t> {};

// Fields that exist only from some version on: present ones carry the
// written value, absent ones their default; every later field must still
// land in place (the entity list after the header must read).
TEST_P(HeaderByVersion, FieldsFollowTheVersion) {
  const int32_t v = GetParam();
  const TJwwData written = MakeAllKindsDrawing(v);
  TJwwData d;
  ASSERT_TRUE(Succeeded(ReadJww(d, WriteJww(written))));
  const TEntJwwHeader& h = d.Enthd;
  const TEntJwwHeader& w = written.Enthd;
  const TEntJwwHeader defaults;

  EXPECT_EQ(h.jwVer, v);
  EXPECT_EQ(h.strMemo, w.strMemo);  // raw text keeps CR LF
  EXPECT_EQ(h.nZumen, 3);
  EXPECT_EQ(h.nWriteGLay, 2);
  EXPECT_EQ(h.lnSunpou5, 15);
  EXPECT_EQ(h.nMaxDrawWid, 7);
  EXPECT_EQ(h.dPrtBairitsu, 2);
  EXPECT_EQ(h.dMemoriX, 2.5);
  EXPECT_EQ(h.dKabeKageLevel, 4.5);
  EXPECT_EQ(h.dTenkuuZuLevel, v >= 300 ? 5.5 : defaults.dTenkuuZuLevel);
  EXPECT_EQ(h.dTenkuuZuEnkoR, v >= 300 ? 6.5 : defaults.dTenkuuZuEnkoR);
  EXPECT_EQ(h.nMMTani3D, 9);
  EXPECT_EQ(h.DPHanniGenten_y, -8);
  // Eight zoom entries with a layer group from 231, four without before.
  for (int i = 1; i <= 8; ++i) {
    SCOPED_TRACE(i);
    const bool stored = i <= 4 || v >= 231;
    EXPECT_EQ(h.dZoomJumpBairitsu[i], stored ? w.dZoomJumpBairitsu[i] : defaults.dZoomJumpBairitsu[i]);
    EXPECT_EQ(h.DPZoomJumpGenten_y[i], stored ? w.DPZoomJumpGenten_y[i] : defaults.DPZoomJumpGenten_y[i]);
    EXPECT_EQ(h.nZoomJumpGLay[i], v >= 231 ? w.nZoomJumpGLay[i] : defaults.nZoomJumpGLay[i]);
  }
  EXPECT_EQ(defaults.nZoomJumpGLay[1], -1);
  EXPECT_EQ(defaults.dZoomJumpBairitsu[5], 1.0);
  EXPECT_EQ(h.lnDm1, v >= 231 ? 12 : 0);
  EXPECT_EQ(h.nMojiBG, v >= 231 ? 4 : 0);
  EXPECT_EQ(h.adFukusenSuuchi[9], 9.5);
  EXPECT_EQ(h.dRyougawaFukusenTomeDe, 1.75);
  EXPECT_EQ(h.nPrtKyoutsuuGray, 10);
  // One stored word holds both: dpi * 10 + the display-only flag.
  EXPECT_EQ(h.nPrtDpi, 300);
  EXPECT_EQ(h.nPrtDispOnlyNonDraw, 1);
  EXPECT_EQ(h.lnDrawTime, v >= 223 ? 3600 : 0);
  EXPECT_EQ(h.dEye_V_Ichi_3, v >= 223 ? 7.5 : 0);
  EXPECT_EQ(h.dEnHankeiSnpou, v >= 225 ? 9.5 : 0);
  EXPECT_EQ(h.SolidColor, v >= 230 ? 0x123456 : 0);
  EXPECT_EQ(h.dMojiSizeY, 3.5);
  EXPECT_EQ(h.nMojiShu, 4);
  EXPECT_EQ(h.nMojiKijunZureOn, 1);
  EXPECT_EQ(h.adMojiKijunZureY2, -1.5);

  ASSERT_EQ(d.EntLgrp.size(), 16u);
  ASSERT_EQ(d.EntLay.size(), 256u);
  EXPECT_EQ(d.EntLgrp[1].adScale, 50);
  EXPECT_EQ(d.EntLgrp[15].anGLayProtect, 1);
  EXPECT_EQ(d.EntLgrp[0].aStrGLayName, u"一般図");
  EXPECT_EQ(d.EntLay[16 + 3].aStrLayName, u"Wall D");
  EXPECT_EQ(d.EntLay[15].aanLayProtect, 1);
  EXPECT_EQ(d.EntCol[1].adPrtTenHankei, written.EntCol[1].adPrtTenHankei);
  EXPECT_EQ(d.EntCol[9].adPrtTenHankei, written.EntCol[9].adPrtTenHankei);
  EXPECT_EQ(d.EntLtp2[4].anPrtRandSenWide, 8);
  EXPECT_EQ(d.EntLtp3[3].anPrtTokushuSenPich, 3);
  EXPECT_EQ(d.EntMoj[0].adMojiX, written.EntMoj[0].adMojiX);
  EXPECT_EQ(d.EntMoj[9].anMojiCol, written.EntMoj[9].anMojiCol);

  // The SXF tables only from 420; older files leave them zeroed.
  ASSERT_EQ(d.EntColS.size(), 257u);
  ASSERT_EQ(d.EntLtpS.size(), 33u);
  if (v >= 420) {
    EXPECT_EQ(d.EntColS[1].aPenColor, written.EntColS[1].aPenColor);
    EXPECT_EQ(d.EntColS[1].astrUDColorName, u"black");
    EXPECT_EQ(d.EntColS[256].astrUDColorName, u"ユーザー色");
    EXPECT_EQ(d.EntColS[256].adPrtTenHankei, written.EntColS[256].adPrtTenHankei);
    EXPECT_EQ(d.EntLtpS[1].astrUDLTypeName, u"continuous");
    EXPECT_EQ(d.EntLtpS[32].aadUDLTypePitch[10], written.EntLtpS[32].aadUDLTypePitch[10]);
  } else {
    EXPECT_EQ(d.EntColS[1].aPenColor, 0);
    EXPECT_EQ(d.EntColS[1].astrUDColorName, u"");
    EXPECT_EQ(d.EntColS[256].astrUDColorName, u"");
    EXPECT_EQ(d.EntColS[256].aPenColor, 0);
    EXPECT_EQ(d.EntLtpS[32].aadUDLTypePitch[10], 0);
  }
  EXPECT_EQ(d.EntNo.size(), written.EntNo.size());
}

INSTANTIATE_TEST_SUITE_P(Thresholds, HeaderByVersion, ::testing::ValuesIn(kVersionsAroundThresholds));

// A file that ends inside the header, or right after it where the entity
// count should be, fails and builds no block tree.
TEST(JwwHeader, FileEndingInsideOrRightAfterTheHeaderFails) {
  JwwLayout layout;
  const std::string bytes = WriteJww(MakeAllKindsDrawing(700), {}, &layout);
  struct Case {
    size_t cut;
    const char* reason;
  };
  const Case cases[] = {
      {0, "JWW-Header Error"},  // no identification
      {5, "JWW-Header Error"},
      {12, "File I/O Error"},  // identification and version only
      {500, "File I/O Error"},
      {1000, "File I/O Error"},
      {layout.entity_count - 1, "File I/O Error"},
      {layout.entity_count, "File I/O Error"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.cut);
    TJwwData read;
    EXPECT_EQ(ReadJww(read, bytes.substr(0, c.cut)).reason(), c.reason);
    EXPECT_TRUE(read.EntBlockTree.empty());
  }
}

}  // namespace
}  // namespace parvex::testing
