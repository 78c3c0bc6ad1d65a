// Converts a drawing of 1,000,000 entities (made with the test writer) to
// DXF R12, 2000 and 2007 and reports, per version, the wall time and peak
// memory of the conversion on one thread and on every core, next to the
// floor measured in the same run: the time to read the input file and to
// write a file of the output's size (flushed to disk, as the converter
// flushes its own). The cpu column is the conversion's processor time,
// all threads together.
//
//   bench_convert [--jwc] [ENTITIES] [WORK_FOLDER] [model|paper|layouts]
//
// The output space is model space unless named; the drawing's 16 sheets
// (print-origin texts) become 16 layouts with "layouts". With --jwc the
// drawing is a DOS-edition JWC drawing instead (which has no layouts).
//
// Each conversion runs in a fresh child process (this program started
// again with --convert), so its peak resident memory is its own.
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "converter/app/drawing_conversion.h"
#include "converter/dxf/dxf_parallel_write.h"
#include "tests/support/jwc_fixtures.h"
#include "tests/support/jwc_writer.h"
#include "tests/support/jww_writer.h"

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

double Seconds(Clock::time_point a, Clock::time_point b) {
  return std::chrono::duration<double>(b - a).count();
}

// A drawing with a mix of the kinds the mapping converts: per 10 entities
// 5 lines, 2 arcs, 1 text, 1 point, 1 solid, spread over layers and pens.
parvex::TJwwData MakeDrawing(long n) {
  using namespace parvex;
  TJwwData d = testing::MakeJwwDrawing(600);
  d.Enthd.nZumen = 3;
  d.EntCol[0].aPenColor = 0xFFFFFF;
  for (int i = 1; i <= 8; ++i) d.EntCol[i].aPenColor = 0x102030 * i;
  for (long i = 0; i < n; ++i) {
    TEntJwwAttr a = testing::Attr(static_cast<int>(i % 3), static_cast<int>(i % 16),
                                  1 + static_cast<int>(i % 8), 1 + static_cast<int>(i % 9));
    a.nPenWidth = static_cast<uint16_t>(i % 60);
    const double x = static_cast<double>(i % 1000) * 0.2 - 100;
    const double y = static_cast<double>((i / 1000) % 1000) * 0.14 - 70;
    switch (i % 10) {
      case 0: case 1: case 2: case 3: case 4: {
        TEntJwwLine l;
        l.att = a;
        l.start_x = x;
        l.start_y = y;
        l.end_x = x + 0.15;
        l.end_y = y + 0.1;
        testing::AddEntity(d, l);
        break;
      }
      case 5: case 6: {
        TEntJwwEnko e;
        e.att = a;
        e.start_x = x;
        e.start_y = y;
        e.dHankei = 0.05;
        e.radKaishiKaku = 0.3;
        e.radEnkoKaku = (i % 4 == 0) ? 2 * 3.14159265358979 : 1.2;
        e.dHenpeiRitsu = (i % 3 == 0) ? 0.6 : 1.0;
        testing::AddEntity(d, e);
        break;
      }
      case 7: {
        TEntJwwMoji t;
        t.att = a;
        t.start_x = x;
        t.start_y = y;
        t.end_x = x + 0.6;
        t.end_y = y;
        t.nMojiShu = 1 + static_cast<uint32_t>(i % 10);
        t.dSizeX = 0.1;
        t.dSizeY = 0.1;
        t.strFontName = u"ＭＳ ゴシック";
        t.str = u"図面 No." + std::u16string(1, static_cast<char16_t>(u'0' + i % 10));
        testing::AddEntity(d, t);
        break;
      }
      case 8: {
        TEntJwwTen p;
        p.att = a;
        p.start_x = x;
        p.start_y = y;
        testing::AddEntity(d, p);
        break;
      }
      default: {
        TEntJwwSolid s;
        s.att = a;
        s.start_x = x;
        s.start_y = y;
        s.end_x = x + 0.1;
        s.end_y = y;
        s.DPoint2_x = x + 0.1;
        s.DPoint2_y = y + 0.1;
        s.DPoint3_x = x;
        s.DPoint3_y = y + 0.1;
        testing::AddEntity(d, s);
        break;
      }
    }
  }
  // 16 sheets of 50 x 35.4 (the printer paper at 840 %) over the drawing,
  // each marked by a print-origin text at its lower-left corner.
  for (int k = 0; k < 16; ++k) {
    TEntJwwMoji t;
    t.att = testing::Attr(0, 0, 9, 1);
    t.start_x = -100 + 50 * (k % 4);
    t.start_y = -70.7 + 35.4 * (k / 4);
    t.end_x = t.start_x + 10;
    t.end_y = t.start_y;
    t.dSizeX = t.dSizeY = 1;
    t.str = u"【印刷原点】840%N=";
    for (char c : std::to_string(k + 1)) t.str.push_back(static_cast<char16_t>(c));
    testing::AddEntity(d, t);
  }
  return d;
}

int ConvertChild(const char* src, const char* dst, int version, int space, int threads) {
  parvex::ConversionSettings s;
  s.WriteThreads = threads;
  s.DxfVersion = static_cast<parvex::DxfVersion>(version);
  s.OutputSpace = static_cast<parvex::OutputSpace>(space);
  s.BaseLayerGroup = 0;
  s.PointRadius = 0.5;
  const parvex::Status r = parvex::ConvertDrawing(s, src, dst);
  if (!r) std::fprintf(stderr, "conversion failed: %s\n", r.reason().c_str());
  return r ? 0 : 1;
}

