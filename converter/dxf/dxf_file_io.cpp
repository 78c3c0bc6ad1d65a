#include "converter/dxf/dxf_file_io.h"

#include <string>

#include "common/platform/files.h"
#include "common/platform/local_time.h"

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

double LocalDateTime(const timespec& t) {
  const platform::LocalDateTime local = platform::ToLocal(t);
  if (!local.IsSet()) return 0;
  const long long days = DaysFromCivil(local.Year, static_cast<unsigned>(local.Month),
                                       static_cast<unsigned>(local.Day)) -
                         DaysFromCivil(1899, 12, 30);
  const double secs = local.Hour * 3600.0 + local.Minute * 60.0 + local.Second + t.tv_nsec * 1e-9;
  return static_cast<double>(days) + secs / 86400.0;
}

}  // namespace

bool OutputFile::Open(const std::filesystem::path& dst) {
  const Status opened = file_.Open(dst);
  failure_ = opened.reason();
  return opened.ok();
}

bool OutputFile::Commit() {
  const Status named = file_.Commit();
  failure_ = named.reason();
  return named.ok();
}

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
