// Sections formatted on several threads: the bytes are those of one thread,
// chunks are cut without losing or repeating an entry, and a failure inside
// a thread reaches the caller.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <stdexcept>
#include <string>
#include <vector>

#include "converter/dxf/dxf_default_tables.h"
#include "converter/dxf/dxf_model.h"
#include "converter/dxf/dxf_parallel_write.h"
#include "converter/dxf/dxf_writer.h"

namespace parvex {
namespace {

// Many entities of several kinds at the top level (model space, paper
// space, two further layouts), many small block definitions, some empty,
// and one large one; a non-finite coordinate in each of ENTITIES and
// BLOCKS.
void FillLargeModel(TDXFmodel& m, DxfVersion ver) {
  m.SetDXFVer(ver, OutputSpace::ModelAndPaper);
  m.SetAppName(u"parallel");
  m.SetPap(0, 0, 420, 297, 420, 297);
  m.SetScale(1);
  m.Ltn = 3;
  AddDefaultLtypes(m);
  AddDefaultLayers(m);
  AddDefaultStyles(m);
  std::vector<int> blocks;
  for (int b = 0; b < 300; ++b) {
    const int j = m.AddBlockDef(u"B" + std::u16string(1, static_cast<char16_t>(u'a' + b % 26)), b);
    blocks.push_back(j);
    for (int k = 0; k < b % 4; ++k) {
      const double y = k;
      m.AddLine(j, {.x1 = y / 10, .x2 = b + 0.5, .y2 = y});
    }
  }
  const int big = m.AddBlockDef(u"BIG", 1000);
  for (int k = 0; k < 5000; ++k) {
    const double r = 1 + k % 7;
    m.AddArc(big, {.x = k / 3.0, .r = r, .sweep = 45});
  }
  m.AddLine(big, {.x2 = std::numeric_limits<double>::quiet_NaN()});

  const std::vector<TDXF_PLinePoint> poly = {{0, 0, 0}, {10, 0, 1.5}, {10, 10, 0}};
  for (int k = 0; k < 12000; ++k) {
    const double x = k * 0.37;
    const double angle = k % 360;
    const DxfAttributes a{.space = k % 50 == 0 ? 1 + k / 50 % 3 : 0, .colour = 1 + k % 7};
    const std::u16string text = u"文字 " + std::u16string(1, static_cast<char16_t>(u'0' + k % 10));
    switch (k % 6) {
      case 0:
        m.AddLine(kTopLevel, {.attr = a, .x1 = x, .y1 = -x, .x2 = x / 7, .y2 = 1e-5 * k});
        break;
      case 1:
        m.AddArc(kTopLevel, {.attr = a, .x = x, .y = 2, .r = 3, .start = angle, .sweep = 30});
        break;
      case 2:
        m.AddMoji(kTopLevel, {.attr = a, .x1 = x, .x2 = x + 9, .w = 3, .h = 3, .st = text});
        break;
      case 3:
        m.AddPLine(kTopLevel, {.attr = a, .v = poly});
        break;
      case 4:
        m.AddBlock(kTopLevel, {.attr = a, .bln = blocks[static_cast<std::size_t>(k % 300)], .x = x});
        break;
      default:
        m.AddArc(kTopLevel, {.attr = a, .x = x, .r = 2, .ratio = 0.5, .sweep = 360, .axis = angle});
        break;
    }
  }
  m.AddLine(kTopLevel, {.x1 = std::numeric_limits<double>::infinity()});
}

struct Written {
  std::string bytes;
  long long nonFinite = 0;
};

Written Write(DxfVersion ver, int threads) {
  TDXFmodel m;
  FillLargeModel(m, ver);
  m.writeThreads = threads;
  DxfStringOutput out;
  DxfTextSink sink(out);
  EXPECT_TRUE(m.WriteDXF("/nonexistent/source.jww", sink));
  return {std::move(out.bytes), m.NonFiniteWritten()};
}

TEST(ParallelWrite, SameBytesWithAnyNumberOfThreads) {
  for (DxfVersion ver : {DxfVersion::R12, DxfVersion::R2000, DxfVersion::R2007}) {
    SCOPED_TRACE(SettingNumber(ver));
    const Written one = Write(ver, 1);
    ASSERT_GT(one.bytes.size(), 1'000'000u);
    EXPECT_EQ(one.nonFinite, 2);
    for (int threads : {2, 3, 8}) {
      const Written many = Write(ver, threads);
      EXPECT_TRUE(many.bytes == one.bytes) << threads << " threads";
      EXPECT_EQ(many.nonFinite, one.nonFinite) << threads << " threads";
    }
  }
}

// Each unit's entries appear once, in order, and head/tail mark its first
// and last run; no chunk holds more than the chunk size.
TEST(ParallelWrite, ChunksCoverEveryEntryOnce) {
  const std::vector<std::vector<std::size_t>> cases = {
      {}, {0}, {1}, {4}, {5}, {8}, {0, 0, 0}, {3, 0, 9, 1}, {13, 13}, {0, 17, 0}};
  for (std::size_t size : {1u, 4u}) {
    for (const std::vector<std::size_t>& units : cases) {
      SCOPED_TRACE(testing::PrintToString(units) + " by " + std::to_string(size));
      const auto chunks = SplitIntoChunks(units, size);
      std::vector<std::size_t> next(units.size(), 0);
      std::size_t lastUnit = 0;
      for (const std::vector<DxfEntryRun>& chunk : chunks) {
        ASSERT_FALSE(chunk.empty());
        std::size_t load = 0;
        for (const DxfEntryRun& r : chunk) {
          ASSERT_LT(r.unit, units.size());
          EXPECT_GE(r.unit, lastUnit);
          lastUnit = r.unit;
          EXPECT_EQ(r.first, next[r.unit]);
          EXPECT_EQ(r.head, r.first == 0);
          EXPECT_EQ(r.tail, r.last == units[r.unit]);
          EXPECT_TRUE(r.last > r.first || units[r.unit] == 0);
          next[r.unit] = r.last;
          load += std::max<std::size_t>(r.last - r.first, 1);
        }
        EXPECT_LE(load, size);
      }
      EXPECT_EQ(next, units);
    }
  }
}

// A formatter that throws in one chunk: the exception reaches the caller
// after the threads ended, whatever the number of threads, and nothing
// of a later chunk is written.
TEST(ParallelWrite, FailureInAChunkReachesTheCaller) {
  for (int threads : {1, 2, 4}) {
    SCOPED_TRACE(threads);
    DxfStringOutput out;
    DxfTextSink sink(out);
    DxfWriter w(sink, DxfVersion::R2000);
    w.SetThreads(threads);
    auto make = [](DxfWriter& cw) -> DxfChunkFormatter {
      return [&cw](std::size_t i) {
        if (i == 37) throw std::runtime_error("chunk 37");
        cw.Int(90, static_cast<int>(i));
      };
    };
    EXPECT_THROW(WriteChunksInOrder(w, 100, make), std::runtime_error);
    ASSERT_TRUE(sink.Flush());
    EXPECT_EQ(out.bytes.find("       37\r\n"), std::string::npos);
    EXPECT_EQ(out.bytes.find("       38\r\n"), std::string::npos);
    EXPECT_NE(out.bytes.find("       36\r\n"), std::string::npos);
  }
}

}  // namespace
}  // namespace parvex
