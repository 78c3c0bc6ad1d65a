#include "common/platform/process_info.h"

#include <pwd.h>
#include <unistd.h>

#include <system_error>

namespace parvex::platform {

std::filesystem::path ExecutablePath() {
  std::error_code ec;
  auto p = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (ec) return {};
  return p;
}

std::filesystem::path ExecutableFolder() {
  auto p = ExecutablePath();
  if (p.empty()) return {};
  return p.parent_path();
}

std::filesystem::path DefaultJwwFolder() {
  // The account database rather than $HOME: the converter takes nothing
  // from its environment.
  passwd pw{};
  passwd* found = nullptr;
  char buf[4096];
  if (getpwuid_r(getuid(), &pw, buf, sizeof buf, &found) != 0 || found == nullptr ||
      found->pw_dir == nullptr || found->pw_dir[0] == '\0')
    return {};
  return std::filesystem::path(found->pw_dir) / ".wine" / "drive_c" / "jww";
}

}  // namespace parvex::platform
