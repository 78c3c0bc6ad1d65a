// The committed JWC/JWK samples and fuzzer seeds are what the generator
// writes now, and they read as drawings.
#include <gtest/gtest.h>

#include <filesystem>

#include "read_helpers.h"
#include "tests/support/jwc_fixtures.h"
#include "tests/support/jwc_writer.h"
#include "tests/support/temp_folder.h"

namespace parvex::testing {
namespace {

namespace fs = std::filesystem;

void ExpectCommitted(const fs::path& dir, const std::vector<NamedBytes>& files, const char* regenerate) {
  for (const NamedBytes& f : files) {
    SCOPED_TRACE(f.name);
    const std::string committed = TempFolder::Read(dir / f.name);
    ASSERT_FALSE(committed.empty()) << "missing: " << (dir / f.name);
    EXPECT_TRUE(committed == f.bytes) << (dir / f.name) << " is out of date: run " << regenerate;
  }
}

TEST(JwcSamples, CommittedFilesMatchTheGenerator) {
  const fs::path source = PARVEX_SOURCE_DIR;
  ExpectCommitted(source / "samples", JwcSampleFiles(), "parvex-make-jwc-samples --samples samples");
  for (const char* kind : {"jwc", "jwk"}) {
    ExpectCommitted(source / "fuzz" / "corpus" / kind, JwcSeedFiles(kind),
                    "parvex-make-jwc-samples --seeds fuzz/corpus");
  }
}

TEST(JwcSamples, SamplesAndSeedsRead) {
  for (const char* kind : {"jwc", "jwk"}) {
    std::vector<NamedBytes> files = JwcSeedFiles(kind);
    for (NamedBytes& f : JwcSampleFiles())
      if (f.name.ends_with(kind)) files.push_back(std::move(f));
    for (const NamedBytes& f : files) {
      SCOPED_TRACE(f.name);
      TJwcData d;
      TJwkData s;
      const Status read = kind == std::string("jwc") ? ReadJwc(d, f.bytes) : ReadJwk(s, f.bytes);
      EXPECT_TRUE(read) << read.reason();
    }
  }
}

// The garage is drawn in file units of 420/518 mm: its walls come back in
// paper millimetres.
TEST(JwcSamples, GarageReadsInMillimetres) {
  TJwcData d;
  ASSERT_TRUE(ReadJwc(d, WriteJwc(MakeGarageJwc())));
  EXPECT_DOUBLE_EQ(d.Enthd.dataUnit, 420.0 / 518);
  EXPECT_EQ(d.Enthd.comment1, u"Parvex sample garage");
  EXPECT_EQ(d.EntLgrp[0].scale, 50.0f);
  EXPECT_EQ(d.EntLgrp[0].name, u"平面図");
  const TEntJwcLine& wall = d.EntLine[6];  // (220, 100) to (220, 180)
  EXPECT_NEAR(wall.x1, 220, 1e-3);
  EXPECT_NEAR(wall.y2, 180, 1e-3);
  EXPECT_EQ(d.VirtualPointCount(), 2);
}

}  // namespace
}  // namespace parvex::testing
