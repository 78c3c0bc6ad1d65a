// Local calendar time, as the drawing macros and file time stamps show it.
#pragma once

#include <ctime>

namespace parvex::platform {

// A broken-down local date and time. All fields 0 means "no time" (a file
// that is missing or whose time cannot be read).
struct LocalDateTime {
  int Year = 0;
  int Month = 0;  // 1..12
  int Day = 0;    // 1..31
  int Hour = 0;
  int Minute = 0;
  int Second = 0;
  int Millisecond = 0;
  int DayOfWeek = 0;  // 0 = Sunday

  bool IsSet() const { return Year != 0 || Month != 0 || Day != 0; }
};

LocalDateTime Now();
// Seconds and nanoseconds since the Unix epoch to local time; an
// unrepresentable time gives the unset value.
LocalDateTime ToLocal(const timespec& t);

}  // namespace parvex::platform
