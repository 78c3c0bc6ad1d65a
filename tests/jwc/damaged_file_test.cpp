// Damaged and hostile JWC and JWK files: cut files and counts that are
// negative or larger than the file. Each fails with a reason, keeps what
// was read before the fault and allocates no more than the file holds.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <span>

#include "read_helpers.h"
#include "tests/support/jwc_fixtures.h"
#include "tests/support/jwc_writer.h"

namespace parvex::testing {
namespace {

// The JWC or JWK model, read from `bytes`; Model is TJwcData or TJwkData.
template <class Model>
Status Read(Model& m, const std::string& bytes) {
  return m.ReadBytes(AsBytes(bytes));
}

// Reads `bytes`, which must fail with a reason containing `reason`.
template <class Model>
void ExpectFailure(Model& m, const std::string& bytes, const char* reason) {
  const Status read = Read(m, bytes);
  ASSERT_FALSE(read);
  EXPECT_NE(read.reason().find(reason), std::string::npos) << read.reason();
}

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
void ExpectCuts(const std::string& bytes, std::span<const Cut> cuts) {
  for (const Cut& c : cuts) {
    SCOPED_TRACE(c.name);
    Model m;
    ExpectFailure(m, bytes.substr(0, c.at), c.reason);
    EXPECT_EQ(m.lineN(), c.kept.lines);
    EXPECT_EQ(m.arcN(), c.kept.arcs);
    EXPECT_EQ(m.mojiN(), c.kept.texts);
    EXPECT_EQ(m.tenN(), c.kept.points);
  }
  Model whole;
  EXPECT_TRUE(Read(whole, bytes));
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
  ExpectCuts<TJwcData>(bytes, cuts);
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
  ExpectCuts<TJwkData>(bytes, cuts);
}

struct Claim {
  const char* name;
  std::optional<int64_t> JwcWriteOptions::*count;
  int64_t value;
  const char* reason;
};

constexpr int64_t kMin = std::numeric_limits<int32_t>::min();
constexpr int64_t kMax = std::numeric_limits<int32_t>::max();

// Claims of both formats, then one of `kind`'s own; `write` writes the
// all-kinds drawing or shape under the given options.
template <class Model, class Write>
void ExpectClaimsFail(const Claim& own, Write write) {
  const Claim claims[] = {
      {"negative lines", &JwcWriteOptions::stated_lines, -1, "negative number of lines (-1)"},
      {"negative arcs", &JwcWriteOptions::stated_arcs, -7, "negative number of arcs (-7)"},
      {"most negative texts", &JwcWriteOptions::stated_texts, kMin, "negative number of texts"},
      {"negative points", &JwcWriteOptions::stated_points, -1, "negative number of points"},
      {"2^31-1 lines", &JwcWriteOptions::stated_lines, kMax, "ends inside the lines (2147483647 stated"},
      {"2^31-1 arcs", &JwcWriteOptions::stated_arcs, kMax, "ends inside the arcs"},
      {"2^31-1 texts", &JwcWriteOptions::stated_texts, kMax, "ends inside the texts"},
      {"2^31-1 points", &JwcWriteOptions::stated_points, kMax, "ends inside the points"},
      own,
  };
  for (const Claim& c : claims) {
    SCOPED_TRACE(c.name);
    JwcWriteOptions options;
    options.*c.count = c.value;
    const std::string bytes = write(options);
    Model m;
    ExpectFailure(m, bytes, c.reason);
    // No array ever holds more records than the file's bytes could.
    EXPECT_LE(m.EntLine.capacity(), bytes.size() / kJwcLineBytes);
    EXPECT_LE(m.EntArc.capacity(), bytes.size() / kJwcArcBytes);
    EXPECT_LE(m.EntMoji.capacity(), bytes.size() / kJwcTextBytes);
    EXPECT_LE(m.EntTen.capacity(), bytes.size() / kJwcPointBytes);
  }
}

TEST(JwcDamaged, NegativeAndOversizedCountsFailWithoutLargeAllocation) {
  // A pool of almost 1 MiB stated in a file of a few kilobytes.
  const Claim pool{"text pool beyond the file", &JwcWriteOptions::stated_pool, 0xF0000,
                   "text pool (983040 bytes stated"};
  ExpectClaimsFail<TJwcData>(pool, [](const JwcWriteOptions& o) { return WriteJwc(MakeAllKindsJwc(), o); });
}

TEST(JwkDamaged, NegativeAndOversizedCountsFailWithoutLargeAllocation) {
  const Claim pool{"strSpace 2^31-1", &JwcWriteOptions::stated_pool, kMax, "text pool"};
  ExpectClaimsFail<TJwkData>(pool, [](const JwcWriteOptions& o) { return WriteJwk(MakeAllKindsJwk(), o); });
}

}  // namespace
}  // namespace parvex::testing
