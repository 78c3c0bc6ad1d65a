// parvex-cli info, run as a program on written drawings and on the corpus.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/jwc_writer.h"
#include "tests/support/jww_fixtures.h"
#include "common/platform/files.h"
#include "tests/support/jww_writer.h"
#include "tests/support/program_run.h"
#include "tests/support/temp_folder.h"

namespace parvex::testing {
namespace {

namespace fs = std::filesystem;

// Joins pieces into one string (avoids a false GCC 12 -Wrestrict warning
// on literal + std::string).
template <class... Parts>
std::string Cat(const Parts&... parts) {
  std::string out;
  (out.append(parts), ...);
  return out;
}

struct RunResult {
  int status = -1;
  std::string out;
  std::string err;
  std::vector<std::string> lines;
};

// A path as an argument of the program, and as the program shows it in
// JSON (a backslash, the separator of Windows, is escaped there).
std::string Arg(const fs::path& p) { return platform::NarrowFromPath(p); }
std::string Json(const fs::path& p) {
  std::string r;
  for (char c : Arg(p)) r += c == '\\' ? std::string("\\\\") : std::string(1, c);
  return r;
}

class CliInfo : public ::testing::Test {
 protected:
  void SetUp() override {
    cli_ = BuiltProgram("parvex-cli");
    if (!fs::exists(cli_)) GTEST_SKIP() << "parvex-cli not built";
  }

  RunResult Run(const std::vector<std::string>& args) {
    const Outcome o = ProgramRun(cli_, args, logs_.Path()).Wait();
    RunResult r;
    r.status = o.status;
    r.out = o.out;
    r.err = o.err;
    std::istringstream lines(r.out);
    for (std::string line; std::getline(lines, line);) {
      if (line.ends_with('\r')) line.pop_back();  // Windows ends lines with CR LF
      r.lines.push_back(line);
    }
    return r;
  }

  RunResult Info(std::vector<std::string> files) {
    files.insert(files.begin(), "info");
    return Run(files);
  }

  fs::path Write(const std::string& name, const std::string& bytes) {
    const fs::path path = dir_ / name;
    EXPECT_TRUE(SaveBytes(path, bytes));
    return path;
  }

