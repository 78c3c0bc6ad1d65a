#include "common/platform/local_time.h"

#include <limits>

namespace parvex::platform {

LocalDateTime ToLocal(const timespec& t) {
  std::tm tm{};
  time_t secs = t.tv_sec;
  if (localtime_r(&secs, &tm) == nullptr) return {};
  // A year that an int cannot hold is no time.
  if (tm.tm_year > std::numeric_limits<int>::max() - 1900) return {};
  LocalDateTime r;
  r.Year = tm.tm_year + 1900;
  r.Month = tm.tm_mon + 1;
  r.Day = tm.tm_mday;
  r.Hour = tm.tm_hour;
  r.Minute = tm.tm_min;
  r.Second = tm.tm_sec > 59 ? 59 : tm.tm_sec;
  r.Millisecond = static_cast<int>(t.tv_nsec / 1000000);
  r.DayOfWeek = tm.tm_wday;
  return r;
}

LocalDateTime Now() {
  timespec t{};
  clock_gettime(CLOCK_REALTIME, &t);
  return ToLocal(t);
}

}  // namespace parvex::platform
