// parvex-cli convert, run as a program: result names, never replacing a
// file, one line per drawing, exit status, options and settings files.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include "conversion_fixture.h"
#include "tests/dxfaudit/dxf_audit.h"
#include "tests/support/image_files.h"
#include "tests/support/jww_writer.h"
#include "tests/support/stress_drawings.h"

namespace parvex::testing {
namespace {

namespace fs = std::filesystem;

struct CliRun {
  int status = -1;
  std::string out;
};

std::string Quote(const std::string& s) {
  std::string q = "'";
  for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return q + "'";
}

// `env`: variable assignments put before the command ("TMPDIR=...").
CliRun Cli(const std::string& args, const std::string& env = "") {
  const std::string cmd =
      env + " " + Quote(PARVEX_BIN_DIR "/parvex-cli") + " convert " + args + " 2>/dev/null";
  CliRun r;
  FILE* p = popen(cmd.c_str(), "r");
  if (!p) return r;
  char buf[4096];
  size_t n = 0;
  while ((n = fread(buf, 1, sizeof buf, p)) > 0) r.out.append(buf, n);
  const int st = pclose(p);
  r.status = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
  return r;
}

std::string ReadAll(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

class CliConvert : public ConversionTest {
 protected:
  fs::path Drawing(const std::string& name) {
    TJwwData d = MakeColouredDrawing();
    AddEntity(d, Line(Attr(0, 0, 1, 1), 0, 0, 10, 0));
    return Save(d, name);
  }
};

TEST_F(CliConvert, BranchNumbersInsteadOfReplacingAndOneLinePerDrawing) {
  const fs::path jww = Drawing("plan.jww");
  TJwsData shape = MakeJwsShape(600);
  AddEntity(shape, Line(Attr(0, 0, 1, 1), 0, 0, 10, 0));
  const fs::path jws = Save(shape, "plan.jws");
  const fs::path out = dir_ / "out";
  fs::create_directories(out);
  {
    std::ofstream(out / "plan.dxf") << "keep me";
  }
  const CliRun r = Cli("--dxf 2000 -o " + Quote(out.string()) + " " + Quote(jww.string()) + " " +
                    Quote(jws.string()));
  EXPECT_EQ(r.status, 0) << r.out;
  EXPECT_EQ(ReadAll(out / "plan.dxf"), "keep me");
  EXPECT_EQ(r.out, jww.string() + " -> " + (out / "plan~1.dxf").string() + "\n" + jws.string() +
                       " -> " + (out / "plan~2.dxf").string() + "\n");
  EXPECT_NE(ReadAll(out / "plan~1.dxf").find("AC1015"), std::string::npos);
  EXPECT_NE(ReadAll(out / "plan~2.dxf").find("AC1015"), std::string::npos);
}

TEST_F(CliConvert, FailuresAreReportedAndTheRestConverts) {
  const fs::path good = Drawing("good.jww");
  const fs::path bad = dir_ / "bad.jww";
  {
    std::ofstream(bad) << "not a drawing";
  }
  const fs::path missing = dir_ / "missing.jww";
  const CliRun r = Cli(Quote(bad.string()) + " " + Quote(missing.string()) + " " +
                    Quote(good.string()));
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.out.find(bad.string() + ": failed: "), std::string::npos) << r.out;
  EXPECT_NE(r.out.find(missing.string() + ": failed: "), std::string::npos) << r.out;
  // Without -o the result lies beside its drawing.
  EXPECT_NE(r.out.find(good.string() + " -> " + (dir_ / "good.dxf").string()), std::string::npos);
  EXPECT_TRUE(fs::exists(dir_ / "good.dxf"));
  EXPECT_FALSE(fs::exists(dir_ / "bad.dxf"));
}

TEST_F(CliConvert, UsageErrors) {
  const std::string file = Quote(Drawing("u.jww").string());
  for (const std::string& args :
       {std::string(""), "--dxf r13 " + file, "--layer-group 16 " + file, "--points star " + file,
        "--point-radius abc " + file, "--frobnicate " + file, std::string("-o")}) {
    EXPECT_EQ(Cli(args).status, 2) << args;
  }
  EXPECT_FALSE(fs::exists(dir_ / "u.dxf"));
  const CliRun help = Cli("--help");
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.out.find("--layer-names"), std::string::npos);
}

TEST_F(CliConvert, SettingsFileAndOptionsThatOverrideIt) {
  const fs::path file = Drawing("s.jww");
  // A settings file as the launcher writes it: line 14 is the DXF version
  // (2 = 2007), line 16 the layer naming (1 = layer name).
  std::string dat = "\xEF\xBB\xBF";
  for (int line = 0; line < 33; ++line) {
    dat += line == 14 ? "2" : line == 16 ? "1" : line == 20 ? "0.5" : "0";
    dat += "\r\n";
  }
  const fs::path settings = dir_ / "Parvex.dat";
  {
    std::ofstream(settings, std::ios::binary) << dat;
  }
  const fs::path a = dir_ / "a";
  const fs::path b = dir_ / "b";
  EXPECT_EQ(Cli("--settings " + Quote(settings.string()) + " -o " + Quote(a.string()) + " " +
                Quote(file.string()))
                .status,
            0);
  EXPECT_EQ(Cli("--dxf r12 --settings " + Quote(settings.string()) + " -o " + Quote(b.string()) +
                " " + Quote(file.string()))
                .status,
            0);
  EXPECT_NE(ReadAll(a / "s.dxf").find("AC1021"), std::string::npos);
  EXPECT_NE(ReadAll(b / "s.dxf").find("AC1009"), std::string::npos);
  // Layer names from the settings file: an unnamed layer becomes 0-0.
  EXPECT_EQ(ReadDxfPairs(a / "s.dxf").OfType("LINE").at(0)->Str(8), "0-0");
  EXPECT_EQ(Cli("--settings " + Quote((dir_ / "none.dat").string()) + " " + Quote(file.string()))
                .status,
            2);
}

// Carried images are unpacked into a private folder below $TMPDIR, which
// is gone when the command ends; the copies beside the results stay.
TEST_F(CliConvert, CarriedImagesAreCopiedAndNotLeftBehind) {
  JwwWriteOptions options;
  options.images = {{u"photo.png", PngImage(40, 30), -1}};
  const fs::path drawing = dir_ / "pic.jww";
  ASSERT_TRUE(SaveBytes(drawing, WriteJww(ImageTextsDrawing({u"%temp%photo.png"}), options)));
  const fs::path tmp = dir_ / "tmp";
  const fs::path out = dir_ / "out";
  fs::create_directories(tmp);
  const CliRun r = Cli("--dxf 2007 -o " + Quote(out.string()) + " " + Quote(drawing.string()),
                       "TMPDIR=" + Quote(tmp.string()));
  EXPECT_EQ(r.status, 0) << r.out;
  EXPECT_TRUE(fs::is_empty(tmp));
  EXPECT_EQ(ReadAll(out / "photo.png"), options.images[0].data);
  EXPECT_EQ(AuditDxf(out / "pic.dxf").image_defs, std::vector<std::string>{"photo.png"});
}

// R12 has one paper space: there, as in the launcher, layouts become the
// one paper space of the paper-space setting.
TEST_F(CliConvert, LayoutsInR12AreOnePaperSpace) {
  TJwwData d = MakeColouredDrawing();
  AddFrameRectangle(d, -100, -100, 100, 100);
  AddEntity(d, Line(Attr(0, 0, 1, 1), 0, 0, 10, 0));
  const fs::path file = Save(d, "f.jww");
  auto convert = [&](const std::string& options, const std::string& folder) {
    EXPECT_EQ(Cli(options + " -o " + Quote((dir_ / folder).string()) + " " + Quote(file.string()))
                  .status,
              0);
    return ReadAll(dir_ / folder / "f.dxf");
  };
  const std::string layouts = convert("--dxf r12 --output-space layouts", "r12l");
  EXPECT_FALSE(layouts.empty());
  EXPECT_EQ(layouts, convert("--dxf r12 --output-space paper", "r12p"));
  EXPECT_NE(convert("--dxf 2000 --output-space layouts", "l"),
            convert("--dxf 2000 --output-space paper", "p"));
}

}  // namespace
}  // namespace parvex::testing
