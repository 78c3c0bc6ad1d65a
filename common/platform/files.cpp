#include "common/platform/files.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

#include "common/platform/codepage.h"

namespace parvex::platform {

std::filesystem::path PathFromText(std::u16string_view text) {
  std::string utf8 = ToUtf8(text);
  return std::filesystem::path(utf8);
}

std::u16string PathToText(const std::filesystem::path& p) { return FromUtf8(p.native()); }

// ---- ReadOnlyFile

ReadOnlyFile::~ReadOnlyFile() {
  if (fd_ >= 0) close(fd_);
}

ReadOnlyFile::ReadOnlyFile(ReadOnlyFile&& other) noexcept
    : fd_(other.fd_), failed_(other.failed_) {
  other.fd_ = -1;
}

ReadOnlyFile& ReadOnlyFile::operator=(ReadOnlyFile&& other) noexcept {
  if (this != &other) {
    if (fd_ >= 0) close(fd_);
    fd_ = other.fd_;
    failed_ = other.failed_;
    other.fd_ = -1;
  }
  return *this;
}

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

std::optional<std::string> ReadFileBytes(const std::filesystem::path& p,
                                         std::uint64_t maxBytes) {
  auto f = ReadOnlyFile::Open(p);
  if (!f) return std::nullopt;
  std::uint64_t size = f->Size();
  if (size > maxBytes) return std::nullopt;
  std::string data(static_cast<std::size_t>(size), '\0');
  std::size_t got = f->Read(data.data(), data.size());
  data.resize(got);
  // A file that grew while we read is taken up to maxBytes only.
  char extra[4096];
  for (;;) {
    std::size_t more = f->Read(extra, sizeof extra);
    if (more == 0) break;
    if (data.size() + more > maxBytes) return std::nullopt;
    data.append(extra, more);
  }
  // A read error is no end of file: a cut-off content is not returned.
  if (f->Failed()) return std::nullopt;
  return data;
}

// ---- NewFile

NewFile::~NewFile() { Discard(); }

NewFile::NewFile(NewFile&& other) noexcept
    : fd_(other.fd_), failed_(other.failed_), path_(std::move(other.path_)) {
  other.fd_ = -1;
}

NewFile& NewFile::operator=(NewFile&& other) noexcept {
  if (this != &other) {
    Discard();
    fd_ = other.fd_;
    failed_ = other.failed_;
    path_ = std::move(other.path_);
    other.fd_ = -1;
  }
  return *this;
}

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

bool NewFile::Commit() { return Finish(true); }

bool NewFile::Close() { return Finish(false); }

bool NewFile::Finish(bool durable) {
  if (fd_ < 0) return false;
  bool ok = !failed_ && (!durable || fsync(fd_) == 0);
  ok = close(fd_) == 0 && ok;
  fd_ = -1;
  if (!ok) {
    unlink(path_.c_str());
    return false;
  }
  return true;
}

void NewFile::Discard() {
  if (fd_ < 0) return;
  close(fd_);
  fd_ = -1;
  unlink(path_.c_str());
}

bool RemoveFileEntry(const std::filesystem::path& p) {
  if (p.empty()) return false;
  return unlink(p.c_str()) == 0 || errno == ENOENT;
}

// ---- replace

bool ReplaceFileContent(const std::filesystem::path& p, std::string_view bytes,
                        bool removeOnFailure) {
  if (p.empty() || !p.has_filename()) return false;
  bool ok = false;
  for (int attempt = 0; attempt < 100 && !ok; ++attempt) {
    std::filesystem::path tmp = p;
    tmp += ".tmp" + std::to_string(getpid()) + "_" + std::to_string(attempt);
    auto f = NewFile::Create(tmp);
    if (!f) {
      if (errno == EEXIST) continue;
      break;
    }
    if (!f->Write(bytes) || !f->Commit()) break;
    if (rename(tmp.c_str(), p.c_str()) != 0) {
      unlink(tmp.c_str());
      break;
    }
    ok = true;
  }
  if (!ok && removeOnFailure) {
    std::error_code ec;
    if (!std::filesystem::is_directory(p, ec)) std::filesystem::remove(p, ec);
  }
  return ok;
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
  t.Creation = (sx.stx_mask & STATX_BTIME) ? ts(sx.stx_btime) : t.Write;
  return t;
}

bool SetFileTimes(const std::filesystem::path& p, const FileTimes& t) {
  timespec both[2] = {t.Access, t.Write};
  return utimensat(AT_FDCWD, p.c_str(), both, 0) == 0;
}

}  // namespace parvex::platform
