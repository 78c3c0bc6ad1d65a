// Damaged and hostile JWC and JWK files: cut files and counts that are
// negative or larger than the file. Each fails with a reason, keeps what
// was read before the fault and allocates no more than the file holds.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "read_helpers.h"
#include "tests/support/jwc_fixtures.h"
#include "tests/support/jwc_writer.h"

namespace parvex::testing {
namespace {

struct Counts {
  int lines, arcs, texts, points;
};

struct Cut {
  const char* name;
  size_t at;
  Counts kept;
  const char* reason;
};

template <class Model>
void ExpectCounts(const Model& m, const Counts& c) {
  EXPECT_EQ(m.lineN(), c.lines);
  EXPECT_EQ(m.arcN(), c.arcs);
  EXPECT_EQ(m.mojiN(), c.texts);
  EXPECT_EQ(m.tenN(), c.points);
}

TEST(JwcDamaged, CutFilesFailAndKeepTheRecordsBeforeTheCut) {
  JwcLayout at;
  const std::string bytes = WriteJwc(MakeAllKindsJwc(), {}, &at);
  ASSERT_EQ(MakeAllKindsJwc().lineN(), 6);
  const Cut cuts[] = {
      {"empty file", 0, {0, 0, 0, 0}, "not a JWC drawing"},
      {"inside the identification", 19, {0, 0, 0, 0}, "not a JWC drawing"},
      {"inside header block 1", 150, {0, 0, 0, 0}, "not a JWC drawing"},
      {"before header block 2", 200, {0, 0, 0, 0}, "JWC header is cut short"},
      {"inside header block 4", 799, {0, 0, 0, 0}, "JWC header is cut short"},
      {"before the tables", 800, {0, 0, 0, 0}, "tables"},
      {"inside the tables", at.tables + 1000, {0, 0, 0, 0}, "tables"},
      {"inside the second line", at.lines + 27, {1, 0, 0, 0}, "lines (6 stated, 1 present)"},
      {"inside the arcs", at.arcs + 40, {6, 1, 0, 0}, "arcs (3 stated, 1 present)"},
      {"inside the texts", at.texts + 24, {6, 3, 1, 0}, "texts (3 stated, 1 present)"},
      {"inside the pool", at.pool + 2, {6, 3, 3, 0}, "text pool"},
      {"inside the points", at.points + 13, {6, 3, 3, 1}, "points (2 stated, 1 present)"},
      {"inside the names", at.names + 100, {6, 3, 3, 2}, "layer names"},
      {"one byte short", at.end - 1, {6, 3, 3, 2}, "layer names"},
  };
  for (const Cut& c : cuts) {
    SCOPED_TRACE(c.name);
    TJwcData d;
    const Status read = ReadJwc(d, bytes.substr(0, c.at));
    ASSERT_FALSE(read);
    EXPECT_NE(read.reason().find(c.reason), std::string::npos) << read.reason();
    ExpectCounts(d, c.kept);
  }
  TJwcData whole;
  EXPECT_TRUE(ReadJwc(whole, bytes));
}

TEST(JwkDamaged, CutFilesFailAndKeepTheRecordsBeforeTheCut) {
  JwcLayout at;
  const std::string bytes = WriteJwk(MakeAllKindsJwk(), {}, &at);
  const Cut cuts[] = {
      {"empty file", 0, {0, 0, 0, 0}, "not a JWK shape"},
      {"inside header block 1", 199, {0, 0, 0, 0}, "not a JWK shape"},
      {"before header block 2", 200, {0, 0, 0, 0}, "JWK header is cut short"},
      {"inside the lines", at.lines + 1, {0, 0, 0, 0}, "lines (3 stated, 0 present)"},
      {"inside the arcs", at.arcs + 33, {3, 1, 0, 0}, "arcs (2 stated, 1 present)"},
      {"inside the points", at.points + 13, {3, 2, 0, 1}, "points (2 stated, 1 present)"},
      {"inside the texts", at.texts + 1, {3, 2, 0, 2}, "texts (2 stated, 0 present)"},
      {"inside the pool", at.pool + 1, {3, 2, 2, 2}, "text pool"},
      {"one byte short", at.end - 1, {3, 2, 2, 2}, "text pool"},
  };
  for (const Cut& c : cuts) {
    SCOPED_TRACE(c.name);
    TJwkData s;
    const Status read = ReadJwk(s, bytes.substr(0, c.at));
    ASSERT_FALSE(read);
    EXPECT_NE(read.reason().find(c.reason), std::string::npos) << read.reason();
    ExpectCounts(s, c.kept);
  }
}

// No array ever holds more records than the file's bytes could.
template <class Model>
void ExpectNoLargeAllocation(const Model& m, size_t fileBytes) {
  EXPECT_LE(m.EntLine.capacity(), fileBytes / kJwcLineBytes);
  EXPECT_LE(m.EntArc.capacity(), fileBytes / kJwcArcBytes);
  EXPECT_LE(m.EntMoji.capacity(), fileBytes / kJwcTextBytes);
  EXPECT_LE(m.EntTen.capacity(), fileBytes / kJwcPointBytes);
}

struct Claim {
  const char* name;
  std::optional<int64_t> JwcWriteOptions::*count;
  int64_t value;
  const char* reason;
};

constexpr int64_t kMin = std::numeric_limits<int32_t>::min();
constexpr int64_t kMax = std::numeric_limits<int32_t>::max();

const Claim kClaims[] = {
    {"negative lines", &JwcWriteOptions::stated_lines, -1, "negative number of lines (-1)"},
    {"negative arcs", &JwcWriteOptions::stated_arcs, -7, "negative number of arcs (-7)"},
    {"most negative texts", &JwcWriteOptions::stated_texts, kMin, "negative number of texts"},
    {"negative points", &JwcWriteOptions::stated_points, -1, "negative number of points"},
    {"2^31-1 lines", &JwcWriteOptions::stated_lines, kMax, "ends inside the lines (2147483647 stated"},
    {"2^31-1 arcs", &JwcWriteOptions::stated_arcs, kMax, "ends inside the arcs"},
    {"2^31-1 texts", &JwcWriteOptions::stated_texts, kMax, "ends inside the texts"},
    {"2^31-1 points", &JwcWriteOptions::stated_points, kMax, "ends inside the points"},
};

TEST(JwcDamaged, NegativeAndOversizedCountsFailWithoutLargeAllocation) {
  std::vector<Claim> claims(std::begin(kClaims), std::end(kClaims));
  // A pool of almost 1 MiB stated in a file of a few kilobytes.
  claims.push_back({"text pool beyond the file", &JwcWriteOptions::stated_pool, 0xF0000,
                    "text pool (983040 bytes stated"});
  for (const Claim& c : claims) {
    SCOPED_TRACE(c.name);
    JwcWriteOptions options;
    options.*c.count = c.value;
    const std::string bytes = WriteJwc(MakeAllKindsJwc(), options);
    TJwcData d;
    const Status read = ReadJwc(d, bytes);
    ASSERT_FALSE(read);
    EXPECT_NE(read.reason().find(c.reason), std::string::npos) << read.reason();
    ExpectNoLargeAllocation(d, bytes.size());
  }
}

TEST(JwkDamaged, NegativeAndOversizedCountsFailWithoutLargeAllocation) {
  std::vector<Claim> claims(std::begin(kClaims), std::end(kClaims));
  claims.push_back({"strSpace 2^31-1", &JwcWriteOptions::stated_pool, kMax, "text pool"});
  for (const Claim& c : claims) {
    SCOPED_TRACE(c.name);
    JwcWriteOptions options;
    options.*c.count = c.value;
    const std::string bytes = WriteJwk(MakeAllKindsJwk(), options);
    TJwkData s;
    const Status read = ReadJwk(s, bytes);
    ASSERT_FALSE(read);
    EXPECT_NE(read.reason().find(c.reason), std::string::npos) << read.reason();
    ExpectNoLargeAllocation(s, bytes.size());
  }
}

}  // namespace
}  // namespace parvex::testing
