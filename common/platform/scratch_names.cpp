#include "common/platform/scratch_names.h"

#include <filesystem>

#include "common/platform/files.h"
#include "common/platform/output_files.h"

namespace parvex::platform {

namespace {

constexpr std::string_view kPendingPrefix = ".pvx-";
constexpr std::string_view kPendingSuffix = ".tmp";
constexpr std::string_view kPrivateFolderPrefix = "parvex-";

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

namespace detail {

std::string PendingFileName(std::int64_t pid, unsigned n) {
  return std::string(kPendingPrefix) + std::to_string(pid) + "-" + std::to_string(n) +
         std::string(kPendingSuffix);
}

std::string PrivateFolderPrefix(std::int64_t pid) {
  return std::string(kPrivateFolderPrefix) + std::to_string(pid) + "-";
}

std::int64_t PrivateFolderOwner(std::string_view name) {
  if (!name.starts_with(kPrivateFolderPrefix)) return -1;
  name.remove_prefix(kPrivateFolderPrefix.size());
  const size_t dash = name.find('-');
  if (dash == 0 || dash == std::string_view::npos || dash > 10) return -1;
  std::int64_t pid = 0;
  for (char c : name.substr(0, dash)) {
    if (!IsDigit(c)) return -1;
    pid = pid * 10 + (c - '0');
  }
  const std::string_view random = name.substr(dash + 1);
  if (random.size() != kPrivateFolderRandomChars) return -1;
  for (char c : random) {
    const bool alnum = IsDigit(c) || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
    if (!alnum) return -1;
  }
  return pid > 0 ? pid : -1;
}

}  // namespace detail

bool IsPendingFileName(const std::filesystem::path& name, std::int64_t pid) {
  const std::string prefix = std::string(kPendingPrefix) + std::to_string(pid) + "-";
  const std::string s = NarrowFromPath(name);
  if (s.size() <= prefix.size() + kPendingSuffix.size()) return false;
  if (!s.starts_with(prefix) || !s.ends_with(kPendingSuffix)) return false;
  const size_t digitsEnd = s.size() - kPendingSuffix.size();
  for (size_t i = prefix.size(); i < digitsEnd; ++i)
    if (!IsDigit(s[i])) return false;
  return true;
}

}  // namespace parvex::platform
