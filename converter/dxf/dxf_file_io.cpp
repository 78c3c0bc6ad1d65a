#include "converter/dxf/dxf_file_io.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <ctime>
#include <string>

namespace parvex::dxfio {
namespace {

// Days from 1970-01-01 to the civil date y-m-d (proleptic Gregorian).
long long DaysFromCivil(long long y, unsigned m, unsigned d) {
  y -= m <= 2;
  const long long era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<long long>(doe) - 719468;
}

double LocalDateTime(std::time_t sec, long nsec) {
  std::tm tm{};
  if (localtime_r(&sec, &tm) == nullptr) return 0;
  const long long days = DaysFromCivil(tm.tm_year + 1900LL, static_cast<unsigned>(tm.tm_mon + 1),
                                       static_cast<unsigned>(tm.tm_mday)) -
                         DaysFromCivil(1899, 12, 30);
  const double secs = tm.tm_hour * 3600.0 + tm.tm_min * 60.0 + tm.tm_sec + nsec * 1e-9;
  return static_cast<double>(days) + secs / 86400.0;
}

}  // namespace

double FileCreationTime(const std::filesystem::path& p) {
  struct statx sx {};
  if (::statx(AT_FDCWD, p.c_str(), 0, STATX_BTIME, &sx) != 0) return 0;
  if ((sx.stx_mask & STATX_BTIME) == 0) return 0;
  return LocalDateTime(static_cast<std::time_t>(sx.stx_btime.tv_sec), sx.stx_btime.tv_nsec);
}

double FileWriteTime(const std::filesystem::path& p) {
  struct stat st {};
  if (::stat(p.c_str(), &st) != 0) return 0;
  return LocalDateTime(st.st_mtim.tv_sec, st.st_mtim.tv_nsec);
}

}  // namespace parvex::dxfio
