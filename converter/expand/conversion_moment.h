// The moment of conversion that date macros show. Read once per drawing, so
// every text of one drawing shows the same time.
#pragma once

#include <optional>
#include <string_view>

#include "common/platform/local_time.h"
#include "common/result.h"

namespace parvex {

inline constexpr char kSourceDateEpochVariable[] = "SOURCE_DATE_EPOCH";

// The moment from a SOURCE_DATE_EPOCH value (seconds since 1970-01-01
// 00:00:00 UTC, an optional minus sign and decimal digits, nothing else),
// as a UTC date and time so that it does not depend on the machine's time
// zone. Fails for any other text and for dates outside the years 1..9999.
Result<platform::LocalDateTime> MomentFromSourceDateEpoch(std::string_view value);

// The moment of conversion: from the environment variable SOURCE_DATE_EPOCH
// when it is set and not empty (the reproducible-builds convention, so that
// the same drawing converts to the same bytes), else the local clock. Fails
// when the variable is set to something that is not such a time.
Result<platform::LocalDateTime> ConversionMoment();

}  // namespace parvex
