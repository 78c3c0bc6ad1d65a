#include "common/era_date.h"

#include <chrono>

#include "common/number_text.h"

namespace parvex {

namespace {

namespace chr = std::chrono;

// First days of the eras, and the last day that Reiwa's start leaves to
// Heisei.
constexpr chr::year_month_day kMeiji = chr::year{1868} / chr::October / 23;
constexpr chr::year_month_day kTaisho = chr::year{1912} / chr::July / 30;
constexpr chr::year_month_day kShowa = chr::year{1926} / chr::December / 25;
constexpr chr::year_month_day kHeisei = chr::year{1989} / chr::January / 8;
constexpr chr::year_month_day kReiwa = chr::year{2019} / chr::May / 1;

}  // namespace

EraDate EraOfDate(int year, int month, int day) {
  EraDate e;
  e.Year = IntToText(year);
  const chr::year_month_day date{chr::year{year}, chr::month{static_cast<unsigned>(month)},
                                 chr::day{static_cast<unsigned>(day)}};
  if (year < 1 || year > 9999 || !date.ok()) return e;
  if (date >= kHeisei) {
    e.EraNameOld = u"平成";
    e.EraYearOld = IntToText(year - 1988);
  } else if (date >= kShowa) {
    e.EraNameOld = u"昭和";
    e.EraYearOld = IntToText(year - 1925);
  } else if (date >= kTaisho) {
    e.EraNameOld = u"大正";
    e.EraYearOld = IntToText(year - 1911);
  } else if (date >= kMeiji) {
    e.EraNameOld = u"明治";
    e.EraYearOld = IntToText(year - 1867);
  }
  e.EraName = e.EraNameOld;
  e.EraYear = e.EraYearOld;
  if (date >= kReiwa) {
    e.EraName = u"令和";
    e.EraYear = IntToText(year - 2018);
  }
  return e;
}

}  // namespace parvex
