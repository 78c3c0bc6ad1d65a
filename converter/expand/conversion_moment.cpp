#include "converter/expand/conversion_moment.h"

#include <cstdint>
#include <cstdlib>
#include <string>

#include "converter/expand/calendar.h"

namespace parvex {

Result<platform::LocalDateTime> MomentFromSourceDateEpoch(std::string_view value) {
  const std::string shown(value.substr(0, 40));
  auto refuse = [&shown]() {
    return Fail(std::string(kSourceDateEpochVariable) + " is not a number of seconds since 1970: \"" +
                shown + "\"");
  };
  size_t i = 0;
  const bool negative = !value.empty() && value[0] == '-';
  if (negative) i = 1;
  if (i >= value.size()) return refuse();
  std::int64_t seconds = 0;
  for (; i < value.size(); ++i) {
    const char c = value[i];
    if (c < '0' || c > '9') return refuse();
    // Eighteen digits already lie far beyond the year 9999.
    if (seconds > 100000000000000000LL) return refuse();
    seconds = seconds * 10 + (c - '0');
  }
  if (negative) seconds = -seconds;
  std::optional<platform::LocalDateTime> t = calendar::UtcFromUnixSeconds(seconds);
  if (!t) {
    return Fail(std::string(kSourceDateEpochVariable) + " lies outside the years 1 to 9999: \"" +
                shown + "\"");
  }
  return *t;
}

Result<platform::LocalDateTime> ConversionMoment() {
  const char* value = std::getenv(kSourceDateEpochVariable);
  if (value != nullptr && *value != '\0') return MomentFromSourceDateEpoch(value);
  return platform::Now();
}

}  // namespace parvex
