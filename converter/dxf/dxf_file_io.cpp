#include "converter/dxf/dxf_file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
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

// Opens a new file for writing; fails (-1) when anything exists at the
// path. platform::NewFile does the same but keeps its descriptor private,
// and the writer needs the descriptor itself.
int CreateNewFile(const std::filesystem::path& p) {
  int fd;
  do {
    fd = ::open(p.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  } while (fd < 0 && errno == EINTR);
  return fd;
}

}  // namespace

bool OutputFile::Open(const std::filesystem::path& dst) {
  Abort();
  if (dst.filename().empty()) return false;
  struct stat st {};
  if (::lstat(dst.c_str(), &st) == 0 || errno != ENOENT) return false;
  static unsigned counter = 0;
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::string name(".");
    name.append(dst.filename().string());
    name.append(".");
    name.append(std::to_string(::getpid()));
    name.append(".");
    name.append(std::to_string(counter++));
    name.append(".tmp");
    std::filesystem::path tmp = dst.parent_path() / name;
    const int fd = CreateNewFile(tmp);
    if (fd >= 0) {
      fd_ = fd;
      dst_ = dst;
      tmp_ = std::move(tmp);
      return true;
    }
    if (errno != EEXIST) return false;
  }
  return false;
}

bool OutputFile::Commit() {
  if (fd_ < 0) return false;
  const bool closed = ::close(fd_) == 0;
  fd_ = -1;
  bool named = false;
  if (closed) {
    // A hard link never replaces an existing file. File systems without
    // hard links get a rename that refuses to replace, or failing that a
    // rename after a check.
    if (::link(tmp_.c_str(), dst_.c_str()) == 0) {
      named = true;
    } else if (errno != EEXIST) {
      if (::renameat2(AT_FDCWD, tmp_.c_str(), AT_FDCWD, dst_.c_str(), RENAME_NOREPLACE) == 0) {
        named = true;
      } else if (errno == EINVAL || errno == ENOSYS) {
        struct stat st {};
        if (::lstat(dst_.c_str(), &st) != 0 && errno == ENOENT) {
          named = ::rename(tmp_.c_str(), dst_.c_str()) == 0;
        }
      }
    }
  }
  ::unlink(tmp_.c_str());  // gone already after a rename
  tmp_.clear();
  return named;
}

void OutputFile::Abort() {
  if (fd_ >= 0) {
    ::close(fd_);
    fd_ = -1;
  }
  if (!tmp_.empty()) {
    ::unlink(tmp_.c_str());
    tmp_.clear();
  }
}

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
