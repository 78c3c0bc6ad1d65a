// Calendar arithmetic on std::chrono's proleptic Gregorian calendar:
// weekdays, the check of a broken-down date and time, and the broken-down
// time of a count of seconds, without asking the OS (so the results do not
// depend on the machine's time zone or C library).
#pragma once

#include <cstdint>
#include <optional>

#include "common/platform/local_time.h"

namespace parvex::calendar {

// 0 = Sunday ... 6 = Saturday, for a real date of the years 1..9999.
int WeekdayOf(int year, int month, int day);

// True when the fields name a real date and time of day (years 1..9999).
bool IsValidDateTime(const platform::LocalDateTime& t);

// Seconds since 1970-01-01 00:00:00 UTC as a UTC date and time, with the
// weekday filled in; nothing when the year would fall outside 1..9999.
std::optional<platform::LocalDateTime> UtcFromUnixSeconds(std::int64_t seconds);

}  // namespace parvex::calendar
