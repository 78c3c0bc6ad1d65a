// Reads a JWC drawing of 1,000,000 entities (lines, arcs, texts, points)
// written at start into a temporary folder, against the floor of reading
// the file's bytes alone.
//   bench_read_jwc [--benchmark_...]     FileIn, FileIn + extents, file bytes
//   bench_read_jwc --write FILE          only write the drawing
//   bench_read_jwc --read-once FILE      one FileIn and extents without the
//                                        framework (for /usr/bin/time -v)
//   bench_read_jwc --bytes-once FILE     only the file's bytes, likewise
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <unistd.h>

#include "common/platform/files.h"
#include "converter/jwc/jwc_data.h"
#include "tests/support/jwc_writer.h"
#include "tests/support/jww_writer.h"

namespace {

using namespace parvex;
using namespace parvex::testing;

constexpr int kEntities = 1'000'000;

// A3 at the usual 518 file units across, so every coordinate is scaled on
// reading. Per 20 entities: 14 lines, 2 arcs, 1 text, 3 points.
TJwcData MakeLargeDrawing() {
  TJwcData d = MakeJwcDrawing();
  d.Enthd.drawWidth = 518;
  d.EntLine.reserve(kEntities * 14 / 20);
  for (int i = 0; i < kEntities; ++i) {
    const auto x = static_cast<float>((i % 1000) * 0.4);
    const auto y = static_cast<float>((i / 1000) * 0.29);
    const auto lay = static_cast<uint8_t>(i % 256);
    const auto col = static_cast<uint8_t>(i % 6 + 1);
    switch (i % 20) {
      case 0:
      case 1:
        d.EntArc.push_back(JwcArc(x, y, 0.1f, static_cast<float>(i % 360), 180, 1, 0, lay, col));
        break;
      case 2:
        d.EntMoji.push_back(
            JwcText(x, y, x + 2, y, u"No." + std::u16string(1, u'0' + i % 10) + u" 部材", 3, lay));
        break;
      case 3:
      case 4:
      case 5:
        d.EntTen.push_back(JwcPoint(x, y, lay, col));
        break;
      default:
        d.EntLine.push_back(JwcLine(x, y, x + 0.3f, y + 0.2f, lay, col, static_cast<uint8_t>(i % 9 + 1)));
    }
  }
  return d;
}

const std::filesystem::path& LargeDrawingPath() {
  static const std::filesystem::path path = [] {
    std::filesystem::path dir = std::filesystem::temp_directory_path() /
                                ("parvex-bench-read-jwc-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    std::filesystem::path file = dir / "large.jwc";
    if (!SaveBytes(file, WriteJwc(MakeLargeDrawing()))) std::fprintf(stderr, "cannot write %s\n", file.c_str());
    return file;
  }();
  return path;
}

void RemoveLargeDrawing() {
  std::error_code ec;
  std::filesystem::remove_all(LargeDrawingPath().parent_path(), ec);
}

void Report(benchmark::State& state) {
  const auto bytes = std::filesystem::file_size(LargeDrawingPath());
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
  state.counters["entities/s"] =
      benchmark::Counter(static_cast<double>(kEntities), benchmark::Counter::kIsIterationInvariantRate);
  state.counters["file_MB"] = static_cast<double>(bytes) / 1e6;
}

// The floor: the file's bytes into memory, as the reader takes them.
void BM_FileBytes(benchmark::State& state) {
  for (auto _ : state) {
    auto bytes = platform::ReadFileBytes(LargeDrawingPath(), 0x7FFFFFFF);
    if (!bytes) state.SkipWithError("read failed");
    benchmark::DoNotOptimize(bytes->data());
  }
  Report(state);
}
BENCHMARK(BM_FileBytes)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void BM_ReadJwc1M(benchmark::State& state) {
  for (auto _ : state) {
    TJwcData d;
    if (!d.FileIn(LargeDrawingPath())) state.SkipWithError("read failed");
    benchmark::DoNotOptimize(d.EntLine.data());
  }
  Report(state);
}
BENCHMARK(BM_ReadJwc1M)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void BM_ReadJwc1MWithExtents(benchmark::State& state) {
  for (auto _ : state) {
    TJwcData d;
    if (!d.FileIn(LargeDrawingPath())) state.SkipWithError("read failed");
    DrawingExtents extents;
    d.GetMinMaxZahyo(extents);
    benchmark::DoNotOptimize(extents.ExtMaxX);
  }
  Report(state);
}
BENCHMARK(BM_ReadJwc1MWithExtents)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace

int main(int argc, char** argv) {
  // Separate processes for writing and reading, so that /usr/bin/time -v on
  // the reading one shows the reader's peak memory alone.
  if (argc == 3 && std::strcmp(argv[1], "--write") == 0) {
    return SaveBytes(argv[2], WriteJwc(MakeLargeDrawing())) ? 0 : 1;
  }
  if (argc == 3 && std::strcmp(argv[1], "--read-once") == 0) {
    TJwcData d;
    const Status read = d.FileIn(argv[2]);
    DrawingExtents extents;
    d.GetMinMaxZahyo(extents);
    std::printf("read %s: %d lines, %d arcs, %d texts, %d points%s%s\n", read ? "ok" : "failed",
                d.lineN(), d.arcN(), d.mojiN(), d.tenN(), read ? "" : ": ", read.reason().c_str());
    return read ? 0 : 1;
  }
  if (argc == 3 && std::strcmp(argv[1], "--bytes-once") == 0) {
    auto bytes = platform::ReadFileBytes(argv[2], 0x7FFFFFFF);
    std::printf("read %zu bytes\n", bytes ? bytes->size() : 0);
    return bytes ? 0 : 1;
  }
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  RemoveLargeDrawing();
  return 0;
}
