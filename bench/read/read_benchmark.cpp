// Reads a drawing of 1,000,000 entities (lines, arcs, points, texts and
// block insertions) written at start into a temporary folder.
//   bench_read [--benchmark_...]        time of TJwwData::FileIn
//   bench_read --write FILE             only write the drawing
//   bench_read --read-once FILE         one read without the framework
//                                       (for /usr/bin/time -v)
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <numbers>
#include <system_error>
#include <unistd.h>

#include "converter/jww/jww_data.h"
#include "tests/support/jww_writer.h"

namespace {

using namespace parvex;
using namespace parvex::testing;

constexpr int kEntities = 1'000'000;

TJwwData MakeLargeDrawing() {
  TJwwData d = MakeJwwDrawing(700);
  d.EntLine.reserve(kEntities);
  d.EntNo.reserve(kEntities);
  TEntJwwBlockDef def;
  def.nNumber = 1;
  def.strName = u"mark";
  TEntJwwLine member;
  member.end_x = 1;
  AddMember(def, member);
  d.EntBlockDef.push_back(def);
  for (int i = 0; i < kEntities; ++i) {
    const double x = (i % 1000) * 0.4 - 200;
    const double y = (i / 1000) * 0.3 - 150;
    const TEntJwwAttr a = Attr(i % 16 / 8, i % 16, i % 8 + 1, i % 9 + 1);
    switch (i % 20) {
      case 0: case 1: {
        TEntJwwEnko e;
        e.att = a;
        e.start_x = x;
        e.start_y = y;
        e.dHankei = 0.1;
        e.radEnkoKaku = std::numbers::pi;
        e.dHenpeiRitsu = 1;
        AddEntity(d, e);
        break;
      }
      case 2: {
        TEntJwwTen e;
        e.att = a;
        e.start_x = x;
        e.start_y = y;
        AddEntity(d, e);
        break;
      }
      case 3: {
        TEntJwwMoji e;
        e.att = a;
        e.start_x = x;
        e.start_y = y;
        e.end_x = x + 2;
        e.end_y = y;
        e.dSizeX = e.dSizeY = 0.2;
        e.strFontName = u"ＭＳ ゴシック";
        e.str = u"No." + std::u16string(1, u'0' + i % 10) + u" 部材";
        AddEntity(d, e);
        break;
      }
      case 4:
        if (i % 1000 == 4) {
          TEntJwwBlock e;
          e.att = a;
          e.DPKijunTen_x = x;
          e.DPKijunTen_y = y;
          e.dBairitsuX = e.dBairitsuY = 1;
          e.nNumber = 1;
          AddEntity(d, e);
          break;
        }
        [[fallthrough]];
      default: {
        TEntJwwLine e;
        e.att = a;
        e.start_x = x;
        e.start_y = y;
        e.end_x = x + 0.3;
        e.end_y = y + 0.2;
        AddEntity(d, e);
      }
    }
  }
  return d;
}

const std::filesystem::path& LargeDrawingPath() {
  static const std::filesystem::path path = [] {
    std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("parvex-bench-read-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    std::filesystem::path file = dir / "large.jww";
    if (!SaveBytes(file, WriteJww(MakeLargeDrawing()))) std::fprintf(stderr, "cannot write %s\n", file.c_str());
    return file;
  }();
  return path;
}

void RemoveLargeDrawing() {
  std::error_code ec;
  std::filesystem::remove_all(LargeDrawingPath().parent_path(), ec);
}

void BM_ReadJww1M(benchmark::State& state) {
  const std::filesystem::path& path = LargeDrawingPath();
  const auto bytes = std::filesystem::file_size(path);
  for (auto _ : state) {
    TJwwData d;
    if (!d.FileIn(path)) state.SkipWithError("read failed");
    benchmark::DoNotOptimize(d.EntLine.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
  state.counters["entities/s"] =
      benchmark::Counter(static_cast<double>(kEntities), benchmark::Counter::kIsIterationInvariantRate);
  state.counters["file_MB"] = static_cast<double>(bytes) / 1e6;
}
BENCHMARK(BM_ReadJww1M)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace

int main(int argc, char** argv) {
  // Separate processes for writing and reading, so that /usr/bin/time -v on
  // the reading one shows the reader's peak memory alone.
  if (argc == 3 && std::strcmp(argv[1], "--write") == 0) {
    return SaveBytes(argv[2], WriteJww(MakeLargeDrawing())) ? 0 : 1;
  }
  if (argc == 3 && std::strcmp(argv[1], "--read-once") == 0) {
    TJwwData d;
    const bool ok = d.FileIn(argv[2]).ok();
    std::printf("read %s: %zu entities\n", ok ? "ok" : "failed", d.EntNo.size());
    return ok ? 0 : 1;
  }
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  RemoveLargeDrawing();
  return 0;
}
