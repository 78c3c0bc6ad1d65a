#include "common/platform/private_folders.h"

#include <system_error>

namespace parvex::platform {

std::filesystem::path SystemTempFolder() {
  std::error_code ec;
  std::filesystem::path p = std::filesystem::temp_directory_path(ec);
#ifdef _WIN32
  if (ec || p.empty()) return {};
  return p;
#else
  return ec || p.empty() ? std::filesystem::path("/tmp") : p;
#endif
}

}  // namespace parvex::platform
