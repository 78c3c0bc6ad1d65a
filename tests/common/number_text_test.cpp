#include "common/number_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace parvex {
namespace {

TEST(NumberText, TextToIntForms) {
  struct Case {
    std::u16string_view text;
    std::int32_t value;
  } cases[] = {
      {u"12", 12},          {u"12a", 0},          {u" 7", 7},          {u"$1F", 31},
      {u"x1f", 31},         {u"0X10", 16},        {u"-5", -5},         {u"+5", 5},
      {u"", 0},             {u" ", 0},            {u"-", 0},           {u"$", 0},
      {u"7 ", 0},           {u"2147483647", 2147483647},               {u"2147483648", 0},
      {u"-2147483648", std::numeric_limits<std::int32_t>::min()},      {u"99999999999999999999", 0},
      {u"$FFFFFFFF", -1},   {u"$100000000", 0},   {u"１", 0},
  };
  for (const auto& c : cases) EXPECT_EQ(TextToInt(c.text), c.value) << std::string(c.text.begin(), c.text.end());
}

TEST(NumberText, TextToFloatForms) {
  struct Case {
    std::u16string_view text;
    double value;
  } cases[] = {
      {u"0.5", 0.5}, {u"1,5", 0},  {u"", 0},       {u"abc", 0},   {u" 2.5 ", 2.5},
      {u"-1e3", -1000}, {u".5", 0.5}, {u"5.", 5}, {u"1e", 0},  {u"1e999", 0},
      {u"inf", 0},   {u"nan", 0},  {u"0x10", 0},   {u"+3", 3},    {u"1.5E-2", 0.015},
  };
  for (const auto& c : cases) EXPECT_EQ(TextToFloat(c.text), c.value) << std::string(c.text.begin(), c.text.end());
}

TEST(NumberText, TextToBoolUpperCasesButDoesNotTrim) {
  for (auto t : {u"tru", u"T", u"true", u"1", u"１", u"○", u"on", u"真", u"正"})
    EXPECT_TRUE(TextToBool(t)) << std::string(t, t + 1);
  for (auto t : {u" 1", u"yes", u"0", u"", u"TRUEX", u"off"}) EXPECT_FALSE(TextToBool(t));
}

TEST(NumberText, FloatToTextGeneralFormat) {
  struct Case {
    double value;
    std::u16string_view text;
  } cases[] = {
      {0.5, u"0.5"},         {1000, u"1000"},        {0.001, u"0.001"},   {-2.25, u"-2.25"},
      {0.1 + 0.2, u"0.3"},   {1e-5, u"0.00001"},     {1.5e-6, u"1.5E-6"}, {1e20, u"1E20"},
      {123456789012345.0, u"123456789012345"},       {1e15, u"1E15"},     {0.0, u"0"},
      {-0.0, u"0"},          {1.0 / 3, u"0.333333333333333"},
      {std::numeric_limits<double>::infinity(), u"INF"},
      {std::nan(""), u"NAN"},
  };
  for (const auto& c : cases) EXPECT_EQ(FloatToText(c.value), c.text) << c.value;
}

TEST(NumberText, FormatFixedRoundsToPlaces) {
  EXPECT_EQ(FormatFixed(2, 296.999), u"297.00");
  EXPECT_EQ(FormatFixed(0, 419.6), u"420");
  EXPECT_EQ(FormatFixed(3, -1.0), u"-1.000");
}

}  // namespace
}  // namespace parvex
