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
#include "tests/support/jwc_fixtures.h"
#include "tests/support/jwc_writer.h"
#include "tests/support/jww_writer.h"

namespace {

using namespace parvex;
using namespace parvex::testing;

constexpr int kEntities = 1'000'000;

const std::filesystem::path& LargeDrawingPath() {
  static const std::filesystem::path path = [] {
    std::filesystem::path dir = std::filesystem::temp_directory_path() /
                                ("parvex-bench-read-jwc-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    std::filesystem::path file = dir / "large.jwc";
    if (!SaveBytes(file, WriteJwc(MakeLargeJwc(kEntities)))) std::fprintf(stderr, "cannot write %s\n", file.c_str());
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
    return SaveBytes(argv[2], WriteJwc(MakeLargeJwc(kEntities))) ? 0 : 1;
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