  fs::path cli_;
  TempFolder dir_;
  TempFolder logs_;
};

bool Contains(const std::string& haystack, const std::string& needle) {
  return haystack.find(needle) != std::string::npos;
}

TEST_F(CliInfo, ReportsWhatWasReadForJwwAndJws) {
  const fs::path jww = Write("all.jww", WriteJww(MakeAllKindsDrawing(700)));
  const fs::path jws = Write("all.JWS", WriteJws(MakeAllKindsShape(420)));
  const RunResult r = Info({Arg(jww), Arg(jws)});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, "");
  ASSERT_EQ(r.lines.size(), 2u) << r.out;
  const std::string counts =
      "\"stated\": {\"entities\": 14, \"block_definitions\": 2}, "
      "\"drawing\": {\"line\": 2, \"arc\": 2, \"point\": 3, \"text\": 2, \"dimension\": 1, \"solid\": 2, "
      "\"block\": 2}, \"definitions\": {\"count\": 2, \"reached\": 2, \"members\": {\"line\": 1, \"arc\": 1, "
      "\"point\": 0, \"text\": 1, \"dimension\": 0, \"solid\": 0, \"block\": 1}}, \"block_tree_nodes\": 3";
  EXPECT_TRUE(Contains(r.lines[0], Cat("{\"file\": \"", Json(jww), "\", \"kind\": \"jww\", \"version\": 700, "
                                   "\"ok\": true, ", counts))) << r.lines[0];
  EXPECT_TRUE(Contains(r.lines[0], "\"paper\": 3, \"layers_in_use\": [1, 2, 3, 4, 5, 6, 9, 18, 32]}"))
      << r.lines[0];
  EXPECT_TRUE(Contains(r.lines[1], Cat("\"kind\": \"jws\", \"version\": 420, \"ok\": true, ", counts))) << r.lines[1];
  EXPECT_TRUE(Contains(r.lines[1], "\"paper\": null")) << r.lines[1];
}

// The same keys for the DOS editions: no version, no dimensions, solids or
// blocks; the paper code as a JWC file states it, none for a shape; a cut
// file still shows what was read before the cut.
TEST_F(CliInfo, ReportsWhatWasReadForJwcAndJwk) {
  TJwcData drawing = MakeJwcDrawing();
  drawing.Enthd.psize = 2;
  drawing.Enthd.drawWidth = 594;  // 1 mm per file unit on A2
  drawing.EntLine = {JwcLine(10, 10, 20, 10, 17), JwcLine(10, 20, 20, 20, 3)};
  drawing.EntTen = {JwcPoint(5, 5, 3)};
  TJwkData shape = MakeJwkShape(50);
  shape.EntLine = {JwcLine(0, 0, 5000, 0)};
  shape.EntMoji = {JwcText(0, 0, 100, 0, u"A", 3)};
  JwcLayout layout;
  const std::string bytes = WriteJwc(drawing, {}, &layout);
  const fs::path jwc = Write("a.JWC", bytes);
  const fs::path jwk = Write("b.jwk", WriteJwk(shape));
  const fs::path cut = Write("cut.jwc", bytes.substr(0, layout.lines + 30));
  const RunResult r = Info({jwc.string(), jwk.string(), cut.string()});
  EXPECT_EQ(r.status, 1);
  ASSERT_EQ(r.lines.size(), 3u) << r.out;
  EXPECT_TRUE(Contains(r.lines[0], "\"kind\": \"jwc\", \"version\": 0, \"ok\": true, "
                                   "\"stated\": {\"entities\": 3, \"block_definitions\": 0}, "
                                   "\"drawing\": {\"line\": 2, \"arc\": 0, \"point\": 1, \"text\": 0, "
                                   "\"dimension\": 0, \"solid\": 0, \"block\": 0}"))
      << r.lines[0];
  EXPECT_TRUE(Contains(r.lines[0], "\"extents\": [5, 5, 20, 20], \"paper\": 2, "
                                   "\"layers_in_use\": [3, 17]}"))
      << r.lines[0];
  EXPECT_TRUE(Contains(r.lines[1], "\"kind\": \"jwk\", \"version\": 0, \"ok\": true"))
      << r.lines[1];
  EXPECT_TRUE(Contains(r.lines[1], "\"extents\": [0, 0, 100, 0], \"paper\": null")) << r.lines[1];
  EXPECT_TRUE(Contains(r.lines[2], "\"ok\": false, \"error\": \"")) << r.lines[2];
  EXPECT_TRUE(Contains(r.lines[2], "\"line\": 1, \"arc\": 0")) << r.lines[2];
}

TEST_F(CliInfo, ExtentsOfASmallDrawing) {
  TJwwData drawing = MakeJwwDrawing(600);
  TEntJwwTen point;
  point.start_x = 5;
  point.start_y = 7;
  AddEntity(drawing, point);
  const RunResult r = Info({Arg(Write("point.jww", WriteJww(drawing)))});
  ASSERT_EQ(r.lines.size(), 1u);
  EXPECT_TRUE(Contains(r.lines[0], "\"extents\": [-5, -3, 15, 17]")) << r.lines[0];
}

TEST_F(CliInfo, FailuresAreReportedPerFileAndInTheExitStatus) {
  TJwwData drawing = MakeAllKindsDrawing(700);
  JwwLayout layout;
  const std::string bytes = WriteJww(drawing, {}, &layout);
  const fs::path good = Write("good.jww", bytes);
  const fs::path cut = Write("cut.jww", bytes.substr(0, layout.entity_objects[5] + 3));
  const fs::path not_jww = Write("text.jww", "hello, this is not a drawing");
  const fs::path missing = dir_ / "missing.jws";
  const fs::path other = Write("drawing.dxf", "0\nEOF\n");
  const RunResult r = Info({Arg(good), Arg(cut), Arg(not_jww), Arg(missing), Arg(other)});
  EXPECT_EQ(r.status, 1);
  ASSERT_EQ(r.lines.size(), 5u) << r.out;
  EXPECT_TRUE(Contains(r.lines[0], "\"ok\": true")) << r.lines[0];
  EXPECT_FALSE(Contains(r.lines[0], "\"error\""));
  for (size_t i = 1; i < 5; ++i) {
    EXPECT_TRUE(Contains(r.lines[i], "\"ok\": false, \"error\": \"")) << r.lines[i];
  }
  // The cut file still shows what was read before the cut.
  EXPECT_TRUE(Contains(r.lines[1], "\"stated\": {\"entities\": 14")) << r.lines[1];
  EXPECT_TRUE(Contains(r.lines[1], "\"line\": 2, \"arc\": 2, \"point\": 1,")) << r.lines[1];
  EXPECT_TRUE(Contains(r.lines[4], "\"kind\": \"unknown\"")) << r.lines[4];
  for (const fs::path& p : {cut, not_jww, missing, other}) {
    EXPECT_TRUE(Contains(r.err, Cat("parvex-cli info: ", Arg(p), ": "))) << r.err;
  }
  EXPECT_FALSE(Contains(r.err, Arg(good)));
}

TEST_F(CliInfo, PathsAreEscapedAsJsonStrings) {
#ifdef _WIN32
  GTEST_SKIP() << "Windows names hold no quote, backslash or tab";
#endif
  const std::string name = "図面 \"A\"\\b\t.jww";
  const fs::path path = Write(name, WriteJww(MakeJwwDrawing(700)));
  const RunResult r = Info({Arg(path)});
  EXPECT_EQ(r.status, 0) << r.err;
  ASSERT_EQ(r.lines.size(), 1u);
  EXPECT_TRUE(Contains(r.lines[0], "図面 \\\"A\\\"\\\\b\\t.jww\"")) << r.lines[0];
}

TEST_F(CliInfo, UsageAndHelp) {
  struct Case {
    std::vector<std::string> args;
    int status;
    const char* in_out;
    const char* in_err;
  };
  const Case cases[] = {
      {{"--help"}, 0, "parvex-cli info FILE...", ""},
      {{"info", "--help"}, 0, "one JSON object", ""},
      {{}, 2, "", "Usage: parvex-cli"},
      {{"info"}, 2, "", "no file given"},
      {{"info", "--bogus"}, 2, "", "unknown option"},
      {{"frobnicate"}, 2, "", "unknown command"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.args.empty() ? std::string("(none)") : c.args[0] + " ...");
    const RunResult r = Run(c.args);
    EXPECT_EQ(r.status, c.status);
    EXPECT_TRUE(Contains(r.out, c.in_out)) << r.out;
    EXPECT_TRUE(Contains(r.err, c.in_err)) << r.err;
  }
}

TEST_F(CliInfo, ReadsTheCorpus) {
  const fs::path corpus = fs::path(PARVEX_SOURCE_DIR) / ".." / "shared" / "corpus";
  if (!fs::exists(corpus / "jww" / "sample.jww")) GTEST_SKIP() << "corpus absent";
  std::vector<std::string> files{Arg(corpus / "jww" / "sample.jww")};
  for (const auto& entry : fs::directory_iterator(corpus / "jws" / platform::PathFromNarrow("平面")))
    files.push_back(Arg(entry.path()));
  const RunResult r = Info(files);
  EXPECT_EQ(r.status, 0) << r.err;
  ASSERT_EQ(r.lines.size(), files.size());
  for (size_t i = 0; i < files.size(); ++i) {
    EXPECT_TRUE(Contains(r.lines[i], "\"version\": 700, \"ok\": true")) << r.lines[i];
  }
  EXPECT_TRUE(Contains(r.lines[0], "\"kind\": \"jww\"")) << r.lines[0];
  EXPECT_TRUE(Contains(r.lines[0], "\"stated\": {\"entities\": 2539, \"block_definitions\": 20}")) << r.lines[0];
}

}  // namespace
}  // namespace parvex::testing
