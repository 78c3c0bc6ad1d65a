// parvex-cli convert as a program, where names, other processes and
// signals get in the way: a result line per drawing whatever its name,
// names that are not UTF-8, two commands writing into one folder, an
// interrupted conversion, and a settings file that cannot be used.
#include <gtest/gtest.h>

#include <signal.h>

#include <filesystem>
#include <string>

#include "common/platform/files.h"
#include "tests/support/jww_writer.h"
#include "tests/support/program_run.h"
#include "tests/support/stress_drawings.h"
#include "tests/support/temp_folder.h"

namespace parvex::testing {
namespace {

namespace fs = std::filesystem;

// A path as an argument of the program.
std::string Arg(const fs::path& p) { return platform::NarrowFromPath(p); }

// The end of a line the program prints: Windows ends it with CR LF.
#ifdef _WIN32
constexpr char kLineEnd[] = "\r\n";
#else
constexpr char kLineEnd[] = "\n";
#endif

class CliConvert : public ::testing::Test {
 protected:
  void SetUp() override {
    cli_ = BuiltProgram("parvex-cli");
    ASSERT_TRUE(fs::exists(cli_));
  }

  fs::path Drawing(const std::string& name, const TJwwData& d) {
    const fs::path p = in_.Path() / platform::PathFromNarrow(name);
    EXPECT_TRUE(SaveBytes(p, WriteJww(d)));
    return p;
  }

  Outcome Convert(std::vector<std::string> args, int slot = 0) {
    args.insert(args.begin(), "convert");
    return ProgramRun(cli_, args, logs_.Path(), slot).Wait();
  }

  fs::path cli_;
  TempFolder in_;
  TempFolder out_;
  TempFolder logs_;
};

// A newline in a name cannot split the result line (and so cannot forge
// one); control characters and bytes that are not UTF-8 show as \xNN, and
// such a name converts like any other. (Windows allows neither control
// characters below 32, nor ">", nor names that are not Unicode.)
TEST_F(CliConvert, ResultLinesShowEveryNameOnOneLine) {
  struct Case {
    std::string name;
    std::string shown;
    bool windowsName;
  } cases[] = {
      {"a\nb.jww -> c.jww", "a\\x0ab.jww -> c.jww", false},
      {"tab\there\r\x1b[2J.jww", "tab\\x09here\\x0d\\x1b[2J.jww", false},
      {"pl\xff" "an.jww", "pl\\xffan.jww", false},
      {"\xe5\x9b\xb3\xe9\x9d\xa2.jww", "\xe5\x9b\xb3\xe9\x9d\xa2.jww", true},  // 図面: stays
      {"c1\xc2\x85.jww", "c1\\xc2\\x85.jww", true},
  };
  for (const Case& c : cases) {
#ifdef _WIN32
    if (!c.windowsName) continue;
#endif
    SCOPED_TRACE(c.shown);
    const fs::path src = Drawing(c.name, ManyLinesDrawing(3));
    const Outcome o = Convert({Arg(src), "-o", Arg(out_.Path())});
    EXPECT_EQ(o.status, 0) << o.out << o.err;
    fs::path dxf = out_.Path() / platform::PathFromNarrow(c.name);
    dxf.replace_extension(".dxf");
    EXPECT_TRUE(fs::exists(dxf));
    const std::string shownDxf = c.shown.substr(0, c.shown.size() - 4) + ".dxf";
    EXPECT_EQ(o.out, Arg(in_ / "") + c.shown + " -> " + Arg(out_ / "") + shownDxf + kLineEnd);
  }
}

// Two commands converting the same drawing into one folder at once: each
// reports a file that exists, under names of their own.
TEST_F(CliConvert, TwoCommandsIntoOneFolder) {
  const fs::path src = Drawing("plan.jww", ManyLinesDrawing(20000));
  for (int round = 0; round < 4; ++round) {
    SCOPED_TRACE(round);
    TempFolder out;
    ProgramRun a(cli_, {"convert", Arg(src), "-o", Arg(out.Path())}, logs_.Path(), 0);
    ProgramRun b(cli_, {"convert", Arg(src), "-o", Arg(out.Path())}, logs_.Path(), 1);
    const Outcome first = a.Wait();
    const Outcome second = b.Wait();
    EXPECT_EQ(first.status, 0) << first.out;
    EXPECT_EQ(second.status, 0) << second.out;
    for (const Outcome* o : {&first, &second}) {
      const size_t arrow = o->out.find(" -> ");
      ASSERT_NE(arrow, std::string::npos) << o->out;
      const size_t end = o->out.size() - std::string(kLineEnd).size();
      EXPECT_TRUE(fs::exists(platform::PathFromNarrow(o->out.substr(arrow + 4, end - arrow - 4)))) << o->out;
    }
    EXPECT_NE(first.out, second.out);
    EXPECT_EQ(EntriesOf(out.Path()), (std::vector<std::string>{"plan.dxf", "plan~1.dxf"}));
  }
}

// Interrupted while writing, the command takes its unfinished file with it.
// (On Windows however the process ends; see the test of ParvexSub.)
#ifndef _WIN32
TEST_F(CliConvert, InterruptedConversionLeavesNoFile) {
  const fs::path src = Drawing("plan.jww", ManyLinesDrawing(300000));
  for (int sig : {SIGINT, SIGTERM}) {
    SCOPED_TRACE(sig);
    ProgramRun run(cli_, {"convert", src.string(), "-o", out_.Path().string()}, logs_.Path());
    ASSERT_TRUE(AwaitEntry(out_.Path(), ".")) << "the writer never started";
    kill(run.Pid(), sig);
    EXPECT_EQ(run.Wait().status, 128 + sig);
    EXPECT_TRUE(EntriesOf(out_.Path()).empty());
  }
}
#endif

TEST_F(CliConvert, SettingsFileWithUnknownDxfVersionIsAUsageError) {
  std::string settings = "\xEF\xBB\xBF";
  for (int line = 0; line < 33; ++line) settings += (line == 14 ? "9" : "0") + std::string("\r\n");
  const fs::path dat = in_.Write("Parvex.dat", settings);
  const fs::path src = Drawing("plan.jww", ManyLinesDrawing(3));
  const Outcome o = Convert({"--settings", dat.string(), src.string()});
  EXPECT_EQ(o.status, 2);
  EXPECT_NE(o.err.find("line 15 (DXF version): 9"), std::string::npos) << o.err;
  EXPECT_EQ(EntriesOf(in_.Path()), (std::vector<std::string>{"Parvex.dat", "plan.jww"}));
}

}  // namespace
}  // namespace parvex::testing
