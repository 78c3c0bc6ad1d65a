// Every real drawing of the shared corpus must read.
#include <gtest/gtest.h>

#include <filesystem>

#include "converter/jww/jws_data.h"
#include "read_bytes.h"

namespace parvex {
namespace {

using testing::Succeeded;

const std::filesystem::path kCorpus = PARVEX_SOURCE_DIR "/../shared/corpus";

TEST(JwwCorpus, SampleDrawingReads) {
  const auto path = kCorpus / "jww" / "sample.jww";
  if (!std::filesystem::exists(path)) GTEST_SKIP() << "corpus not present";
  ASSERT_TRUE(TJwwData::FileCheck(path));
  TJwwData d;
  ASSERT_TRUE(Succeeded(d.FileIn(path)));
  EXPECT_GE(d.Enthd.jwVer, 220);
  EXPECT_EQ(d.EntNo.size(), static_cast<size_t>(d.Enthd.n1));
  EXPECT_EQ(d.EntBlockDefN(), d.Enthd.n2);
  // Every order-list entry refers to an existing record.
  for (const TEntJwwNo& no : d.EntNo) {
    const size_t sizes[8] = {0, d.EntLine.size(), d.EntEnko.size(), d.EntTen.size(),
                             d.EntMoji.size(), d.EntSunpo.size(), d.EntSolid.size(),
                             d.EntBlock.size()};
    ASSERT_GE(no.EntType, 1);
    ASSERT_LE(no.EntType, 7);
    ASSERT_LT(static_cast<size_t>(no.EntNo), sizes[no.EntType]);
  }
  DrawingExtents ext;
  d.GetMinMaxZahyo(ext);
  EXPECT_LE(ext.ExtMinX, ext.ExtMaxX);
  EXPECT_LE(ext.ExtMinY, ext.ExtMaxY);
}

TEST(JwwCorpus, EveryShapeFileReads) {
  const auto dir = kCorpus / "jws";
  if (!std::filesystem::exists(dir)) GTEST_SKIP() << "corpus not present";
  int files = 0;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(dir)) {
    if (!entry.is_regular_file()) continue;
    SCOPED_TRACE(entry.path().string());
    ++files;
    EXPECT_TRUE(TJwsData::FileCheck(entry.path()));
    TJwsData s;
    EXPECT_TRUE(Succeeded(s.FileIn(entry.path())));
    EXPECT_EQ(s.EntNo.size(), static_cast<size_t>(s.Enthd.n1));
    for (const TEntJwwNo& no : s.EntNo) EXPECT_NE(no.EntType, kJwwNone);
  }
  EXPECT_GT(files, 0);
}

}  // namespace
}  // namespace parvex
