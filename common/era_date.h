// Japanese era names for dates, as drawing macros print them.
#pragma once

#include <string>

namespace parvex {

struct EraDate {
  std::u16string Year;        // calendar year, decimal
  std::u16string EraName;     // current era naming (Reiwa from 2019-05-01)
  std::u16string EraYear;
  std::u16string EraNameOld;  // naming that stays with Heisei after 2019
  std::u16string EraYearOld;
};

// Era of a real date of the years 1..9999; before Meiji, and for a date
// that does not exist, the era names and years are empty.
EraDate EraOfDate(int year, int month, int day);

}  // namespace parvex
