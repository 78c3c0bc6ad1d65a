// Extents of placed blocks from each definition's outline, computed once
// per definition, agree bit for bit with placing every point; a drawing
// whose placements would cost more than the work limit is refused and its
// extents stay as they were. Curves passed over because they lie inside the
// extents so far change nothing either.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <limits>
#include <numbers>
#include <random>

#include "converter/jww/jws_data.h"
#include "tests/support/block_fixtures.h"
#include "tests/support/jww_fixtures.h"
#include "tests/support/jww_writer.h"
#include "tests/support/stress_drawings.h"

namespace parvex {
namespace {

namespace fs = std::filesystem;
constexpr double kPi = std::numbers::pi;

bool SameBits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0 || (a == 0 && b == 0); }

template <typename Drawing>
void ExpectOutlinesAgree(Drawing& d, const std::string& what) {
  DrawingExtents fast;
  DrawingExtents slow;
  const Status a = MeasureExtents(d, fast);
  const Status b = MeasureExtents(d, slow, true);
  ASSERT_TRUE(a) << what << ": " << a.reason();
  ASSERT_TRUE(b) << what << ": " << b.reason();
  EXPECT_TRUE(SameBits(fast.ExtMinX, slow.ExtMinX)) << what << ": " << fast.ExtMinX << " " << slow.ExtMinX;
  EXPECT_TRUE(SameBits(fast.ExtMinY, slow.ExtMinY)) << what << ": " << fast.ExtMinY << " " << slow.ExtMinY;
  EXPECT_TRUE(SameBits(fast.ExtMaxX, slow.ExtMaxX)) << what << ": " << fast.ExtMaxX << " " << slow.ExtMaxX;
  EXPECT_TRUE(SameBits(fast.ExtMaxY, slow.ExtMaxY)) << what << ": " << fast.ExtMaxY << " " << slow.ExtMaxY;
}

TEST(PlacedBlockExtents, AgreeOnSamplesAndCorpus) {
  std::vector<fs::path> files;
  for (const fs::path& dir : {fs::path(PARVEX_SOURCE_DIR) / "samples",
                             fs::path(PARVEX_SOURCE_DIR) / ".." / "shared" / "corpus"}) {
    std::error_code ec;
    for (auto it = fs::recursive_directory_iterator(dir, ec); !ec && it != fs::recursive_directory_iterator();
         it.increment(ec))
      if (it->is_regular_file()) files.push_back(it->path());
  }
  ASSERT_FALSE(files.empty());
  for (const fs::path& f : files) {
    if (f.extension() == ".jww") {
      TJwwData d;
      ASSERT_TRUE(d.FileIn(f)) << f;
      ExpectOutlinesAgree(d, f.string());
    } else if (f.extension() == ".jws") {
      TJwsData s;
      ASSERT_TRUE(s.FileIn(f)) << f;
      ExpectOutlinesAgree(s, f.string());
    }
  }
}

// Every kind of member in a definition, placed turned, scaled, mirrored,
// squashed to nothing, blown up until points pass the usable range, and
// with a scale that is not a number.
TEST(PlacedBlockExtents, AgreeUnderEveryKindOfPlacement) {
  TJwwData all = testing::MakeAllKindsDrawing(700);
  TJwwData nested = testing::MakeNestedBlocksDrawing();
  std::mt19937 random(11);
  std::uniform_real_distribution<double> unit(-1, 1);
  TJwwData d = testing::MakeJwwDrawing(700);
  testing::AddAllKinds(d);
  for (TEntJwwBlockDef& def : nested.EntBlockDef) {
    def.nNumber += 100;
    for (TEntJwwBlock& b : def.mBlock) b.nNumber += 100;
    d.EntBlockDef.push_back(def);
  }
  TEntJwwBlockDef cloud;
  cloud.nNumber = 50;
  cloud.strName = u"CLOUD";
  for (int i = 0; i < 300; ++i) {
    TEntJwwLine l;
    l.start_x = 40 * unit(random);
    l.start_y = 40 * unit(random);
    l.end_x = l.start_x + unit(random);
    l.end_y = l.start_y + unit(random);
    testing::AddMember(cloud, l);
    TEntJwwEnko a;
    a.start_x = 30 * unit(random);
    a.start_y = 30 * unit(random);
    a.dHankei = 5 + 5 * unit(random);
    a.radKaishiKaku = kPi * unit(random);
    a.radEnkoKaku = kPi * unit(random);
    a.dHenpeiRitsu = 1 + 0.5 * unit(random);
    a.radKatamukiKaku = kPi * unit(random);
    testing::AddMember(cloud, a);
  }
  d.EntBlockDef.push_back(cloud);

  const double nan = std::numeric_limits<double>::quiet_NaN();
  std::vector<uint32_t> numbers;
  for (const TEntJwwBlockDef& def : d.EntBlockDef) numbers.push_back(def.nNumber);
  const double fixedTurns[] = {0, kPi / 2, kPi, -kPi / 2, 3 * kPi / 2, kPi / 4, 1e-17};
  const double fixedScales[] = {1, -1, 2.5, 0, 1e-12, 1e10, 4e11, nan};
  for (uint32_t number : numbers) {
    for (double turn : fixedTurns) {
      for (double scale : fixedScales) {
        TEntJwwBlock b;
        b.nNumber = number;
        b.DPKijunTen_x = 100 * unit(random);
        b.DPKijunTen_y = 100 * unit(random);
        b.dBairitsuX = scale;
        b.dBairitsuY = std::isnan(scale) ? 1 : scale * (1 + unit(random));
        b.radKaitenKaku = turn;
        testing::AddEntity(d, b);
      }
      TEntJwwBlock r;
      r.nNumber = number;
      r.DPKijunTen_x = 50 * unit(random);
      r.DPKijunTen_y = 50 * unit(random);
      r.dBairitsuX = 3 * unit(random);
      r.dBairitsuY = 3 * unit(random);
      r.radKaitenKaku = 4 * kPi * unit(random);
      testing::AddEntity(d, r);
    }
  }
  d.MakeBlockTree();
  ASSERT_GT(d.EntBlockTreeN(), 500);
  ExpectOutlinesAgree(d, "generated");

  // One placement alone, so that the extremes of each show.
  const std::vector<TEntJwwBlock> placements = d.EntBlock;
  for (size_t i = 0; i < placements.size(); i += 7) {
    TJwwData one = testing::MakeJwwDrawing(700);
    one.EntBlockDef = d.EntBlockDef;
    testing::AddEntity(one, placements[i]);
    one.MakeBlockTree();
    ExpectOutlinesAgree(one, "placement " + std::to_string(i));
  }
  (void)all;
}

// Curves of the drawing itself that lie inside the extents found so far
// are passed over; the extents are those of sampling every one of them.
// Curves of every shape (flattened either way, negative radius or
// flattening, tilted, curved fills of each kind, not a number) crowd
// around the edges of a large circle so that many just reach past them.
TEST(PlacedBlockExtents, CurvesInsideTheExtentsChangeNothing) {
  std::mt19937 random(5);
  std::uniform_real_distribution<double> unit(-1, 1);
  const double nan = std::numeric_limits<double>::quiet_NaN();
  for (int round = 0; round < 20; ++round) {
    TJwwData d = testing::MakeJwwDrawing(700);
    TEntJwwEnko big;
    big.dHankei = 50;
    big.radEnkoKaku = 2 * kPi;
    big.bZenEnFlg = round % 2;
    testing::AddEntity(d, big);
    for (int i = 0; i < 400; ++i) {
      const double angle = kPi * unit(random);
      const double at = 45 + 8 * unit(random);
      TEntJwwEnko a;
      a.start_x = at * std::cos(angle);
      a.start_y = at * std::sin(angle);
      a.dHankei = (i % 13 == 0 ? -1 : 1) * (0.5 + 6 * std::fabs(unit(random)));
      if (i % 97 == 0) a.dHankei = nan;
      a.dHenpeiRitsu = (i % 5 == 0) ? 3 * unit(random) : 1;
      a.radKatamukiKaku = kPi * unit(random);
      a.radKaishiKaku = kPi * unit(random);
      a.radEnkoKaku = (i % 7 == 0) ? 2 * kPi : 2 * kPi * unit(random);
      a.bZenEnFlg = (i % 11 == 0) ? 1 : 0;
      testing::AddEntity(d, a);
      TEntJwwSolid s;
      s.att.nPenStyle = (i % 3 == 0) ? 111 : 101;
      s.start_x = a.start_y;
      s.start_y = a.start_x;
      s.end_x = a.dHankei;
      s.end_y = a.dHenpeiRitsu;
      s.DPoint2_x = a.radKatamukiKaku;
      s.DPoint2_y = a.radKaishiKaku;
      s.DPoint3_x = a.radEnkoKaku;
      const double kinds[] = {0, -1, 100, 5};
      s.DPoint3_y = kinds[i % 4];
      testing::AddEntity(d, s);
    }
    ExpectOutlinesAgree(d, "round " + std::to_string(round));
  }
}

TEST(PlacedBlockExtents, WorkBeyondTheLimitIsRefused) {
  // Every point of the definition lies on its outline, and every placement
  // is turned: 20,000 placements of 730,000 outline points.
  TJwwData d = testing::RepeatedBlockDrawing(10000, 20000, kPi / 7, testing::ArcLayout::kOneCircle);
  d.MakeBlockTree();
  DrawingExtents ext{1, 2, 3, 4};
  const Status measured = MeasureExtents(d, ext);
  ASSERT_FALSE(measured);
  EXPECT_NE(measured.reason().find("places its blocks too often"), std::string::npos) << measured.reason();
  EXPECT_EQ(ext.ExtMinX, 1);
  EXPECT_EQ(ext.ExtMaxY, 4);
  d.GetMinMaxZahyo(ext);
  EXPECT_EQ(ext.ExtMinY, 2);
  EXPECT_EQ(ext.ExtMaxX, 3);

  // Unturned, the same drawing costs four points a placement.
  TJwwData plain = testing::RepeatedBlockDrawing(10000, 20000, 0, testing::ArcLayout::kOneCircle);
  plain.MakeBlockTree();
  DrawingExtents box;
  ASSERT_TRUE(MeasureExtents(plain, box));
  EXPECT_NEAR(box.ExtMinX, -160, 1e-9);
  EXPECT_NEAR(box.ExtMinY, -110, 1e-9);
  EXPECT_EQ(box.ExtMaxX, 400);  // nothing seeds: the start values stay inside
  EXPECT_EQ(box.ExtMaxY, 400);
}

}  // namespace
}  // namespace parvex
