#include "converter/app/converter_run.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "tests/support/folder_access.h"
#include "tests/support/temp_folder.h"
#include "common/platform/codepage.h"
#include "common/text_file.h"
#include "converter/app/paper_size.h"
#include "fake_reader.h"

namespace parvex {
namespace {

using testing::FakeReader;
using testing::FakeReaderScript;
using testing::TempFolder;

// A program folder with a settings file whose given lines are replaced.
struct RunFolder {
  TempFolder dir;
  FakeReaderScript script;
  std::vector<std::string> log;

  explicit RunFolder(std::vector<std::pair<int, std::u16string>> lines = {}) {
    std::vector<std::u16string> all(33, u"0");
    all[20] = u"0.5";
    for (auto& [n, v] : lines) all[static_cast<size_t>(n)] = v;
    std::string bytes = "\xEF\xBB\xBF";
    for (auto& l : all) bytes += platform::ToUtf8(l) + "\r\n";
    dir.Write("Parvex.dat", bytes);
  }

  DrawingReaderFactory Factory() {
    return [this](ConversionContext&) {
      DrawingReaders r;
      const char* names[] = {"jww", "jws", "jwc", "jwk"};
      std::unique_ptr<DrawingReader>* slots[] = {&r.Jww, &r.Jws, &r.Jwc, &r.Jwk};
      for (int i = 0; i < 4; ++i) {
        *slots[i] = std::make_unique<FakeReader>(names[i], script, log);
      }
      return r;
    };
  }

