#include "converter/dxf/dxf_file_io.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <chrono>
#include <ctime>
#include <string>

namespace parvex::dxfio {
namespace {

// A local date and time in days since 1899-12-30 (the time of day as the
// fraction); 0 for a year beyond the calendar's range.
double LocalDateTime(std::time_t sec, long nsec) {
  namespace chr = std::chrono;
  std::tm tm{};
  if (localtime_r(&sec, &tm) == nullptr) return 0;
  const long long year = tm.tm_year + 1900LL;
  if (year < static_cast<int>(chr::year::min()) || year > static_cast<int>(chr::year::max())) return 0;
  const chr::sys_days date{chr::year{static_cast<int>(year)} / (tm.tm_mon + 1) / tm.tm_mday};
  const chr::sys_days epoch{chr::year{1899} / chr::December / 30};
  const double secs = tm.tm_hour * 3600.0 + tm.tm_min * 60.0 + tm.tm_sec + nsec * 1e-9;
  return static_cast<double>((date - epoch).count()) + secs / 86400.0;
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
