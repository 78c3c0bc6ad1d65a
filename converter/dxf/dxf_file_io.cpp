#include "converter/dxf/dxf_file_io.h"

#include <chrono>
#include <string>

#include "common/platform/files.h"
#include "common/platform/local_time.h"

namespace parvex::dxfio {
namespace {

// A local date and time in days since 1899-12-30 (the time of day as the
// fraction); 0 for a year beyond the calendar's range.
double LocalDateTime(const timespec& t) {
  namespace chr = std::chrono;
  const platform::LocalDateTime local = platform::ToLocal(t);
  if (!local.IsSet()) return 0;
  if (local.Year < static_cast<int>(chr::year::min()) || local.Year > static_cast<int>(chr::year::max()))
    return 0;
  const chr::sys_days date{chr::year{local.Year} / local.Month / local.Day};
  const chr::sys_days epoch{chr::year{1899} / chr::December / 30};
  const double secs = local.Hour * 3600.0 + local.Minute * 60.0 + local.Second + t.tv_nsec * 1e-9;
  return static_cast<double>((date - epoch).count()) + secs / 86400.0;
}

}  // namespace

double FileCreationTime(const std::filesystem::path& p) {
  const auto times = platform::ReadFileTimes(p);
  if (!times || !times->CreationKnown) return 0;
  return LocalDateTime(times->Creation);
}

double FileWriteTime(const std::filesystem::path& p) {
  const auto times = platform::ReadFileTimes(p);
  if (!times) return 0;
  return LocalDateTime(times->Write);
}

}  // namespace parvex::dxfio
