#include "common/platform/private_folders.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>
#include <string_view>
#include <system_error>

#include "common/platform/folder_entries.h"
#include "common/platform/scratch_names.h"

namespace parvex::platform {

namespace {

bool ProcessRunning(std::int64_t pid) { return ::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM; }

// Removes the entries of the folder open as `dirFd` (closed here), never
// following links; sub-folders stay.
void RemoveEntries(int dirFd) {
  ForEachEntry(dirFd, [](int dir, const char* name) {
    ::unlinkat(dir, name, 0);  // a folder refuses: it stays
  });
}

}  // namespace

Result<std::filesystem::path> CreatePrivateFolder(const std::filesystem::path& parent) {
  if (parent.empty()) return Fail("no folder for temporary files");
  int error = 0;
  // Another run may remove the shared parent when it finds it empty, just
  // between its creation here and the new folder's: create it again then.
  for (int attempt = 0; attempt < 5; ++attempt) {
    std::error_code ec;
    std::filesystem::create_directories(parent, ec);
    std::string pattern =
        (parent / (detail::PrivateFolderPrefix(::getpid()) +
                   std::string(detail::kPrivateFolderRandomChars, 'X')))
            .native();
    if (::mkdtemp(pattern.data()) != nullptr) return std::filesystem::path(pattern);
    error = errno;
    if (error != ENOENT) break;
  }
  return Fail("cannot create a folder in \"" + parent.native() + "\": " + std::strerror(error));
}

void RemovePrivateFolder(const std::filesystem::path& folder) {
  if (folder.empty()) return;
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  if (fd < 0) return;
  RemoveEntries(fd);
  ::rmdir(folder.c_str());
}

int RemoveAbandonedPrivateFolders(const std::filesystem::path& parent) {
  if (parent.empty()) return 0;
  const int parentFd = ::open(parent.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (parentFd < 0) return 0;
  int removed = 0;
  ForEachEntry(parentFd, [&](int dir, const char* name) {
    const std::int64_t pid = detail::PrivateFolderOwner(name);
    if (pid < 0 || pid == ::getpid() || ProcessRunning(pid)) return;
    struct stat st {};
    if (::fstatat(dir, name, &st, AT_SYMLINK_NOFOLLOW) != 0) return;
    if (!S_ISDIR(st.st_mode) || st.st_uid != ::geteuid()) return;
    const int fd = ::openat(dir, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) return;
    RemoveEntries(fd);
    if (::unlinkat(dir, name, AT_REMOVEDIR) == 0) ++removed;
  });
  return removed;
}

}  // namespace parvex::platform
