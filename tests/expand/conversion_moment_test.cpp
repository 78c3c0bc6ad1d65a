#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "converter/expand/conversion_moment.h"
#include "tests/support/environment.h"

namespace parvex {
namespace {

using testing::RemoveVariable;
using testing::SetVariable;

TEST(ConversionMoment, SourceDateEpochValues) {
  struct Case {
    const char* value;
    int y, mo, d, h, mi, s, weekday;
  } cases[] = {
      {"0", 1970, 1, 1, 0, 0, 0, 4},
      {"1700000000", 2023, 11, 14, 22, 13, 20, 2},
      {"951782400", 2000, 2, 29, 0, 0, 0, 2},
      {"-1", 1969, 12, 31, 23, 59, 59, 3},
      {"-62135596800", 1, 1, 1, 0, 0, 0, 1},
      {"253402300799", 9999, 12, 31, 23, 59, 59, 5},
  };
  for (const auto& c : cases) {
    auto t = MomentFromSourceDateEpoch(c.value);
    ASSERT_TRUE(t.ok()) << c.value << ": " << t.reason();
    EXPECT_EQ(t->Year, c.y) << c.value;
    EXPECT_EQ(t->Month, c.mo) << c.value;
    EXPECT_EQ(t->Day, c.d) << c.value;
    EXPECT_EQ(t->Hour, c.h) << c.value;
    EXPECT_EQ(t->Minute, c.mi) << c.value;
    EXPECT_EQ(t->Second, c.s) << c.value;
    EXPECT_EQ(t->DayOfWeek, c.weekday) << c.value;
  }
  for (const char* bad : {"", "-", "12a", " 12", "1.5", "+5", "253402300800", "-62135596801",
                          "1099511627776", "-1099511627776", "99999999999999999999999999"}) {
    auto t = MomentFromSourceDateEpoch(bad);
    EXPECT_FALSE(t.ok()) << bad;
    EXPECT_NE(t.reason().find("SOURCE_DATE_EPOCH"), std::string::npos) << bad;
  }
}

// Restores the variable as the test found it.
class SourceDateEpoch : public ::testing::Test {
 protected:
  void SetUp() override {
    if (const char* v = std::getenv(kSourceDateEpochVariable)) saved_ = v;
  }
  void TearDown() override {
    if (saved_) {
      SetVariable(kSourceDateEpochVariable, saved_->c_str());
    } else {
      RemoveVariable(kSourceDateEpochVariable);
    }
  }
  std::optional<std::string> saved_;
};

TEST_F(SourceDateEpoch, TheVariableWinsOverTheClock) {
  SetVariable(kSourceDateEpochVariable, "86400");
  auto set = ConversionMoment();
  ASSERT_TRUE(set.ok());
  EXPECT_EQ(set->Year, 1970);
  EXPECT_EQ(set->Day, 2);

  SetVariable(kSourceDateEpochVariable, "tomorrow");
  EXPECT_FALSE(ConversionMoment().ok());

  // Empty counts as unset: the clock, which is well past 1970.
  SetVariable(kSourceDateEpochVariable, "");
  auto clock = ConversionMoment();
  ASSERT_TRUE(clock.ok());
  EXPECT_GT(clock->Year, 2020);
  RemoveVariable(kSourceDateEpochVariable);
  EXPECT_TRUE(ConversionMoment().ok());
}

}  // namespace
}  // namespace parvex
