#include "converter/jww/jww_file.h"

#include <fstream>
#include <system_error>

namespace parvex {

bool ReadWholeFile(const std::filesystem::path& path, FileBytes& bytes) {
  bytes = FileBytes{};
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec)) return false;
  const std::uintmax_t size = std::filesystem::file_size(path, ec);
  if (ec || size > kMaxDrawingFileBytes) return false;
  std::ifstream f(path, std::ios::binary);
  if (!f) return false;
  bytes.data.reset(new uint8_t[size > 0 ? size : 1]);
  bytes.size = static_cast<size_t>(size);
  f.read(reinterpret_cast<char*>(bytes.data.get()), static_cast<std::streamsize>(size));
  if (static_cast<std::uintmax_t>(f.gcount()) != size) {
    bytes = FileBytes{};
    return false;
  }
  return true;
}

bool ReadFileHead(const std::filesystem::path& path, uint8_t* out, size_t n) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec)) return false;
  std::ifstream f(path, std::ios::binary);
  if (!f) return false;
  f.read(reinterpret_cast<char*>(out), static_cast<std::streamsize>(n));
  return static_cast<size_t>(f.gcount()) == n;
}

}  // namespace parvex
