// Runs the built ParvexSub program from a folder of its own, as the
// launcher does, and checks what it leaves behind.
#include "common/platform/files.h"
#include "parvexsub_program.h"
#include "tests/support/image_files.h"
#include "tests/support/jww_writer.h"
#include "tests/support/stress_drawings.h"

namespace parvex {
namespace {

using testing::ParvexSubProgram;
using testing::TempFolder;
using testing::Outcome;

TEST_F(ParvexSubProgram, RefusesAndWritesNothing) {
  auto dst = (work_ / "plan.dxf").string();
  struct Case {
    const char* name;
    std::vector<std::string> args;
    const char* reason;
  } cases[] = {
      {"no arguments", {}, "expected 2 arguments"},
      {"one argument", {source_.string()}, "expected 2 arguments"},
      {"three arguments", {source_.string(), dst, dst}, "expected 2 arguments"},
      {"missing source", {(work_ / "none.jww").string(), dst}, "source not found"},
      {"unknown extension", {work_.Write("plan.dwg", "x").string(), dst}, "unsupported file kind"},
      {"not a drawing", {source_.string(), dst}, "not a readable JWW file"},
  };
  for (const auto& c : cases) {
    Outcome o = Run(c.args);
    EXPECT_NE(o.status, 0) << c.name;
    EXPECT_EQ(o.out, "") << c.name;
    EXPECT_NE(o.err.find(c.reason), std::string::npos) << c.name << ": " << o.err;
    EXPECT_EQ(o.err.find('\n'), o.err.size() - 1) << c.name << ": one line: " << o.err;
    EXPECT_FALSE(std::filesystem::exists(dst)) << c.name;
  }
  // The image folder made at start-up is removed again when empty.
  EXPECT_FALSE(std::filesystem::exists(app_ / "TEMP"));
}

// The carried image goes beside the result; nothing unpacked is left.
TEST_F(ParvexSubProgram, CarriedImagesAreCopiedAndNotLeftBehind) {
  WriteSettings({{14, "1"}});
  testing::JwwWriteOptions options;
  const std::string photo = testing::PngImage(40, 30);
  options.images = {{u"photo.png", photo, -1}, {u"unshown.png", photo, -1}};
  const std::filesystem::path src = work_ / "pic.jww";
  ASSERT_TRUE(testing::SaveBytes(
      src, testing::WriteJww(testing::ImageTextsDrawing({u"%temp%photo.png"}), options)));
  const std::filesystem::path out = work_ / "out";
  std::filesystem::create_directory(out);
  const Outcome o = Run({src.string(), (out / "pic.dxf").string()});
  EXPECT_EQ(o.status, 0) << o.err;
  EXPECT_EQ(TempFolder::Read(out / "photo.png"), photo);
  EXPECT_FALSE(std::filesystem::exists(out / "unshown.png"));
  EXPECT_NE(TempFolder::Read(out / "pic.dxf").find("\r\nAcDbRasterImageDef\r\n"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(app_ / "TEMP"));
}

TEST_F(ParvexSubProgram, ExistingDestinationIsLeftAsItWas) {
  std::string original("\0\x01 keep me\r\n", 11);
  auto dst = work_.Write("plan.dxf", original);
  Outcome o = Run({source_.string(), dst.string()});
  EXPECT_NE(o.status, 0);
  EXPECT_NE(o.err.find("destination already exists"), std::string::npos) << o.err;
  EXPECT_EQ(TempFolder::Read(dst), original);
}

TEST_F(ParvexSubProgram, RefusesWithoutSettingsFile) {
  std::filesystem::remove(app_ / "Parvex.dat");
  auto dst = work_ / "plan.dxf";
  Outcome o = Run({source_.string(), dst.string()});
  EXPECT_NE(o.status, 0);
  EXPECT_NE(o.err.find("settings file not found"), std::string::npos) << o.err;
  EXPECT_FALSE(std::filesystem::exists(dst));
}

}  // namespace
}  // namespace parvex

namespace parvex {
namespace {

// Real drawings, when the shared corpus lies beside the project.
TEST_F(ParvexSubProgram, ConvertsCorpusDrawingsInEveryVersion) {
  std::filesystem::path corpus = std::filesystem::path(PARVEX_SOURCE_DIR) / ".." / "shared" / "corpus";
  std::filesystem::path jww = corpus / "jww" / "sample.jww";
  std::filesystem::path jws = corpus / "jws" / platform::PathFromNarrow("平面") / "1200.jws";
  if (!std::filesystem::exists(jww) || !std::filesystem::exists(jws)) GTEST_SKIP() << "no corpus";
  for (int version : {0, 1, 2}) {
    std::string settings = "\xEF\xBB\xBF";
    for (int line = 0; line < 33; ++line) settings += (line == 14 ? std::to_string(version) : "0") + "\r\n";
    app_.Write("Parvex.dat", settings);
    for (const auto& source : {jww, jws}) {
      auto dst = work_ / (source.stem().string() + "-" + std::to_string(version) + ".dxf");
      Outcome o = Run({platform::NarrowFromPath(source), platform::NarrowFromPath(dst)});
      EXPECT_EQ(o.status, 0) << source << " v" << version << ": " << o.err;
      EXPECT_EQ(o.out, "");
      EXPECT_EQ(o.err, "");
      std::string dxf = TempFolder::Read(dst);
      EXPECT_NE(dxf.find("SECTION"), std::string::npos) << dst;
      EXPECT_NE(dxf.rfind("EOF"), std::string::npos) << dst;
    }
  }
  EXPECT_FALSE(std::filesystem::exists(app_ / "TEMP"));
}

}  // namespace
}  // namespace parvex
