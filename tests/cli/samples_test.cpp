// The committed drawings under samples/ are what the generator writes now,
// and parvex-cli reads them.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

namespace fs = std::filesystem;

std::string Slurp(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

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
  const fs::path dir = fs::temp_directory_path() / Cat("parvex-samples-test-", std::to_string(::getpid()));
  const std::string command = Cat("'", generator.string(), "' --samples '", dir.string(), "'");
  ASSERT_EQ(std::system(command.c_str()), 0);
  for (const char* name : {"plan.jww", "parts.jws"}) {
    SCOPED_TRACE(name);
    const std::string committed = Slurp(fs::path(PARVEX_SOURCE_DIR) / "samples" / name);
    ASSERT_FALSE(committed.empty());
    EXPECT_TRUE(committed == Slurp(dir / name))
        << "samples/ is out of date: run parvex-make-samples --samples samples";
  }
  std::error_code ec;
  fs::remove_all(dir, ec);
}

}  // namespace
