// Writes a model of 1,000,000 mixed entities as DXF and compares the rate
// with a plain write(2) of the same number of bytes to the same folder.
//   bench_write [--benchmark_...]      (PARVEX_BENCH_DIR: folder of the
//                                        scratch file, default /tmp)
#include <fcntl.h>
#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "converter/dxf/dxf_model.h"
#include "converter/dxf/dxf_parallel_write.h"
#include "converter/dxf/dxf_writer.h"

namespace {

using parvex::TDXFmodel;

constexpr int kEntities = 1000000;

// Mixed content much like a converted drawing: mostly lines, then texts,
// arcs and circles, points, solids, polylines and inserts.
std::unique_ptr<TDXFmodel> MakeModel(int ver) {
  auto m = std::make_unique<TDXFmodel>();
  m->SetDXFVer(static_cast<parvex::DxfVersion>(ver), parvex::OutputSpace::Model);
  m->SetAppName(u"bench");
  m->AddLtype(u"Continuous", u"Solid line", 0, {});
  m->AddLtype(u"DASHED", u"Dashed", 2, {12.7, -6.35});
  for (int i = 0; i < 20; ++i) {
    m->AddLayer(u"レイヤ" + std::u16string(1, static_cast<char16_t>(u'A' + i)), 1 + i % 7, 1,
                0, true, true);
  }
  m->AddStyle({.nam = u"Standard", .fo1 = u"txt", .fo2 = u"extfont2.shx", .mhl = 2.5});
  const int blk = m->AddBlockDef(u"部品", 1);
  m->AddLine(blk, {.attr = {.colour = -1, .ltype = -1, .lineweight = -1}, .x2 = 10});
  m->AddArc(blk, {.attr = {.colour = -1, .ltype = -1, .lineweight = -1}, .r = 5, .sweep = 360});
  const std::vector<parvex::TDXF_PLinePoint> pv = {
      {0, 0, 0}, {10.5, 0, 0}, {10.5, 7.25, 0.5}, {0, 7.25, 0}};
  for (int i = 0; i < kEntities; ++i) {
    const double x = 12345.678 + (i % 1000) * 1.37;
    const double y = 2345.6789 + (i / 1000) * 0.91;
    const int ly = i % 20;
    const int col = (i % 3 == 0) ? 1 + i % 7 : 256;
    switch (i % 20) {
      case 0: case 1: case 2: case 3: case 4: case 5: case 6: case 7: case 8: case 9:
        m->AddLine(parvex::kTopLevel,
                   {.attr = {.layer = ly, .colour = col, .ltype = 1 + i % 2, .lineweight = 25},
                    .x1 = x,
                    .y1 = y,
                    .x2 = x + 100.0 / 3.0,
                    .y2 = y + 12.5});
        break;
      case 10: case 11: case 12:
        m->AddMoji(parvex::kTopLevel, {.attr = {.layer = ly, .colour = col}, .x1 = x, .y1 = y,
                                       .x2 = x + 20, .y2 = y, .w = 2.5, .h = 2.5,
                                       .st = u"寸法 1234.5 mm"});
        break;
      case 13: case 14:
        m->AddArc(parvex::kTopLevel, {.attr = {.layer = ly, .colour = col, .ltype = 1}, .x = x,
                                      .y = y, .r = 7.5, .start = 30.25, .sweep = 120});
        break;
      case 15:
        m->AddArc(parvex::kTopLevel, {.attr = {.layer = ly, .colour = col, .ltype = 1}, .x = x,
                                      .y = y, .r = 3.3333, .sweep = 360});
        break;
      case 16:
        m->AddTen(parvex::kTopLevel,
                  {.attr = {.layer = ly, .colour = col}, .x = x, .y = y, .ba = 1});
        break;
      case 17:
        m->AddSolid4(parvex::kTopLevel, {.attr = {.layer = ly, .colour = col}, .x1 = x, .y1 = y,
                                         .x2 = x + 1, .y2 = y, .x3 = x + 1, .y3 = y + 1, .x4 = x,
                                         .y4 = y + 1});
        break;
      case 18:
        m->AddPLine(parvex::kTopLevel,
                    {.attr = {.layer = ly, .colour = col, .ltype = 1}, .clf = true, .v = pv});
        break;
      default:
        m->AddBlock(parvex::kTopLevel, {.attr = {.layer = ly, .colour = col, .ltype = 1},
                                        .bln = blk, .x = x, .y = y, .a = 45});
        break;
    }
  }
  return m;
}

std::string ScratchPath() {
  const char* d = std::getenv("PARVEX_BENCH_DIR");
  return std::string(d != nullptr ? d : "/tmp") + "/parvex_bench_write_" +
         std::to_string(::getpid()) + ".dxf";
}

TDXFmodel& Model(int ver) {
  static std::unique_ptr<TDXFmodel> models[3];
  if (!models[ver]) models[ver] = MakeModel(ver);
  return *models[ver];
}

std::uint64_t g_bytes = 0;  // size of the last DXF written

void BM_WriteDxfFile(benchmark::State& state) {
  const int ver = static_cast<int>(state.range(0));
  TDXFmodel& m = Model(ver);
  m.writeThreads = static_cast<int>(state.range(1));
  const std::string path = ScratchPath();
  std::uint64_t bytes = 0;
  for (auto _ : state) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) {
      state.SkipWithError("cannot create the scratch file");
      break;
    }
    parvex::DxfFdOutput out(fd);
    parvex::DxfTextSink sink(out);
    if (!m.WriteDXF("", sink)) state.SkipWithError("write failed");
    bytes = sink.BytesWritten();
    ::close(fd);
  }
  ::unlink(path.c_str());
  g_bytes = bytes;
  state.SetBytesProcessed(static_cast<std::int64_t>(bytes * state.iterations()));
  state.counters["entities"] = kEntities;
  state.counters["MB"] = static_cast<double>(bytes) / 1e6;
}

