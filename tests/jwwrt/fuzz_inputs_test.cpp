// The fuzzer seeds must read as drawings; the inputs that once broke a
// reader must now be handled (read or refused) without crashing.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

#include "read_helpers.h"

namespace parvex::testing {
namespace {

namespace fs = std::filesystem;

std::vector<fs::path> FilesIn(const fs::path& dir) {
  std::vector<fs::path> files;
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(dir, ec))
    if (entry.is_regular_file() && entry.path().extension() != ".md") files.push_back(entry.path());
  std::sort(files.begin(), files.end());
  return files;
}

std::string Slurp(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

// Reads `bytes` with the reader for `kind` ("jww" or "jws").
bool Read(const std::string& kind, const std::string& bytes) {
  if (kind == "jww") {
    TJwwData d;
    d.BindImageExr = true;  // parse the image section, write nothing
    const bool ok = ReadJww(d, bytes);
    DrawingExtents extents;
    d.GetMinMaxZahyo(extents);
    return ok;
  }
  TJwsData d;
  const bool ok = ReadJws(d, bytes);
  DrawingExtents extents;
  d.GetMinMaxZahyo(extents);
  return ok;
}

TEST(FuzzInputs, SeedsReadAsDrawings) {
  for (const char* kind : {"jww", "jws"}) {
    const auto files = FilesIn(fs::path(PARVEX_SOURCE_DIR) / "fuzz" / "corpus" / kind);
    EXPECT_FALSE(files.empty()) << kind;
    for (const fs::path& file : files) EXPECT_TRUE(Read(kind, Slurp(file))) << file;
  }
}

TEST(FuzzInputs, FormerCrashesAreHandled) {
  size_t seen = 0;
  for (const char* kind : {"jww", "jws"}) {
    for (const fs::path& file : FilesIn(fs::path(PARVEX_SOURCE_DIR) / "tests" / "jwwrt" / "fuzz_regressions" / kind)) {
      SCOPED_TRACE(file.string());
      Read(kind, Slurp(file));
      ++seen;
    }
  }
  if (seen == 0) GTEST_SKIP() << "no recorded crash inputs";
}

}  // namespace
}  // namespace parvex::testing
