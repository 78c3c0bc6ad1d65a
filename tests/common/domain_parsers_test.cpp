#include <gtest/gtest.h>

#include "common/era_date.h"
#include "common/image_text.h"
#include "common/line_pattern.h"

namespace parvex {
namespace {

TEST(EraDate, BoundariesOfEras) {
  struct Case {
    int y, m, d;
    std::u16string_view name, year, oldName, oldYear;
  } cases[] = {
      {2019, 4, 30, u"平成", u"31", u"平成", u"31"},
      {2019, 5, 1, u"令和", u"1", u"平成", u"31"},
      {1989, 1, 7, u"昭和", u"64", u"昭和", u"64"},
      {1989, 1, 8, u"平成", u"1", u"平成", u"1"},
      {1926, 12, 25, u"昭和", u"1", u"昭和", u"1"},
      {1912, 7, 29, u"明治", u"45", u"明治", u"45"},
      {1912, 7, 30, u"大正", u"1", u"大正", u"1"},
      {1868, 10, 22, u"", u"", u"", u""},
  };
  EXPECT_EQ(EraOfDate(2019, 5, 1).Year, u"2019");
  for (const auto& c : cases) {
    EraDate e = EraOfDate(c.y, c.m, c.d);
    EXPECT_EQ(e.EraName, c.name) << c.y << "-" << c.m << "-" << c.d;
    EXPECT_EQ(e.EraYear, c.year) << c.y;
    EXPECT_EQ(e.EraNameOld, c.oldName) << c.y;
    EXPECT_EQ(e.EraYearOld, c.oldYear) << c.y;
  }
}

TEST(ImageText, FieldCounts) {
  auto one = ParseImageText(u"^@BMa.bmp,100");
  EXPECT_EQ(one.Name, u"a.bmp");
  EXPECT_EQ(one.W, 100);
  EXPECT_EQ(one.H, 100);
  EXPECT_TRUE(one.Incomplete);

  auto two = ParseImageText(u"^@BMa.bmp,100,50");
  EXPECT_EQ(two.H, 50);
  EXPECT_TRUE(two.Incomplete);

  auto seven = ParseImageText(u"^@BMa.bmp,1,2,3,4,5,6,7");
  EXPECT_FALSE(seven.Incomplete);
  EXPECT_EQ(seven.I7, 7);
  EXPECT_EQ(seven.I8, 0);
  EXPECT_EQ(seven.I9, 0);

  auto nine = ParseImageText(u"^@BMc:\\img\\b.jpg,1,2,3,4,5,6,7,8,9,extra,10");
  EXPECT_EQ(nine.Name, u"c:\\img\\b.jpg");
  EXPECT_EQ(nine.F5, 5);
  EXPECT_EQ(nine.F6, 6);
  EXPECT_EQ(nine.I9, 9);

  auto six = ParseImageText(u"^@BMa.bmp,1,2,3,4,5,6");
  EXPECT_EQ(six.I7, -1);
  EXPECT_EQ(six.I8, -1);

  for (auto bad : {u"@BMa.bmp,1,2,3", u"^@BMa.bmp", u""}) {
    auto f = ParseImageText(bad);
    EXPECT_TRUE(f.Incomplete);
    EXPECT_EQ(f.Name, u"");
    EXPECT_EQ(f.F5, 1);
  }
}

TEST(LinePattern, PeriodsAndRuns) {
  struct Case {
    std::uint32_t pattern;
    double pitch;
    std::vector<double> dashes;
  } cases[] = {
      {0xFF00FF00u, 1, {8, -8}},
      {0xAAAAAAAAu, 1, {1, -1}},
      {0xFFFFFFFFu, 2, {64}},
      {0xF0F0F0F0u, 0.5, {2, -2}},         // 8-bit period, nibbles differ
      {0xCCCCCCCCu, 1, {2, -2}},           // 4-bit period 1100
      {0xFFFF0000u, 1, {16, -16}},
      {0xFF18FF18u, 1, {8, -3, 2, -3}},    // 16-bit period
      {0x12345678u, 1, {-3, 1, -2, 1, -3, 2, -1, 1, -3, 1, -1, 1, -1, 2, -2, 4, -3}},
  };
  for (const auto& c : cases) EXPECT_EQ(LinePatternToDashes(c.pattern, c.pitch), c.dashes) << std::hex << c.pattern;
}

}  // namespace
}  // namespace parvex