// Formatting only: the output discards the bytes.
class NullOutput final : public parvex::DxfByteOutput {
 public:
  parvex::Status Write(const char*, std::size_t) override { return parvex::Ok(); }
};

void BM_WriteDxfNoIo(benchmark::State& state) {
  TDXFmodel& m = Model(static_cast<int>(state.range(0)));
  m.writeThreads = static_cast<int>(state.range(1));
  std::uint64_t bytes = 0;
  for (auto _ : state) {
    NullOutput out;
    parvex::DxfTextSink sink(out);
    (void)m.WriteDXF("", sink);
    bytes = sink.BytesWritten();
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(bytes * state.iterations()));
}

// The same number of bytes as the last DXF, written in 1 MiB blocks.
void BM_PlainWrite(benchmark::State& state) {
  if (g_bytes == 0) {
    NullOutput out;
    parvex::DxfTextSink sink(out);
    (void)Model(1).WriteDXF("", sink);
    g_bytes = sink.BytesWritten();
  }
  const std::string path = ScratchPath();
  std::vector<char> block(1 << 20, 'x');
  for (auto _ : state) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) {
      state.SkipWithError("cannot create the scratch file");
      break;
    }
    std::uint64_t left = g_bytes;
    while (left > 0) {
      const std::size_t n = left < block.size() ? static_cast<std::size_t>(left) : block.size();
      if (::write(fd, block.data(), n) != static_cast<ssize_t>(n)) {
        state.SkipWithError("write failed");
        break;
      }
      left -= n;
    }
    ::close(fd);
  }
  ::unlink(path.c_str());
  state.SetBytesProcessed(static_cast<std::int64_t>(g_bytes * state.iterations()));
}

// The number format alone over coordinates like those of a drawing.
void BM_RealToChars(benchmark::State& state) {
  std::vector<double> values;
  for (int i = 0; i < 4096; ++i) {
    values.push_back(12345.678 + i * 1.37);
    values.push_back(100.0 / (i + 3));
    values.push_back(i * 0.25);
  }
  char buf[parvex::kRealBufSize];
  std::size_t total = 0;
  for (auto _ : state) {
    for (double v : values) total += parvex::RealToChars(v, buf);
    benchmark::DoNotOptimize(total);
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(values.size() * state.iterations()));
}

BENCHMARK(BM_RealToChars);
// Arguments: DXF version, threads (1 and one per core).
BENCHMARK(BM_WriteDxfFile)
    ->ArgsProduct({{0, 1, 2}, {1, parvex::DxfDefaultThreads()}})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_PlainWrite)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_WriteDxfNoIo)
    ->ArgsProduct({{1}, {1, parvex::DxfDefaultThreads()}})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
