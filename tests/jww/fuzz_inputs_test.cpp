// The inputs of the fuzz targets (fuzz/), read in the suite. The reader
// seeds are the test writer's drawings as committed and read back with what
// they state; every recorded input that once broke a target is now read by
// both readers to a clear end: a drawing that holds what it states, or a
// failure with a known reason, the same on every read.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "read_bytes.h"
#include "tests/support/jww_fixtures.h"
#include "tests/support/jww_writer.h"
#include "tests/support/sample_drawings.h"
#include "tests/support/temp_folder.h"

namespace parvex::testing {
namespace {

namespace fs = std::filesystem;

const fs::path kFuzz = fs::path(PARVEX_SOURCE_DIR) / "fuzz";

// Regular files below `dir` at any depth, without the notes (*.md).
std::vector<fs::path> FilesBelow(const fs::path& dir) {
  std::vector<fs::path> files;
  std::error_code ec;
  for (auto it = fs::recursive_directory_iterator(dir, ec); !ec && it != fs::recursive_directory_iterator();
       it.increment(ec)) {
    if (it->is_regular_file() && it->path().extension() != ".md") files.push_back(it->path());
  }
  std::sort(files.begin(), files.end());
  return files;
}

// What one read of some bytes gave.
struct Outcome {
  bool ok = false;
  std::string reason;
  int32_t stated_entities = 0;
  int32_t stated_block_defs = 0;
  size_t entities = 0;
  size_t empty_entries = 0;
  size_t block_defs = 0;
  size_t images = 0;
  DrawingExtents extents;

  bool operator==(const Outcome& o) const {
    return ok == o.ok && reason == o.reason && stated_entities == o.stated_entities &&
           stated_block_defs == o.stated_block_defs && entities == o.entities &&
           empty_entries == o.empty_entries && block_defs == o.block_defs && images == o.images &&
           extents.ExtMinX == o.extents.ExtMinX && extents.ExtMinY == o.extents.ExtMinY &&
           extents.ExtMaxX == o.extents.ExtMaxX && extents.ExtMaxY == o.extents.ExtMaxY;
  }
};

template <class Model>
Outcome Read(const std::string& bytes, Model& d) {
  d.BindImageExr = true;  // parse the image section, write nothing
  Outcome o;
  const Status read = d.ReadBytes(AsBytes(bytes));
  o.ok = read.ok();
  o.reason = read.reason();
  o.stated_entities = d.Enthd.n1;
  o.stated_block_defs = d.Enthd.n2;
  o.entities = d.EntNo.size();
  o.empty_entries = static_cast<size_t>(
      std::count_if(d.EntNo.begin(), d.EntNo.end(), [](const TEntJwwNo& no) { return no.EntType == kJwwNone; }));
  o.block_defs = d.EntBlockDef.size();
  o.images = d.BindImage.size();
  d.GetMinMaxZahyo(o.extents);
  return o;
}

Outcome ReadJwwOutcome(const std::string& bytes) {
  TJwwData d;
  return Read(bytes, d);
}

Outcome ReadJwsOutcome(const std::string& bytes) {
  TJwsData d;
  return Read(bytes, d);
}

// A successful read holds every entity and definition it states; a failed
// one names a known reason. Either way the extents are usable.
void ExpectClearOutcome(const Outcome& o) {
  static const std::set<std::string> kReasons = {"File I/O Error",    "JWW-Header Error", "JWW-Version Error",
                                                 "JWS-Header Error", "JWS-Version Error"};
  if (o.ok) {
    EXPECT_EQ(o.reason, "");
    EXPECT_EQ(o.entities, static_cast<size_t>(o.stated_entities));
    EXPECT_EQ(o.empty_entries, 0u);
    EXPECT_EQ(o.block_defs, static_cast<size_t>(o.stated_block_defs));
  } else {
    EXPECT_TRUE(kReasons.count(o.reason)) << "reason: \"" << o.reason << "\"";
  }
  const DrawingExtents& e = o.extents;
  for (double v : {e.ExtMinX, e.ExtMinY, e.ExtMaxX, e.ExtMaxY}) EXPECT_TRUE(std::isfinite(v)) << v;
  EXPECT_LE(e.ExtMinX, e.ExtMaxX);
  EXPECT_LE(e.ExtMinY, e.ExtMaxY);
}

TEST(FuzzSeeds, CommittedSeedsAreTheWritersDrawings) {
  for (const FuzzSeed& seed : FuzzSeeds()) {
    SCOPED_TRACE(seed.path);
    const fs::path file = kFuzz / "corpus" / seed.path;
    ASSERT_TRUE(fs::exists(file));
    EXPECT_TRUE(TempFolder::Read(file) == seed.bytes)
        << "fuzz/corpus is out of date: run parvex-make-samples --seeds fuzz/corpus";
  }
}

TEST(FuzzSeeds, ReadBackWithWhatTheyState) {
  for (const FuzzSeed& seed : FuzzSeeds()) {
    SCOPED_TRACE(seed.path);
    const bool jws = fs::path(seed.path).extension() == ".jws";
    TJwwData drawing;
    TJwsData shape;
    const Outcome o = jws ? Read(seed.bytes, shape) : Read(seed.bytes, drawing);
    ASSERT_TRUE(o.ok) << o.reason;
    ExpectClearOutcome(o);
    EXPECT_EQ(CompareEntities(seed.entities, jws ? static_cast<JwwEntityModel&>(shape) : drawing), "");
    EXPECT_EQ(o.stated_entities, static_cast<int32_t>(seed.entities.EntNo.size()));
    EXPECT_EQ(o.stated_block_defs, static_cast<int32_t>(seed.entities.EntBlockDef.size()));
    EXPECT_EQ(o.images, static_cast<size_t>(seed.images));
  }
}

// Seeds added beside the writer's (by hand or from a fuzzing run) must be
// drawings too: a seed the reader refuses starts the fuzzer nowhere.
TEST(FuzzSeeds, EveryReaderSeedReads) {
  for (const char* kind : {"jww", "jws"}) {
    const auto files = FilesBelow(kFuzz / "corpus" / kind);
    EXPECT_FALSE(files.empty()) << kind;
    for (const fs::path& file : files) {
      SCOPED_TRACE(file.string());
      const std::string bytes = TempFolder::Read(file);
      const Outcome o = std::string(kind) == "jww" ? ReadJwwOutcome(bytes) : ReadJwsOutcome(bytes);
      EXPECT_TRUE(o.ok) << o.reason;
      ExpectClearOutcome(o);
    }
  }
}

TEST(FuzzRegressions, RecordedInputsEndClearlyAndTheSameEveryTime) {
  const auto files = FilesBelow(kFuzz / "regressions");
  for (const fs::path& file : files) {
    SCOPED_TRACE(file.string());
    const std::string bytes = TempFolder::Read(file);
    for (auto read : {ReadJwwOutcome, ReadJwsOutcome}) {
      const Outcome first = read(bytes);
      ExpectClearOutcome(first);
      EXPECT_TRUE(read(bytes) == first);
    }
  }
  if (files.empty()) GTEST_SKIP() << "no recorded inputs under fuzz/regressions";
}

}  // namespace
}  // namespace parvex::testing
