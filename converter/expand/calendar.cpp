#include "converter/expand/calendar.h"

namespace parvex::calendar {
namespace {

// Floor division for negative day counts.
std::int64_t FloorDiv(std::int64_t a, std::int64_t b) {
  std::int64_t q = a / b;
  return (a % b != 0 && ((a < 0) != (b < 0))) ? q - 1 : q;
}

struct Civil {
  std::int64_t year;
  int month;
  int day;
};

// Inverse of DaysFromCivil (eras of 400 years, March-based years).
Civil CivilFromDays(std::int64_t z) {
  z += 719468;
  const std::int64_t era = FloorDiv(z, 146097);
  const std::int64_t doe = z - era * 146097;
  const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const std::int64_t mp = (5 * doy + 2) / 153;
  const int day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  const int month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  const std::int64_t year = yoe + era * 400 + (month <= 2 ? 1 : 0);
  return {year, month, day};
}

bool IsLeapYear(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int DaysInMonth(int y, int m) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return m == 2 && IsLeapYear(y) ? 29 : kDays[m - 1];
}

}  // namespace

std::int64_t DaysFromCivil(std::int64_t year, int month, int day) {
  const std::int64_t y = year - (month <= 2 ? 1 : 0);
  const std::int64_t era = FloorDiv(y, 400);
  const std::int64_t yoe = y - era * 400;
  const std::int64_t mp = month > 2 ? month - 3 : month + 9;
  const std::int64_t doy = (153 * mp + 2) / 5 + day - 1;
  const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

int WeekdayOf(int year, int month, int day) {
  // 1970-01-01 was a Thursday.
  std::int64_t w = (DaysFromCivil(year, month, day) + 4) % 7;
  return static_cast<int>(w < 0 ? w + 7 : w);
}

bool IsValidDateTime(const platform::LocalDateTime& t) {
  if (t.Year < 1 || t.Year > 9999 || t.Month < 1 || t.Month > 12) return false;
  if (t.Day < 1 || t.Day > DaysInMonth(t.Year, t.Month)) return false;
  return t.Hour >= 0 && t.Hour <= 23 && t.Minute >= 0 && t.Minute <= 59 && t.Second >= 0 &&
         t.Second <= 59;
}

std::optional<platform::LocalDateTime> UtcFromUnixSeconds(std::int64_t seconds) {
  // Years 1..9999 span well under 2^40 seconds either side of 1970; the
  // bound keeps the arithmetic below far from overflow.
  constexpr std::int64_t kLimit = std::int64_t{1} << 40;
  if (seconds < -kLimit || seconds > kLimit) return std::nullopt;
  const std::int64_t days = FloorDiv(seconds, 86400);
  const std::int64_t secondOfDay = seconds - days * 86400;
  const Civil c = CivilFromDays(days);
  if (c.year < 1 || c.year > 9999) return std::nullopt;
  platform::LocalDateTime t;
  t.Year = static_cast<int>(c.year);
  t.Month = c.month;
  t.Day = c.day;
  t.Hour = static_cast<int>(secondOfDay / 3600);
  t.Minute = static_cast<int>(secondOfDay / 60 % 60);
  t.Second = static_cast<int>(secondOfDay % 60);
  t.DayOfWeek = WeekdayOf(t.Year, t.Month, t.Day);
  return t;
}

}  // namespace parvex::calendar