  int Run(const std::vector<std::string>& args, std::string* err = nullptr) {
    std::ostringstream errors;
    int rc = RunConverter(args, dir.Path(), Factory(), errors);
    if (err) *err = errors.str();
    return rc;
  }
};

bool Logged(const std::vector<std::string>& log, const std::string& entry) {
  return std::find(log.begin(), log.end(), entry) != log.end();
}

TEST(ConverterRun, DispatchesOnLowerCasedExtensionAndLowersOutputSpace) {
  struct Case {
    const char* file;
    int outputSpace;
    const char* written;
  } cases[] = {
      {"a.jww", 2, "jww:write v1 space2"}, {"b.JWW", 1, "jww:write v1 space1"},
      {"c.Jws", 2, "jws:write v1 space2"}, {"d.jwc", 2, "jwc:write v1 space0"},
      {"e.JWC", 1, "jwc:write v1 space1"}, {"f.jwk", 1, "jwk:write v1 space0"},
  };
  for (const auto& c : cases) {
    RunFolder s({{14, u"1"}, {17, std::u16string(1, static_cast<char16_t>(u'0' + c.outputSpace))}});
    auto src = s.dir.Write(c.file, "x");
    std::string err;
    EXPECT_EQ(s.Run({src.string(), (s.dir / "out.dxf").string()}, &err), kRunSucceeded) << err;
    EXPECT_TRUE(Logged(s.log, c.written)) << c.file;
    EXPECT_TRUE(std::filesystem::exists(s.dir / "out.dxf"));
  }
}

TEST(ConverterRun, ReadOrderAndContextHandedToWriter) {
  RunFolder s;
  s.script.paperCode = 14;
  auto src = s.dir.Write("plan.jww", "x");
  ASSERT_EQ(s.Run({src.string(), (s.dir / "plan.dxf").string()}), kRunSucceeded);
  std::vector<std::string> expectedStart = {"jww:check", "jww:free", "jws:free", "jwc:free",
                                            "jwk:free",  "jww:read", "jww:after"};
  ASSERT_GE(s.log.size(), expectedStart.size());
  EXPECT_EQ(std::vector<std::string>(s.log.begin(), s.log.begin() + 7), expectedStart);
  const ConversionContext& seen = s.script.seen;
  EXPECT_EQ(seen.SourcePath, src);
  EXPECT_EQ(seen.DrawingPaperSize.Width, 100000);
  EXPECT_EQ(seen.DrawingPaperSize.Height, 70732);
  EXPECT_EQ(seen.ImageFolder.parent_path(), s.dir / "TEMP");
  // The run's image folder and the then empty "TEMP" are removed at the end.
  EXPECT_FALSE(std::filesystem::exists(s.dir / "TEMP"));
}

TEST(ConverterRun, ShapeFilesTakePaperSizeFromExtents) {
  RunFolder s;
  auto src = s.dir.Write("part.jws", "x");
  ASSERT_EQ(s.Run({src.string(), (s.dir / "part.dxf").string()}), kRunSucceeded);
  EXPECT_EQ(s.script.seen.DrawingPaperSize.Width, 100);
  EXPECT_EQ(s.script.seen.DrawingPaperSize.Height, 50);
}

TEST(ConverterRun, FailuresWriteNothingAndNameTheReason) {
  struct Case {
    const char* name;
    void (*prepare)(FakeReaderScript&);
    const char* reason;
    bool readAttempted;
  } cases[] = {
      {"check", [](FakeReaderScript& s) { s.check = false; s.failure = "JWW-Header Error"; },
       "not a readable JWW file", false},
      {"read", [](FakeReaderScript& s) { s.read = false; s.failure = "File I/O Error\nat 12"; },
       "File I/O Error", true},
      {"write", [](FakeReaderScript& s) { s.write = false; }, "cannot write", true},
      {"extents", [](FakeReaderScript& s) { s.measure = false; s.failure = "too many points"; },
       "too many points", true},
      {"silent writer", [](FakeReaderScript& s) { s.writeFile = false; },
       "reported success", true},
  };
  for (const auto& c : cases) {
    RunFolder s;
    c.prepare(s.script);
    auto src = s.dir.Write("plan.jww", "x");
    auto dst = s.dir / "plan.dxf";
    std::string err;
    EXPECT_EQ(s.Run({src.string(), dst.string()}, &err), kRunFailed) << c.name;
    EXPECT_NE(err.find(c.reason), std::string::npos) << c.name << ": " << err;
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
    EXPECT_FALSE(std::filesystem::exists(dst)) << c.name;
    EXPECT_EQ(Logged(s.log, "jww:read"), c.readAttempted) << c.name;
  }
}

// A file that someone else puts at the destination while the drawing is
// read is theirs: the run fails, says so, and leaves it alone.
TEST(ConverterRun, DestinationAppearingMeanwhileIsLeftAlone) {
  RunFolder s;
  auto src = s.dir.Write("plan.jww", "x");
  auto dst = s.dir / "plan.dxf";
  s.script.appearsWhileReading = dst;
  std::string err;
  EXPECT_EQ(s.Run({src.string(), dst.string()}, &err), kRunFailed);
  EXPECT_NE(err.find("appeared while the drawing was converted"), std::string::npos) << err;
  EXPECT_EQ(TempFolder::Read(dst), "theirs");
}

TEST(ConverterRun, RefusesBeforeReading) {
  RunFolder s;
  auto src = s.dir.Write("plan.jww", "x");
  auto existing = s.dir.Write("taken.dxf", "precious");
  std::string err;
  EXPECT_EQ(s.Run({src.string(), existing.string()}, &err), kRunFailed);
  EXPECT_NE(err.find("destination already exists"), std::string::npos);
  EXPECT_EQ(TempFolder::Read(existing), "precious");

  auto other = s.dir.Write("plan.txt", "x");
  EXPECT_EQ(s.Run({other.string(), (s.dir / "o.dxf").string()}, &err), kRunFailed);
  EXPECT_NE(err.find("unsupported file kind"), std::string::npos);

  // A dangling link is a taken name too: writing through it is refused.
  if (testing::kCanMakeLinks) {
    std::filesystem::create_symlink(s.dir / "nowhere.dxf", s.dir / "link.dxf");
    EXPECT_EQ(s.Run({src.string(), (s.dir / "link.dxf").string()}, &err), kRunFailed);
    EXPECT_FALSE(std::filesystem::exists(s.dir / "nowhere.dxf"));
  }
  for (const auto& entry : s.log) EXPECT_EQ(entry.find(":check"), std::string::npos) << entry;
}

TEST(ConverterRun, UnknownProgramFolderRefusesWithoutTouchingTheCurrentFolder) {
  RunFolder s;
  auto src = s.dir.Write("plan.jww", "x");
  std::ostringstream errors;
  auto cwd = std::filesystem::current_path();
  std::filesystem::current_path(s.dir.Path());
  int rc = RunConverter({src.string(), (s.dir / "plan.dxf").string()}, {}, s.Factory(), errors);
  std::filesystem::current_path(cwd);
  EXPECT_EQ(rc, kRunFailed);
  EXPECT_NE(errors.str().find("folder of the running program"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(s.dir / "plan.dxf"));
  EXPECT_FALSE(std::filesystem::exists(s.dir / "TEMP"));
}

TEST(PaperSize, CodesAndFallback) {
  struct Case {
    int code;
    double w, h;
  } cases[] = {{0, 1189, 841},  {1, 841, 594},       {4, 297, 210},       {5, 1189, 841},
               {7, 1189, 841},  {8, 1682, 1189},     {11, 4756, 3364},    {12, 10000, 7073},
               {13, 50000, 35366}, {14, 100000, 70732}, {15, 1189, 841}, {-1, 1189, 841}};
  for (const auto& c : cases) {
    PaperSize p = PaperSizeOfCode(c.code);
    EXPECT_EQ(p.Width, c.w) << c.code;
    EXPECT_EQ(p.Height, c.h) << c.code;
  }
}

TEST(ConverterStart, SettingsClampedIntoContext) {
  RunFolder s({{15, u"1"}, {17, u"-1"}, {18, u"16"}, {20, u"abc"}, {30, u"7"}});
  ConversionContext c = StartConversion(s.dir.Path(), {s.dir / "none.jwf"}).value();
  EXPECT_EQ(c.ColorSource, 2);
  EXPECT_EQ(SettingNumber(c.Settings.OutputSpace), 0);
  EXPECT_EQ(c.Settings.BaseLayerGroup, 15);
  EXPECT_DOUBLE_EQ(c.Settings.PointRadius, 0.001);
  EXPECT_EQ(SettingNumber(c.Settings.TextStyleMode), 0);
  EXPECT_EQ(c.Extents.ExtMaxX, 400);
  EXPECT_EQ(c.DrawingPaperSize.Width, 400);
  // The run's images go into a folder of its own inside "TEMP".
  EXPECT_EQ(c.ImageFolder.parent_path(), s.dir / "TEMP");
  EXPECT_TRUE(std::filesystem::is_directory(c.ImageFolder));
  EXPECT_TRUE(testing::ForThisUserOnly(c.ImageFolder));
}

// Settings that are there but cannot be read are not replaced by the
// defaults: the run says so and converts nothing.
TEST(ConverterStart, UnreadableSettingsFileIsRefused) {
  RunFolder s;
  std::filesystem::resize_file(s.dir / "Parvex.dat", kMaxTextFileBytes + 1);
  Result<ConversionContext> started = StartConversion(s.dir.Path(), {s.dir / "none.jwf"});
  ASSERT_FALSE(started);
  EXPECT_NE(started.reason().find("Parvex.dat"), std::string::npos) << started.reason();
  auto src = s.dir.Write("plan.jww", "x");
  std::string err;
  EXPECT_EQ(s.Run({src.string(), (s.dir / "plan.dxf").string()}, &err), kRunFailed);
  EXPECT_NE(err.find("cannot read the settings file"), std::string::npos) << err;
  EXPECT_TRUE(s.log.empty());
}

TEST(ConverterStart, JwSettingsSearchOrder) {
  auto c = JwSettingsCandidates("/opt/p", u"/srv/jww\\");
  ASSERT_GE(c.size(), 2u);
  EXPECT_EQ(c[0], std::filesystem::path("/opt/p/Jw_win.jwf"));
  EXPECT_EQ(c[1], std::filesystem::path("/srv/jww/Jw_win.jwf"));
  if (c.size() == 3) {
    EXPECT_EQ(c[2].filename(), "Jw_win.jwf");
  }
  EXPECT_EQ(JwSettingsCandidates("/opt/p", u" ").size(), c.size() - 1);
}

}  // namespace
}  // namespace parvex
