#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <random>
#include <string>

#include <gtest/gtest.h>

#include "converter/dxf/dxf_writer.h"

namespace parvex {
namespace {

struct RealCase {
  double value;
  const char* text;
};

TEST(RealToStr, FormatsValues) {
  const double pi = 3.14159265358979323846;
  const RealCase cases[] = {
      {0.0, "0.0"},
      {-0.0, "0.0"},
      {1e-15, "0.0"},
      {-1e-14, "0.0"},
      {1.5e-14, "1.5E-14"},
      {-0.5, "-0.5"},
      {1.0 / 3.0, "0.33333333333333"},
      {2.0 / 3.0, "0.66666666666667"},
      {0.123456789012345678, "0.12345678901235"},
      {0.99999999999999999, "1.0"},
      {2.5, "2.5"},
      {100, "100.0"},
      {-122.394, "-122.394"},
      {0.0001, "0.0001"},
      {0.000015, "1.5E-5"},
      {-2.5e-5, "-2.5E-5"},
      {1e-10, "1.0E-10"},
      {999999999999999.0, "999999999999999.0"},
      {1e15, "1.0E15"},
      {2e15, "2.0E15"},
      {1.5e16, "1.5E16"},
      {123456789012345678.0, "1.23456789012346E17"},
      {pi / 4, "0.78539816339745"},
      {pi / 2, "1.5707963267949"},
      {0.03937007874016, "0.03937007874016"},
      {2415018.5, "2415018.5"},
      {DBL_MAX, "1.79769313486232E308"},
      {-DBL_MAX, "-1.79769313486232E308"},
      {DBL_MIN, "0.0"},
      {std::numeric_limits<double>::denorm_min(), "0.0"},
  };
  for (const RealCase& c : cases) {
    EXPECT_EQ(RealToStr(c.value), c.text) << "value " << c.value;
  }
}

// The number format built the slow way with printf's "%.15g" (which uses
// the same fixed/scientific threshold), for comparison with the fast one.
std::string SlowRealToStr(double x) {
  if (std::fabs(x) <= 1e-14) x = 0;
  char t[64];
  std::snprintf(t, sizeof(t), "%.15g", x);
  std::string text = t;
  std::string mant = text;
  std::string exp;
  const std::size_t e = text.find('e');
  if (e != std::string::npos && e > 0) {
    mant = text.substr(0, e);
    const int n = std::atoi(text.c_str() + e + 1);
    char eb[16];
    std::snprintf(eb, sizeof(eb), "E%d", n);
    exp = eb;
  }
  const double v = std::strtod(mant.c_str(), nullptr);
  const double snapped = std::trunc(std::fabs(v) / 1e-14 + 0.5) * 1e-14;
  std::snprintf(t, sizeof(t), "%.15g", v < 0 ? -snapped : snapped);
  mant = t;
  if (mant == "0" || mant == "-0") return "0.0";
  if (mant.find('.') == std::string::npos) mant.append(".0");
  mant.append(exp);
  return mant;
}

TEST(RealToStr, AgreesWithTheSlowFormatOverManyValues) {
  std::mt19937_64 rng(12345);
  std::uniform_real_distribution<double> mantissa(-10, 10);
  std::uniform_int_distribution<int> exponent(-20, 20);
  for (int i = 0; i < 100000; ++i) {
    double x = mantissa(rng) * std::pow(10.0, exponent(rng));
    if (i % 4 == 0) x = std::round(x * 1000) / 1000;  // few decimals, as drawings have
    ASSERT_EQ(RealToStr(x), SlowRealToStr(x)) << std::hexfloat << x;
  }
  // Values below 1 whose 15th decimal is a 5: the snap to 1e-14 meets a
  // half and the binary value decides.
  std::uniform_int_distribution<long long> digits(10000000000000LL, 99999999999999LL);
  for (int i = 0; i < 20000; ++i) {
    const double x = static_cast<double>(digits(rng) * 10 + 5) * 1e-15;
    ASSERT_EQ(RealToStr(x), SlowRealToStr(x)) << std::hexfloat << x;
    ASSERT_EQ(RealToStr(-x / 100), SlowRealToStr(-x / 100)) << std::hexfloat << -x / 100;
  }
}

TEST(RealToStr, NonFiniteValuesAreWrittenAsZeroAndCounted) {
  DxfPairSink sink;
  DxfWriter w(sink, DxfVersion::R2000);
  w.Real(10, std::numeric_limits<double>::quiet_NaN());
  w.Real(20, std::numeric_limits<double>::infinity());
  w.Real(30, -std::numeric_limits<double>::infinity());
  w.Real(40, 1.0);
  ASSERT_EQ(sink.pairs.size(), 4u);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(sink.pairs[static_cast<std::size_t>(i)].second, "0.0");
  EXPECT_EQ(w.NonFiniteCount(), 3);
}

}  // namespace
}  // namespace parvex
