#include "common/era_date.h"

#include "common/number_text.h"

namespace parvex {

EraDate EraOfDate(int year, int month, int day) {
  EraDate e;
  e.Year = IntToText(year);
  long d = year * 10000L + month * 100L + day;
  if (d >= 19890108) {
    e.EraNameOld = u"平成";
    e.EraYearOld = IntToText(year - 1988);
  } else if (d >= 19261225) {
    e.EraNameOld = u"昭和";
    e.EraYearOld = IntToText(year - 1925);
  } else if (d > 19120729) {
    e.EraNameOld = u"大正";
    e.EraYearOld = IntToText(year - 1911);
  } else if (d > 18681022) {
    e.EraNameOld = u"明治";
    e.EraYearOld = IntToText(year - 1867);
  }
  e.EraName = e.EraNameOld;
  e.EraYear = e.EraYearOld;
  if (d > 20190500) {
    e.EraName = u"令和";
    e.EraYear = IntToText(year - 2018);
  }
  return e;
}

EraDate EraOfDate(const platform::LocalDateTime& t) { return EraOfDate(t.Year, t.Month, t.Day); }

}  // namespace parvex