struct ChildRun {
  bool ok = false;
  double seconds = 0;
  double cpuSeconds = 0;
  long peakKiB = 0;
};

ChildRun RunChild(const char* self, const fs::path& src, const fs::path& dst, int version,
                  int space, int threads) {
  ChildRun r;
  const std::string v = std::to_string(version);
  const std::string sp = std::to_string(space);
  const std::string t = std::to_string(threads);
  const auto t0 = Clock::now();
  const pid_t pid = fork();
  if (pid == 0) {
    execl(self, self, "--convert", src.c_str(), dst.c_str(), v.c_str(), sp.c_str(), t.c_str(),
          static_cast<char*>(nullptr));
    _exit(127);
  }
  int status = 0;
  rusage usage{};
  wait4(pid, &status, 0, &usage);
  r.seconds = Seconds(t0, Clock::now());
  r.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
  r.peakKiB = usage.ru_maxrss;
  r.cpuSeconds = usage.ru_utime.tv_sec + usage.ru_utime.tv_usec / 1e6 + usage.ru_stime.tv_sec +
                 usage.ru_stime.tv_usec / 1e6;
  return r;
}

// Reading the input, then a file of `bytes` written in 1 MiB blocks and
// flushed to disk, as the converter flushes its output before naming it.
double FloorSeconds(const fs::path& input, const fs::path& work, uintmax_t bytes) {
  const fs::path out = work / "floor_out.dxf";
  fs::remove(out);
  const auto t0 = Clock::now();
  std::vector<char> block(1 << 20, ' ');
  {
    std::ifstream in(input, std::ios::binary);
    while (in.read(block.data(), static_cast<std::streamsize>(block.size())) || in.gcount() > 0) {
    }
  }
  const int fd = ::open(out.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
  if (fd < 0) return 0;
  uintmax_t left = bytes;
  while (left > 0) {
    const auto n = static_cast<std::size_t>(std::min<uintmax_t>(left, block.size()));
    if (::write(fd, block.data(), n) != static_cast<ssize_t>(n)) break;
    left -= n;
  }
  ::fsync(fd);
  ::close(fd);
  const double s = Seconds(t0, Clock::now());
  fs::remove(out);
  return s;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 7 && std::string(argv[1]) == "--convert") {
    return ConvertChild(argv[2], argv[3], std::atoi(argv[4]), std::atoi(argv[5]),
                        std::atoi(argv[6]));
  }
  const char* self = argv[0];
  const bool jwc = argc > 1 && std::string(argv[1]) == "--jwc";
  if (jwc) {
    --argc;
    ++argv;
  }
  const long n = argc > 1 ? std::atol(argv[1]) : 1'000'000;
  const fs::path work =
      argc > 2 ? fs::path(argv[2]) : fs::temp_directory_path() / "parvex_bench_convert";
  fs::create_directories(work);
  const fs::path input = work / (jwc ? "million.jwc" : "million_sheets.jww");
  int space = 0;
  if (argc > 3) {
    const std::string name = argv[3];
    space = name == "model" ? 0 : name == "paper" ? 1 : name == "layouts" ? 2 : -1;
    if (space < 0) {
      std::fprintf(stderr, "output space: model, paper or layouts\n");
      return 2;
    }
  }

  // Make the drawing in a child too, so this process stays small.
  if (!fs::exists(input)) {
    const pid_t pid = fork();
    if (pid == 0) {
      const auto bytes =
          jwc ? parvex::testing::WriteJwc(parvex::testing::MakeLargeJwc(static_cast<int>(n)))
              : parvex::testing::WriteJww(MakeDrawing(n));
      _exit(parvex::testing::SaveBytes(input, bytes) ? 0 : 1);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
      std::fprintf(stderr, "cannot write %s\n", input.c_str());
      return 1;
    }
  }
  const uintmax_t inBytes = fs::file_size(input);
  std::printf("input: %s, %ld entities, %.1f MB\n", input.c_str(), n, inBytes / 1e6);
  // Wall time depends on what else runs on the machine; the CPU time of
  // the conversion process is shown beside it.
  std::printf("%-5s %9s %7s %9s %9s %9s %7s %10s %8s\n", "DXF", "output", "threads", "convert",
              "cpu", "floor", "ratio", "peak", "peak/in");
  int status = 0;
  const char* names[] = {"R12", "2000", "2007"};
  const int cores = parvex::DxfDefaultThreads();
  for (int v = 0; v < 3; ++v) {
    for (const int threads : {1, cores}) {
      const fs::path out = work / ("million_" + std::string(names[v]) + ".dxf");
      fs::remove(out);
      const ChildRun r = RunChild(self, input, out, v, space, threads);
      if (!r.ok) {
        std::printf("%-5s conversion failed\n", names[v]);
        status = 1;
        continue;
      }
      const uintmax_t outBytes = fs::file_size(out);
      const double floor = FloorSeconds(input, work, outBytes);
      const double peakBytes = r.peakKiB * 1024.0;
      std::printf("%-5s %7.1fMB %7d %8.2fs %8.2fs %8.2fs %6.2fx %8.1fMB %7.2fx\n", names[v],
                  outBytes / 1e6, threads, r.seconds, r.cpuSeconds, floor, r.seconds / floor,
                  peakBytes / 1e6, peakBytes / inBytes);
      fs::remove(out);
      if (cores == 1) break;
    }
  }
  return status;
}
