// The text of real values in DXF files: the fast formatter against the one
// built on std::to_chars with a precision, over 10,000,000 values of every
// kind (values like a drawing's, random bit patterns, values around powers
// of ten, near and exact halfway points of the 15th digit).
//
//   bench_real_text [--benchmark_...]   first checks that both give the same
//                                       text for every one of the values
//                                       (exit 1 otherwise), then times them;
//                                       ns_per_value is CPU time per value
//   bench_real_text --sweep=N           only the check, over the hard cases:
//                                       N random bit patterns, N random
//                                       values spread over every binade from
//                                       1e-14 up, N / 10 near and N / 100
//                                       exact halfway points, and the
//                                       doubles within N / 1000 ulps (1,000
//                                       to 100,000) of every power of ten
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "converter/dxf/real_text.h"
#include "tests/support/real_values.h"

namespace {

using parvex::kRealTextBufSize;

constexpr int kValues = 10000000;

// The value sets timed: all kinds mixed, then each kind alone.
enum class ValueKind { kMixed, kDrawing, kBitPatterns, kHard };

std::vector<double> MakeValues(ValueKind kind, int count) {
  namespace t = parvex::testing;
  std::mt19937_64 rng(20240501 + static_cast<int>(kind));
  std::vector<double> v;
  v.reserve(static_cast<std::size_t>(count) + 100000);
  switch (kind) {
    case ValueKind::kDrawing: t::AppendDrawingValues(rng, count, v); break;
    case ValueKind::kBitPatterns: t::AppendRandomBitPatterns(rng, count, v); break;
    case ValueKind::kHard:
      while (static_cast<int>(v.size()) < count) {
        t::AppendAroundPowersOfTen(50, v);
        t::AppendNearHalfwayPoints(rng, 20000, 4, v);
        t::AppendExactHalfwayPoints(rng, 2000, v);
      }
      break;
    case ValueKind::kMixed:
      t::AppendDrawingValues(rng, count / 10 * 6, v);
      t::AppendRandomBitPatterns(rng, count / 10 * 2, v);
      t::AppendAroundPowersOfTen(200, v);
      t::AppendExactHalfwayPoints(rng, count / 2000, v);
      t::AppendNearHalfwayPoints(rng, (count - static_cast<int>(v.size())) / 9, 4, v);
      std::shuffle(v.begin(), v.end(), rng);
      break;
  }
  v.resize(static_cast<std::size_t>(count), 1.0);
  return v;
}

// Both formatters over every value; prints and returns the number of
// values whose texts differ, and counts those the fast rounding left to
// std::to_chars.
long CheckAll(const std::vector<double>& values, const char* what) {
  long differ = 0;
  long slow = 0;
  char fast[kRealTextBufSize];
  char slowText[kRealTextBufSize];
  const auto start = std::chrono::steady_clock::now();
  for (double x : values) {
    const std::size_t n = parvex::WriteRealText(x, fast);
    const std::size_t m = parvex::WriteRealTextByToChars(x, slowText);
    if (n != m || std::memcmp(fast, slowText, n) != 0) {
      if (++differ <= 10) {
        std::printf("  differ: %a  fast \"%.*s\"  to_chars \"%.*s\"\n", x, static_cast<int>(n),
                    fast, static_cast<int>(m), slowText);
      }
    }
    parvex::RealDigits15 d;
    if (std::fabs(x) > 1e-14 && !parvex::RoundTo15DigitsFast(x, &d)) ++slow;
  }
  const double s =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::printf("%-44s %11zu values  %ld differ  %ld by to_chars  (%.1f s)\n", what, values.size(),
              differ, slow, s);
  return differ;
}

int Sweep(long n) {
  namespace t = parvex::testing;
  std::mt19937_64 rng(7);
  long differ = 0;
  std::vector<double> v;
  const int ulps = static_cast<int>(std::clamp(n / 1000, 1000L, 100000L));
  t::AppendAroundPowersOfTen(ulps, v);
  differ += CheckAll(v, ("around powers of ten (+-" + std::to_string(ulps) + " ulps)").c_str());
  // In blocks, to keep memory small.
  constexpr long kBlock = 10000000;
  constexpr long kBinades = 2046 - (1023 - 47) + 1;
  for (long done = 0; done < n; done += kBlock) {
    const long count = std::min(kBlock, n - done);
    v.clear();
    t::AppendRandomBitPatterns(rng, static_cast<int>(count), v);
    differ += CheckAll(v, "random bit patterns");
    v.clear();
    t::AppendRandomInEveryBinade(rng, static_cast<int>(count / kBinades), v);
    differ += CheckAll(v, "random in every binade from 1e-14 up");
  }
  for (long done = 0; done < n / 10; done += kBlock) {
    v.clear();
    t::AppendNearHalfwayPoints(rng, static_cast<int>(std::min(kBlock, n / 10 - done) / 3), 1, v);
    differ += CheckAll(v, "near halfway points (+-1 ulp)");
  }
  v.clear();
  t::AppendExactHalfwayPoints(rng, static_cast<int>(n / 100 / 23), v);
  differ += CheckAll(v, "exact halfway points");
  std::printf("%s\n", differ == 0 ? "all equal" : "TEXTS DIFFER");
  return differ == 0 ? 0 : 1;
}

const std::vector<double>& Values(ValueKind kind) {
  static std::vector<double> sets[4];
  std::vector<double>& v = sets[static_cast<int>(kind)];
  if (v.empty()) v = MakeValues(kind, kValues);
  return v;
}

template <std::size_t (*Write)(double, char*)>
void BM_Text(benchmark::State& state) {
  const std::vector<double>& values = Values(static_cast<ValueKind>(state.range(0)));
  char buf[kRealTextBufSize];
  std::size_t total = 0;
  for (auto _ : state) {
    for (double x : values) total += Write(x, buf);
    benchmark::DoNotOptimize(total);
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(values.size() * state.iterations()));
  state.counters["ns_per_value"] = benchmark::Counter(
      static_cast<double>(values.size()) * static_cast<double>(state.iterations()),
      benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

// With --benchmark_repetitions=N the fastest run is reported too: on a
// shared machine the other runs measure the neighbours as well.
void KindArgs(benchmark::internal::Benchmark* b) {
  b->ArgName("kind")->DenseRange(0, 3)->Unit(benchmark::kMillisecond)->MinTime(1.0);
  b->ComputeStatistics("min", [](const std::vector<double>& v) {
    return *std::min_element(v.begin(), v.end());
  });
}

BENCHMARK_TEMPLATE(BM_Text, parvex::WriteRealText)->Name("fast")->Apply(KindArgs);
BENCHMARK_TEMPLATE(BM_Text, parvex::WriteRealTextByToChars)->Name("to_chars")->Apply(KindArgs);

}  // namespace

int main(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    if (std::strncmp(argv[i], "--sweep=", 8) == 0) return Sweep(std::atol(argv[i] + 8));
  }
  std::printf("kinds: 0 mixed, 1 like a drawing's, 2 random bit patterns, 3 hard cases\n");
  long differ = 0;
  const char* names[] = {"mixed", "like a drawing's", "random bit patterns", "hard cases"};
  for (int k = 0; k < 4; ++k) differ += CheckAll(Values(static_cast<ValueKind>(k)), names[k]);
  if (differ != 0) return 1;
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
