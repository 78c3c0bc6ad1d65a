#include "common/platform/local_time.h"
#include "common/platform/win32_support.h"

namespace parvex::platform {

LocalDateTime ToLocal(const timespec& t) {
  FILETIME utcTime{};
  SYSTEMTIME utc{}, local{};
  if (!detail::FileTimeFromTimespec(t, utcTime) || !FileTimeToSystemTime(&utcTime, &utc) ||
      !SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local))
    return {};
  LocalDateTime r;
  r.Year = local.wYear;
  r.Month = local.wMonth;
  r.Day = local.wDay;
  r.Hour = local.wHour;
  r.Minute = local.wMinute;
  r.Second = local.wSecond;
  r.Millisecond = static_cast<int>(t.tv_nsec / 1000000);
  r.DayOfWeek = local.wDayOfWeek;
  return r;
}

LocalDateTime Now() {
  FILETIME now{};
  GetSystemTimePreciseAsFileTime(&now);
  return ToLocal(detail::TimespecFromFileTime(now));
}

}  // namespace parvex::platform
