// JWS shape files: header, checks and the shared entity list.
#include <gtest/gtest.h>

#include <cstring>

#include "converter/jww/jws_data.h"
#include "jww_bytes.h"

namespace parvex {
namespace {

using testing::Bytes;

Bytes Shape(int32_t version, const Bytes& body) {
  Bytes b = testing::JwsHeader(version, 3, 4);
  b.Append(body);
  return b;
}

Bytes OneLineBody(int32_t version) {
  testing::Rec r{version};
  Bytes b = testing::Count(1);
  b.Append(testing::NewClass("CDataSen")).Append(r.Line(10, 10, 20, 10)).U16(0);
  return b;
}

TEST(JwsReader, ChecksAndReasons) {
  testing::TempDir dir;
  struct {
    const char* name;
    Bytes bytes;
    bool ok;
    const char* reason;
  } cases[] = {
      {"version 230", Shape(230, OneLineBody(230)), true, ""},
      {"version 700", Shape(700, OneLineBody(700)), true, ""},
      {"version 229", Shape(229, OneLineBody(229)), false, "JWS-Version Error"},
      {"version 701", Shape(701, OneLineBody(701)), false, "JWS-Version Error"},
      {"JWW identification", Bytes().Ascii("JwwData.").Zeros(300), false, "JWS-Header Error"},
      {"header cut short", Bytes().Ascii("JwsData").Zeros(193).I32(600).F64(0), false,
       "File I/O Error"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    auto path = dir.Write("s.jws", c.bytes);
    const bool checkPasses = std::string(c.reason) != "JWS-Version Error" &&
                             std::string(c.reason) != "JWS-Header Error";
    EXPECT_EQ(TJwsData::FileCheck(path), checkPasses);
    TJwsData s;
    EXPECT_EQ(s.FileIn(path), c.ok);
    EXPECT_EQ(s.LastError, c.reason);
  }
}

TEST(JwsReader, HeaderAndEntities) {
  Bytes b = Shape(700, OneLineBody(700));
  b.I32(1).Ascii("trailing bytes are not an image section");
  TJwsData s;
  s.BindImageExr = true;
  ASSERT_TRUE(s.ReadBytes(b.span())) << s.LastError;
  EXPECT_EQ(s.Enthd.jwVer, 700);
  EXPECT_EQ(s.Enthd.BasePoint_x, 3);
  EXPECT_EQ(s.Enthd.BasePoint_y, 4);
  EXPECT_EQ(s.Enthd.n1, 1);
  EXPECT_EQ(s.BindImageN(), 0);
  ASSERT_EQ(s.EntLgrp.size(), 16u);
  EXPECT_EQ(s.EntLgrp[15].adScale, 16.0);
  EXPECT_EQ(s.EntLgrp[15].anGLay, 2);
  EXPECT_TRUE(s.EntLgrp[15].aStrGLayName.empty());
  EXPECT_TRUE(s.EntMoj.empty());
  ASSERT_EQ(s.EntLineN(), 1);
  EXPECT_EQ(s.EntLine[0].end_x, 20);
}

}  // namespace
}  // namespace parvex
