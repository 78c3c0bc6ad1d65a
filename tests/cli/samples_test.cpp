// The committed drawings under samples/ are what the generator writes now,
// and parvex-cli reads them.
#include <gtest/gtest.h>

#include <filesystem>

#include "common/platform/files.h"
#include "tests/support/program_run.h"
#include "tests/support/temp_folder.h"

namespace {

namespace fs = std::filesystem;
using parvex::testing::BuiltProgram;
using parvex::testing::Outcome;
using parvex::testing::ProgramRun;
using parvex::testing::TempFolder;
namespace platform = parvex::platform;

TEST(Samples, CommittedFilesMatchTheGenerator) {
  const fs::path generator = BuiltProgram("parvex-make-samples");
  if (!fs::exists(generator)) GTEST_SKIP() << "parvex-make-samples not built";
  const TempFolder dir;
  const TempFolder logs;
  const Outcome made =
      ProgramRun(generator, {"--samples", platform::NarrowFromPath(dir.Path())}, logs.Path()).Wait();
  ASSERT_EQ(made.status, 0) << made.err;
  for (const char* name : {"plan.jww", "parts.jws", "sheets.jww"}) {
    SCOPED_TRACE(name);
    const std::string committed = TempFolder::Read(fs::path(PARVEX_SOURCE_DIR) / "samples" / name);
    ASSERT_FALSE(committed.empty());
    EXPECT_TRUE(committed == TempFolder::Read(dir / name))
        << "samples/ is out of date: run parvex-make-samples --samples samples";
  }
}

}  // namespace
