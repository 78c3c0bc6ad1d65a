// ParvexSub under what careless users and hostile input do: two runs racing
// for one destination, someone else taking the name meanwhile, a run
// killed while it writes, full disks, long names, planted links, gzip data
// that unpacks to gigabytes, blocks placed thousands of times and settings
// files holding absurd numbers.
#ifndef _WIN32
#include <signal.h>
#endif

#include <cerrno>
#include <chrono>
#include <cstring>
#include <fstream>
#include <thread>
#include <numbers>

#include "common/platform/output_files.h"
#include "common/platform/process_info.h"
#include "parvexsub_program.h"
#include "tests/support/jww_writer.h"
#include "tests/support/stress_drawings.h"

namespace parvex {
namespace {

namespace fs = std::filesystem;
using testing::AwaitEntry;
using testing::kCanMakeLinks;
using testing::EntriesOf;
using testing::Outcome;
using testing::ParvexSubProgram;
using testing::ProcessLimits;
using testing::ProgramRun;
using testing::TempFolder;

// Any hidden entry: the writer's temporary file, whatever its naming.
constexpr char kHidden[] = ".";

bool EndsWithEof(const fs::path& dxf) {
  const std::string bytes = TempFolder::Read(dxf);
  return bytes.ends_with("  0\r\nEOF\r\n");
}

class HostileRun : public ParvexSubProgram {
 protected:
  // Writes `d` as the source drawing "NAME.jww" in the work folder.
  fs::path Source(const TJwwData& d, const std::string& name = "plan.jww",
                  const testing::JwwWriteOptions& options = {}) {
    const fs::path p = work_ / name;
    EXPECT_TRUE(testing::SaveBytes(p, testing::WriteJww(d, options)));
    return p;
  }
};

// Both start before either has written: exactly one gets the name, and the
// file under it is the winner's, complete.
TEST_F(HostileRun, TwoRunsRacingForOneDestination) {
  const fs::path src = Source(testing::ManyLinesDrawing(20000));
  const fs::path dst = work_ / "plan.dxf";
  for (int round = 0; round < 6; ++round) {
    SCOPED_TRACE(round);
    ProgramRun a(program_, {src.string(), dst.string()}, logs_.Path(), 0);
    ProgramRun b(program_, {src.string(), dst.string()}, logs_.Path(), 1);
    const Outcome first = a.Wait();
    const Outcome second = b.Wait();
    EXPECT_EQ((first.status == 0) + (second.status == 0), 1) << first.err << second.err;
    const Outcome& loser = first.status == 0 ? second : first;
    EXPECT_EQ(loser.status, 1);
    const bool named = loser.err.find("appeared while") != std::string::npos ||
                       loser.err.find("already exists") != std::string::npos;
    EXPECT_TRUE(named) << loser.err;
    ASSERT_TRUE(fs::exists(dst));
    EXPECT_TRUE(EndsWithEof(dst));
    EXPECT_EQ(EntriesOf(work_.Path()), (std::vector<std::string>{"plan.dxf", "plan.jww"}));
    fs::remove(dst);
  }
}

// A file that someone creates at the destination while the drawing is
// converted is theirs: the run fails saying so and leaves it alone.
TEST_F(HostileRun, DestinationCreatedDuringTheRunIsLeftAlone) {
  const fs::path src = Source(testing::ManyLinesDrawing(300000));
  const fs::path dst = work_ / "plan.dxf";
  ProgramRun run(program_, {src.string(), dst.string()}, logs_.Path());
  ASSERT_TRUE(AwaitEntry(work_.Path(), kHidden)) << "the writer never started";
  std::ofstream(dst, std::ios::binary) << "the user's own file";
  const Outcome o = run.Wait();
  EXPECT_EQ(o.status, 1);
  EXPECT_NE(o.err.find("appeared while the drawing was converted"), std::string::npos) << o.err;
  EXPECT_EQ(TempFolder::Read(dst), "the user's own file");
  EXPECT_EQ(EntriesOf(work_.Path()), (std::vector<std::string>{"plan.dxf", "plan.jww"}));
}

#ifdef _WIN32
// Ended at once while writing (a kill, a crash, a closed console): the
// unfinished file goes with the process's last handle to it. (Wine removes
// it a moment after the process has gone.)
TEST_F(HostileRun, RunKilledWhileWritingLeavesNothing) {
  const fs::path src = Source(testing::ManyLinesDrawing(300000));
  ProgramRun run(program_, {src.string(), (work_ / "plan.dxf").string()}, logs_.Path());
  ASSERT_TRUE(AwaitEntry(work_.Path(), kHidden)) << "the writer never started";
  run.Kill();
  run.Wait();
  const std::vector<std::string> left = {"plan.jww"};
  for (int i = 0; i < 3000 && EntriesOf(work_.Path()) != left; ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  EXPECT_EQ(EntriesOf(work_.Path()), left);
}
#else
// Killed while writing: the caller removes what the run left (the launcher
// does after its time limit); terminated politely, the run removes it
// itself.
TEST_F(HostileRun, RunKilledWhileWritingLeavesNothingOnceCleanedUp) {
  const fs::path src = Source(testing::ManyLinesDrawing(300000));
  for (int sig : {SIGKILL, SIGTERM}) {
    SCOPED_TRACE(sig);
    ProgramRun run(program_, {src.string(), (work_ / "plan.dxf").string()}, logs_.Path());
    ASSERT_TRUE(AwaitEntry(work_.Path(), kHidden)) << "the writer never started";
    kill(run.Pid(), sig);
    const Outcome o = run.Wait();
    EXPECT_EQ(o.status, 128 + sig);
    if (sig == SIGKILL) {
      EXPECT_EQ(platform::RemoveAbandonedPendingFiles(work_.Path(), run.Pid()), 1);
    }
    EXPECT_EQ(EntriesOf(work_.Path()), (std::vector<std::string>{"plan.jww"}));
  }
}

// A full disk or a file size limit ends the run with a reason line instead
// of a silent death by signal. (Windows has no file size limit to set.)
TEST_F(HostileRun, FileSizeLimitGivesAReasonLine) {
  const fs::path src = Source(testing::ManyLinesDrawing(5000));
  ProcessLimits limits;
  limits.fileBytes = 64 * 1024;
  const Outcome o = Run({src.string(), (work_ / "plan.dxf").string()}, limits);
  EXPECT_EQ(o.status, 1);
  // The line says what went wrong with the file, not only that it failed.
  EXPECT_NE(o.err.find("cannot write"), std::string::npos) << o.err;
  EXPECT_NE(o.err.find(std::strerror(EFBIG)), std::string::npos) << o.err;
  EXPECT_EQ(EntriesOf(work_.Path()), (std::vector<std::string>{"plan.jww"}));
}
#endif

// Names up to the file system's limit of 255 bytes (85 Japanese
// characters) can be written: the temporary name is always short.
TEST_F(HostileRun, LongestDestinationNames) {
  const fs::path src = Source(testing::ManyLinesDrawing(10));
  std::string kana;
  for (int i = 0; i < 83; ++i) kana += "あ";  // 249 bytes
  for (const std::string& name : {kana + "xx.dxf", kana + ".dxf", std::string(251, 'n') + ".dxf"}) {
    SCOPED_TRACE(name.size());
    const Outcome o = Run({src.string(), platform::NarrowFromPath(work_ / name)});
    EXPECT_EQ(o.status, 0) << o.err;
    EXPECT_TRUE(EndsWithEof(work_ / name));
  }
}

// The run unpacks carried images into a fresh folder of its own, so links
// planted in the shared image folder are never written through; folders
// left by killed runs go, those of running ones stay.
TEST_F(HostileRun, ImagesGoToAPrivateFolderAndKilledRunsLeftoversGo) {
  const fs::path victim = work_.Write("victim.bmp", "precious");
  const fs::path shared = app_ / "TEMP";
  fs::create_directories(shared);
  if (kCanMakeLinks) fs::create_symlink(victim, shared / "a.bmp");
  // A process that has ended, and this one, which runs.
  const std::int64_t gone = testing::EndedProcessId();
  const fs::path left = shared / ("parvex-" + std::to_string(gone) + "-Ab12Cd");
  const fs::path running = shared / ("parvex-" + std::to_string(platform::CurrentProcessId()) + "-Ab12Cd");
  fs::create_directories(left);
  fs::create_directories(running);
  std::ofstream(left / "b.bmp") << "left behind";
  if (kCanMakeLinks) fs::create_symlink(victim, left / "link.bmp");

  testing::JwwWriteOptions options;
  options.images = {{u"a.bmp", "image bytes", -1}};
  const fs::path src = Source(testing::ImageTextsDrawing({u"%temp%a.bmp"}), "plan.jww", options);
  const Outcome o = Run({src.string(), (work_ / "plan.dxf").string()});
  EXPECT_EQ(o.status, 0) << o.err;
  EXPECT_EQ(TempFolder::Read(victim), "precious");
  if (kCanMakeLinks) {
    EXPECT_TRUE(fs::is_symlink(shared / "a.bmp"));
  }
  EXPECT_FALSE(fs::exists(left));
  EXPECT_TRUE(fs::exists(running));
  // Nothing of the run's own is left either.
  std::vector<std::string> expected = {running.filename().string()};
  if (kCanMakeLinks) expected.push_back("a.bmp");
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(EntriesOf(shared), expected);
}

// Carried images that no image text shows are not unpacked at all, however
// large they would become: under a 64 MiB file size limit the drawing with
// three gzip images of 200 MiB each converts.
TEST_F(HostileRun, UnshownGzipImagesAreNotUnpacked) {
  const std::string bomb = testing::GzipOfZeros(200ull << 20);
  testing::JwwWriteOptions options;
  options.images = {{u"a.bmp.gz", bomb, -1}, {u"b.bmp.gz", bomb, -1}, {u"c.bmp.gz", bomb, -1}};
  const fs::path src = Source(testing::ImageTextsDrawing({u"%temp%other.bmp"}), "plan.jww", options);
  ProcessLimits limits;
  limits.fileBytes = 64ull << 20;
  const Outcome o = Run({src.string(), (work_ / "plan.dxf").string()}, limits);
  EXPECT_EQ(o.status, 0) << o.err;
  EXPECT_FALSE(fs::exists(app_ / "TEMP"));
}

// One definition of 10,000 arcs placed 20,000 times (a drawing of about
// 2 MB). Without turns each placement costs four points; turned, the points
// of the definition's convex outline, which for short arcs along a ring are
// few. When every point lies on the outline (pieces of one circle) the work
// is known before it starts and refused with a reason. Every run ends long
// before its CPU limit.
TEST_F(HostileRun, BlockPlacedTensOfThousandsOfTimes) {
  using testing::ArcLayout;
  ProcessLimits limits;
  limits.cpuSeconds = 60;
  struct Case {
    double rotation;
    ArcLayout layout;
    int status;
    const char* reason;
  } cases[] = {{0, ArcLayout::kOneCircle, 0, ""},
               {std::numbers::pi / 7, ArcLayout::kRing, 0, ""},
               {std::numbers::pi / 7, ArcLayout::kOneCircle, 1, "places its blocks too often"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.rotation);
    const fs::path src = Source(testing::RepeatedBlockDrawing(10000, 20000, c.rotation, c.layout));
    EXPECT_GT(fs::file_size(src), 1'900'000u);
    const fs::path dst = work_ / "plan.dxf";
    const Outcome o = Run({src.string(), dst.string()}, limits);
    EXPECT_EQ(o.status, c.status) << o.err;
    EXPECT_NE(o.err.find(c.reason), std::string::npos) << o.err;
    EXPECT_EQ(fs::exists(dst), c.status == 0);
    fs::remove(dst);
  }
}

// Values no launcher writes: an absurd colour mode converts with screen
// colours; a DXF version that does not exist is refused naming its line.
TEST_F(HostileRun, AbsurdSettingsValues) {
  const fs::path src = Source(testing::ManyLinesDrawing(10));
  WriteSettings({{15, "2147483647"}, {16, "-2147483648"}, {14, "1"}});
  Outcome o = Run({src.string(), (work_ / "a.dxf").string()});
  EXPECT_EQ(o.status, 0) << o.err;
  WriteSettings({{14, "7"}});
  o = Run({src.string(), (work_ / "b.dxf").string()});
  EXPECT_EQ(o.status, 1);
  EXPECT_NE(o.err.find("Parvex.dat\", line 15 (DXF version): 7"), std::string::npos) << o.err;
  EXPECT_FALSE(fs::exists(work_ / "b.dxf"));
}

}  // namespace
}  // namespace parvex
