#include "converter/expand/calendar.h"

#include <chrono>

namespace parvex::calendar {
namespace {

namespace chr = std::chrono;

constexpr int kFirstYear = 1;
constexpr int kLastYear = 9999;

// The date of the fields; only meaningful for years within the range above.
chr::year_month_day DateOf(int year, int month, int day) {
  return {chr::year{year}, chr::month{static_cast<unsigned>(month)}, chr::day{static_cast<unsigned>(day)}};
}

}  // namespace

int WeekdayOf(int year, int month, int day) {
  return static_cast<int>(chr::weekday{chr::sys_days{DateOf(year, month, day)}}.c_encoding());
}

bool IsValidDateTime(const platform::LocalDateTime& t) {
  if (t.Year < kFirstYear || t.Year > kLastYear || t.Month < 1 || t.Month > 12 || t.Day < 1 || t.Day > 31)
    return false;
  if (!DateOf(t.Year, t.Month, t.Day).ok()) return false;
  return t.Hour >= 0 && t.Hour <= 23 && t.Minute >= 0 && t.Minute <= 59 && t.Second >= 0 &&
         t.Second <= 59;
}

std::optional<platform::LocalDateTime> UtcFromUnixSeconds(std::int64_t seconds) {
  // Years 1..9999 lie within 2^38 seconds (about 8700 years) either side
  // of 1970; the bound keeps every year the calendar computes within the
  // range std::chrono::year can hold, so none wraps into 1..9999.
  constexpr std::int64_t kLimit = std::int64_t{1} << 38;
  if (seconds < -kLimit || seconds > kLimit) return std::nullopt;
  const chr::sys_seconds moment{chr::seconds{seconds}};
  const chr::sys_days date = chr::floor<chr::days>(moment);
  const chr::year_month_day ymd{date};
  const int year = static_cast<int>(ymd.year());
  if (year < kFirstYear || year > kLastYear) return std::nullopt;
  const chr::hh_mm_ss<chr::seconds> time{moment - date};
  platform::LocalDateTime t;
  t.Year = year;
  t.Month = static_cast<int>(static_cast<unsigned>(ymd.month()));
  t.Day = static_cast<int>(static_cast<unsigned>(ymd.day()));
  t.Hour = static_cast<int>(time.hours().count());
  t.Minute = static_cast<int>(time.minutes().count());
  t.Second = static_cast<int>(time.seconds().count());
  t.DayOfWeek = static_cast<int>(chr::weekday{date}.c_encoding());
  return t;
}

}  // namespace parvex::calendar
