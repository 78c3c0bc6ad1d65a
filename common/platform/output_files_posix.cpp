#include "common/platform/output_files.h"

#include <fcntl.h>
#include <pthread.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <string>

#include "common/platform/folder_entries.h"
#include "common/platform/scratch_names.h"

namespace parvex::platform {

namespace {

// The temporary files a termination signal removes, one slot per file
// being written (a process may write several at once, one per thread). A
// slot's path is written only while its state is free and the thread owns
// it; the handler reads the paths of the slots in use.
constexpr int kPendingSlots = 128;
constexpr int kSlotFree = 0, kSlotFilling = 1, kSlotInUse = 2;
char pendingPath[kPendingSlots][4096];
std::atomic<int> pendingState[kPendingSlots];
static_assert(std::atomic<int>::is_always_lock_free);

void RememberPending(const std::filesystem::path& p) {
  const std::string& s = p.native();
  if (s.size() >= sizeof pendingPath[0]) return;
  for (int i = 0; i < kPendingSlots; ++i) {
    int expected = kSlotFree;
    if (!pendingState[i].compare_exchange_strong(expected, kSlotFilling)) continue;
    std::memcpy(pendingPath[i], s.c_str(), s.size() + 1);
    pendingState[i].store(kSlotInUse);
    return;
  }
}

void ForgetPending(const std::filesystem::path& p) {
  for (int i = 0; i < kPendingSlots; ++i) {
    if (pendingState[i].load() == kSlotInUse && p.native() == pendingPath[i]) {
      pendingState[i].store(kSlotFree);
      return;
    }
  }
}

extern "C" void RemovePendingAndEnd(int sig) {
  for (int i = 0; i < kPendingSlots; ++i) {
    if (pendingState[i].load() == kSlotInUse) ::unlink(pendingPath[i]);
  }
  // The handler was reset to the default action on entry; the signal is
  // blocked until the handler returns, and then ends the process.
  ::raise(sig);
}

std::string Reason(const char* what, const std::filesystem::path& p, int error) {
  std::string r(what);
  r += " \"";
  r += p.native();
  r += "\": ";
  r += std::strerror(error);
  return r;
}

// Flushes a folder's entries to disk, where the file system can.
void SyncFolder(const std::filesystem::path& folder) {
  const std::filesystem::path f = folder.empty() ? std::filesystem::path(".") : folder;
  const int fd = ::open(f.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

// Gives `tmp` the name `dst` unless something has that name already.
// Returns 0 or the errno of the failure (EEXIST: the name is taken).
int NameWithoutReplacing(const std::filesystem::path& tmp, const std::filesystem::path& dst) {
  if (::renameat2(AT_FDCWD, tmp.c_str(), AT_FDCWD, dst.c_str(), RENAME_NOREPLACE) == 0) return 0;
  if (errno != EINVAL && errno != ENOSYS) return errno;
  // File systems without an exclusive rename: a hard link never replaces.
  if (::link(tmp.c_str(), dst.c_str()) == 0) {
    ::unlink(tmp.c_str());
    return 0;
  }
  if (errno != EPERM && errno != EOPNOTSUPP && errno != ENOSYS) return errno;
  // Neither (some network and removable file systems): look, then rename.
  struct stat st {};
  if (::lstat(dst.c_str(), &st) == 0) return EEXIST;
  if (errno != ENOENT) return errno;
  return ::rename(tmp.c_str(), dst.c_str()) == 0 ? 0 : errno;
}

}  // namespace

Status PendingFile::Open(const std::filesystem::path& destination) {
  Abort();
  if (!destination.has_filename()) return Fail("no file name in \"" + destination.native() + "\"");
  struct stat st {};
  if (::lstat(destination.c_str(), &st) == 0) return Fail("\"" + destination.native() + "\" already exists");
  if (errno != ENOENT) return Fail(Reason("cannot use", destination, errno));
  static std::atomic<unsigned> counter{0};
  // A termination signal between creating the file and remembering it
  // would leave it behind: such signals wait until it is remembered.
  sigset_t ending;
  sigemptyset(&ending);
  for (int sig : {SIGINT, SIGTERM, SIGHUP}) sigaddset(&ending, sig);
  sigset_t before;
  ::pthread_sigmask(SIG_BLOCK, &ending, &before);
  int error = EEXIST;
  for (int attempt = 0; attempt < 100 && error == EEXIST; ++attempt) {
    std::filesystem::path tmp =
        destination.parent_path() / detail::PendingFileName(::getpid(), counter++);
    int fd;
    do {
      fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    } while (fd < 0 && errno == EINTR);
    error = fd < 0 ? errno : 0;
    if (fd >= 0) {
      fd_ = fd;
      destination_ = destination;
      tmp_ = std::move(tmp);
      RememberPending(tmp_);
    }
  }
  ::pthread_sigmask(SIG_SETMASK, &before, nullptr);
  if (error == 0) return Ok();
  if (error == EEXIST) return Fail("no free temporary name in \"" + destination.parent_path().native() + "\"");
  return Fail(Reason("cannot create a file in", destination.parent_path(), error));
}

Status PendingFile::Commit() {
  if (fd_ < 0) return Fail("no file is being written");
  int error = ::fsync(fd_) == 0 ? 0 : errno;
  if (::close(fd_) != 0 && error == 0) error = errno;
  fd_ = -1;
  Status result = Ok();
  if (error != 0) {
    result = Fail(Reason("cannot write", destination_, error));
  } else if (const int e = NameWithoutReplacing(tmp_, destination_); e == EEXIST) {
    result = Fail("\"" + destination_.native() + "\" appeared while it was being written");
  } else if (e != 0) {
    result = Fail(Reason("cannot name", destination_, e));
  } else {
    // The new name on disk too. When the folder cannot be flushed the file
    // is still complete and named, which is no reason to take it away.
    SyncFolder(destination_.parent_path());
  }
  if (!result) ::unlink(tmp_.c_str());
  ForgetPending(tmp_);
  tmp_.clear();
  return result;
}

void PendingFile::Abort() {
  if (fd_ >= 0) {
    ::close(fd_);
    fd_ = -1;
  }
  if (!tmp_.empty()) {
    ::unlink(tmp_.c_str());
    ForgetPending(tmp_);
    tmp_.clear();
  }
}

int RemoveAbandonedPendingFiles(const std::filesystem::path& folder, std::int64_t pid) {
  const std::filesystem::path f = folder.empty() ? std::filesystem::path(".") : folder;
  const int dirFd = ::open(f.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dirFd < 0) return 0;
  int removed = 0;
  ForEachEntry(dirFd, [&](int dir, const char* name) {
    if (!IsPendingFileName(name, pid)) return;
    struct stat st {};
    if (::fstatat(dir, name, &st, AT_SYMLINK_NOFOLLOW) != 0) return;
    if (!S_ISREG(st.st_mode) || st.st_uid != ::geteuid()) return;
    if (::unlinkat(dir, name, 0) == 0) ++removed;
  });
  return removed;
}

void IgnoreFileSizeSignal() { ::signal(SIGXFSZ, SIG_IGN); }

void RemovePendingFileOnTermination() {
  for (int sig : {SIGINT, SIGTERM, SIGHUP}) {
    struct sigaction old {};
    if (::sigaction(sig, nullptr, &old) != 0 || old.sa_handler == SIG_IGN) continue;
    struct sigaction sa {};
    sa.sa_handler = RemovePendingAndEnd;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESETHAND;
    ::sigaction(sig, &sa, nullptr);
  }
}

}  // namespace parvex::platform
