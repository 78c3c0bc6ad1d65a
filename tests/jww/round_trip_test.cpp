// Drawings written by the test writer read back unchanged, across every
// version boundary and every tag and count form; damaged copies never
// crash the reader.
#include <gtest/gtest.h>

#include <chrono>
#include <random>

#include "tests/support/jww_fixtures.h"
#include "tests/support/jww_writer.h"

namespace parvex {
namespace {

using namespace parvex::testing;

std::span<const uint8_t> Span(const std::string& s) {
  return {reinterpret_cast<const uint8_t*>(s.data()), s.size()};
}

TEST(JwwRoundTrip, EveryVersionAndTagForm) {
  struct Form {
    const char* name;
    JwwWriteOptions options;
  };
  std::vector<Form> forms(4);
  forms[0].name = "short references";
  forms[1].name = "long references, long counts, long time stamps";
  forms[1].options.class_refs = ClassRefForm::kLong;
  forms[1].options.long_counts = true;
  forms[1].options.long_time_stamps = true;
  forms[2].name = "mixed tags, UTF-16 strings";
  forms[2].options.cycle_class_refs = true;
  forms[2].options.strings = UnicodeStrings::kAlways;
  forms[3].name = "code page strings";
  forms[3].options.strings = UnicodeStrings::kNever;
  for (int32_t ver : kJwwBoundaryVersions) {
    for (const Form& f : forms) {
      SCOPED_TRACE(std::to_string(ver) + " " + f.name);
      TJwwData expected = MakeAllKindsDrawing(ver);
      const std::string bytes = WriteJww(expected, f.options);
      TJwwData actual;
      actual.BindImageExr = true;
      ASSERT_TRUE(actual.ReadBytes(Span(bytes))) << actual.LastError;
      NormalizeForVersion(expected, ver);
      if (f.options.long_time_stamps) {
        for (size_t i = 0; i < expected.EntBlockDef.size(); ++i)
          expected.EntBlockDef[i].dtime = static_cast<uint32_t>(i + 1);
      }
      EXPECT_EQ(CompareEntities(expected, actual), "");
      EXPECT_EQ(actual.Enthd.nZumen, expected.Enthd.nZumen);
      EXPECT_EQ(actual.Enthd.strMemo, expected.Enthd.strMemo);
      EXPECT_EQ(actual.EntLay[37].aStrLayName, expected.EntLay[37].aStrLayName);
      EXPECT_EQ(actual.EntLgrp[3].adScale, expected.EntLgrp[3].adScale);
      EXPECT_EQ(actual.EntCol[4].aPrtPenColor, expected.EntCol[4].aPrtPenColor);
      EXPECT_EQ(actual.EntMoj[9].adMojiY, expected.EntMoj[9].adMojiY);
      EXPECT_EQ(actual.Enthd.adMojiKijunZureY2, expected.Enthd.adMojiKijunZureY2);
      EXPECT_EQ(actual.MojiEncode, f.options.strings == UnicodeStrings::kAlways ? 1 : actual.MojiEncode);
      // The drawing inserts "frame" (holding "door") and "door".
      EXPECT_EQ(actual.EntBlockTreeN(), 3);
      EXPECT_EQ(actual.EntBlockNum, 2);
    }
  }
}

TEST(JwsRoundTrip, Versions) {
  for (int32_t ver : {230, 350, 351, 419, 420, 700}) {
    SCOPED_TRACE(ver);
    TJwsData expected = MakeAllKindsShape(ver);
    const std::string bytes = WriteJws(expected);
    TJwsData actual;
    ASSERT_TRUE(actual.ReadBytes(Span(bytes))) << actual.LastError;
    NormalizeForVersion(expected, ver);
    EXPECT_EQ(CompareEntities(expected, actual), "");
    EXPECT_EQ(actual.Enthd.BasePoint_x, expected.Enthd.BasePoint_x);
    EXPECT_EQ(actual.Enthd.My2, expected.Enthd.My2);
  }
}

TEST(JwwRobustness, DamagedFilesNeitherCrashNorHang) {
  // Random byte changes and cuts behind the header of a drawing with every
  // record kind. Run under the sanitizers this also proves no read goes
  // past the buffer.
  const std::string clean = WriteJww(MakeAllKindsDrawing(700));
  JwwLayout layout;
  WriteJww(MakeAllKindsDrawing(700), {}, &layout);
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
    if (!d.ReadBytes(Span(bytes))) {
      EXPECT_FALSE(d.LastError.empty());
    }
    DrawingExtents ext;
    d.GetMinMaxZahyo(ext);
    EXPECT_LE(d.EntNo.size() * sizeof(TEntJwwNo), bytes.size());
  }
  EXPECT_LT(std::chrono::steady_clock::now() - t0, std::chrono::seconds(60));
}

}  // namespace
}  // namespace parvex
