// The committed drawings under samples/ are what the generator writes now,
// and parvex-cli reads them.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "tests/support/temp_folder.h"

namespace {

namespace fs = std::filesystem;
using parvex::testing::TempFolder;

// Joins pieces into one string (avoids a false GCC 12 -Wrestrict warning
// on literal + std::string).
template <class... Parts>
std::string Cat(const Parts&... parts) {
  std::string out;
  (out.append(parts), ...);
  return out;
}

TEST(Samples, CommittedFilesMatchTheGenerator) {
  const fs::path generator = fs::path(PARVEX_BIN_DIR) / "parvex-make-samples";
  if (!fs::exists(generator)) GTEST_SKIP() << "parvex-make-samples not built";
  const TempFolder dir;
  const std::string command = Cat("'", generator.string(), "' --samples '", dir.Path().string(), "'");
  ASSERT_EQ(std::system(command.c_str()), 0);
  for (const char* name : {"plan.jww", "parts.jws", "sheets.jww"}) {
    SCOPED_TRACE(name);
    const std::string committed = TempFolder::Read(fs::path(PARVEX_SOURCE_DIR) / "samples" / name);
    ASSERT_FALSE(committed.empty());
    EXPECT_TRUE(committed == TempFolder::Read(dir / name))
        << "samples/ is out of date: run parvex-make-samples --samples samples";
  }
}

}  // namespace
