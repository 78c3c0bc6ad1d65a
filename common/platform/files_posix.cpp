#include "common/platform/files.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "common/platform/codepage.h"

namespace parvex::platform {

std::filesystem::path PathFromText(std::u16string_view text) {
  std::string utf8 = ToUtf8(text);
  return std::filesystem::path(utf8);
}

std::u16string PathToText(const std::filesystem::path& p) { return FromUtf8(p.native()); }

std::filesystem::path PathFromNarrow(std::string_view text) { return std::filesystem::path(text); }

std::string NarrowFromPath(const std::filesystem::path& p) { return p.native(); }

// ---- descriptors (ReadOnlyFile and NewFile)

bool detail::CloseDescriptor(int fd) { return close(fd) == 0; }

bool detail::FlushDescriptor(int fd) { return fsync(fd) == 0; }

// ---- ReadOnlyFile

std::optional<ReadOnlyFile> ReadOnlyFile::Open(const std::filesystem::path& p) {
  if (p.empty()) return std::nullopt;
  // Opened without waiting: a FIFO put where a file was expected (an
  // image path a drawing names) would otherwise block until a writer comes.
  int fd = open(p.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return std::nullopt;
  struct stat st{};
  if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    close(fd);
    return std::nullopt;
  }
  fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  // A file held by a writer is refused, as a sharing violation would be.
  // File systems without flock support are read unlocked.
  if (flock(fd, LOCK_SH | LOCK_NB) != 0 && errno == EWOULDBLOCK) {
    close(fd);
    return std::nullopt;
  }
  ReadOnlyFile f;
  f.fd_ = fd;
  return f;
}

std::uint64_t ReadOnlyFile::Size() const {
  struct stat st{};
  if (fd_ < 0 || fstat(fd_, &st) != 0) return 0;
  return static_cast<std::uint64_t>(st.st_size);
}

std::size_t ReadOnlyFile::Read(char* buffer, std::size_t n) {
  if (fd_ < 0) return 0;
  std::size_t done = 0;
  while (done < n) {
    ssize_t r = read(fd_, buffer + done, n - done);
    if (r < 0 && errno == EINTR) continue;
    if (r < 0) failed_ = true;
    if (r <= 0) break;
    done += static_cast<std::size_t>(r);
  }
  return done;
}

// ---- NewFile

std::optional<NewFile> NewFile::Create(const std::filesystem::path& p) {
  if (p.empty()) return std::nullopt;
  int fd = open(p.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
  if (fd < 0) return std::nullopt;
  flock(fd, LOCK_EX | LOCK_NB);
  NewFile f;
  f.fd_ = fd;
  f.path_ = p;
  return f;
}

bool NewFile::Write(std::string_view bytes) {
  if (fd_ < 0 || failed_) return false;
  const char* data = bytes.data();
  std::size_t left = bytes.size();
  while (left > 0) {
    ssize_t w = write(fd_, data, left);
    if (w < 0 && errno == EINTR) continue;
    if (w <= 0) {
      failed_ = true;
      return false;
    }
    data += w;
    left -= static_cast<std::size_t>(w);
  }
  return true;
}

bool RemoveFileEntry(const std::filesystem::path& p) {
  if (p.empty()) return false;
  return unlink(p.c_str()) == 0 || errno == ENOENT;
}

bool RemoveEmptyFolder(const std::filesystem::path& p) {
  if (p.empty()) return false;
  // rmdir refuses a folder that still has entries.
  return rmdir(p.c_str()) == 0;
}

bool RenameReplacing(const std::filesystem::path& from, const std::filesystem::path& to) {
  return rename(from.c_str(), to.c_str()) == 0;
}

// ---- times

std::optional<FileTimes> ReadFileTimes(const std::filesystem::path& p) {
  if (p.empty()) return std::nullopt;
  struct statx sx{};
  if (statx(AT_FDCWD, p.c_str(), 0, STATX_BASIC_STATS | STATX_BTIME, &sx) != 0)
    return std::nullopt;
  auto ts = [](const statx_timestamp& s) {
    timespec t{};
    t.tv_sec = s.tv_sec;
    t.tv_nsec = s.tv_nsec;
    return t;
  };
  FileTimes t;
  t.Access = ts(sx.stx_atime);
  t.Write = ts(sx.stx_mtime);
  t.CreationKnown = (sx.stx_mask & STATX_BTIME) != 0;
  t.Creation = t.CreationKnown ? ts(sx.stx_btime) : t.Write;
  return t;
}

bool SetFileTimes(const std::filesystem::path& p, const FileTimes& t) {
  timespec both[2] = {t.Access, t.Write};
  return utimensat(AT_FDCWD, p.c_str(), both, 0) == 0;
}

}  // namespace parvex::platform
