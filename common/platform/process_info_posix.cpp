#include "common/platform/process_info.h"

#include <pwd.h>
#include <unistd.h>

#include <string>
#include <system_error>

#include "common/platform/codepage.h"

namespace parvex::platform {

namespace {

std::filesystem::path HomeFolder() {
  // The account database rather than $HOME: the converter takes nothing
  // from its environment.
  passwd pw{};
  passwd* found = nullptr;
  char buf[4096];
  if (getpwuid_r(getuid(), &pw, buf, sizeof buf, &found) != 0 || found == nullptr ||
      found->pw_dir == nullptr || found->pw_dir[0] == '\0')
    return {};
  return found->pw_dir;
}

}  // namespace

std::vector<std::string> CommandLineArguments(int argc, char** argv) {
  if (argc <= 1 || argv == nullptr) return {};
  return std::vector<std::string>(argv + 1, argv + argc);
}

std::int64_t CurrentProcessId() { return ::getpid(); }

std::filesystem::path ExecutablePath() {
  std::error_code ec;
  auto p = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (ec) return {};
  return p;
}

std::filesystem::path DefaultJwwFolder() {
  auto home = HomeFolder();
  if (home.empty()) return {};
  return home / ".wine" / "drive_c" / "jww";
}

std::filesystem::path AssociatedJwwFolder() { return {}; }

std::filesystem::path SettingsFolderFor(const std::filesystem::path& programFolder,
                                        const std::filesystem::path& home) {
  namespace fs = std::filesystem;
  std::error_code ec;
  if (programFolder.empty() || home.empty() ||
      !fs::is_directory(programFolder.parent_path() / "share" / "parvex", ec))
    return programFolder;
  const fs::path config = home / ".config";
  const fs::path own = config / "parvex";
  if (!fs::is_directory(own, ec)) {
    fs::create_directory(config, ec);
    if (!fs::create_directory(own, ec)) return programFolder;
    fs::permissions(own, fs::perms::owner_all, ec);
  }
  return own;
}

std::filesystem::path SettingsFolder() { return SettingsFolderFor(ExecutableFolder(), HomeFolder()); }

std::filesystem::path PathFromWindowsText(std::u16string_view text) {
  std::u16string unix(text);
  for (auto& c : unix)
    if (c == u'\\') c = u'/';
  bool drive = unix.size() >= 3 && unix[1] == u':' && unix[2] == u'/' &&
               ((unix[0] >= u'A' && unix[0] <= u'Z') || (unix[0] >= u'a' && unix[0] <= u'z'));
  if (!drive) return std::filesystem::path(ToUtf8(unix));
  auto home = HomeFolder();
  if (home.empty()) return std::filesystem::path(ToUtf8(unix));
  char letter = static_cast<char>(unix[0] | 0x20);
  return home / ".wine" / "dosdevices" / (std::string(1, letter) + ":") / ToUtf8(unix.substr(3));
}

}  // namespace parvex::platform
