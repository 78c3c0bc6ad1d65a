// Japanese era names for dates, as drawing macros print them.
#pragma once

#include <string>

#include "common/platform/local_time.h"

namespace parvex {

struct EraDate {
  std::u16string Year;        // calendar year, decimal
  std::u16string EraName;     // current era naming (Reiwa from 2019-05-01)
  std::u16string EraYear;
  std::u16string EraNameOld;  // naming that stays with Heisei after 2019
  std::u16string EraYearOld;
};

// Era of the date; before Meiji the era names and years are empty.
EraDate EraOfDate(int year, int month, int day);
EraDate EraOfDate(const platform::LocalDateTime& t);

}  // namespace parvex
