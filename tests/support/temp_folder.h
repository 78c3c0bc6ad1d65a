// A fresh folder below the system's temporary folder, removed with its
// contents when the test ends. Names given as narrow text are taken as the
// programs take their arguments (UTF-8 on Windows).
#pragma once

#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <string_view>

#ifdef _WIN32
#include <random>
#else
#include <unistd.h>
#endif

#include "common/platform/files.h"

namespace parvex::testing {

// Whether a test can make symbolic links: the C++ library of the Windows
// build makes none (and Wine has none to make), so the checks about links
// run on Linux.
#ifdef _WIN32
inline constexpr bool kCanMakeLinks = false;
#else
inline constexpr bool kCanMakeLinks = true;
#endif

class TempFolder {
 public:
  TempFolder() {
    const std::filesystem::path base = std::filesystem::temp_directory_path();
#ifdef _WIN32
    // A name nobody else has: create_directory fails on one that exists.
    std::random_device random;
    for (int attempt = 0; attempt < 100 && path_.empty(); ++attempt) {
      const std::filesystem::path p = base / ("parvex-test-" + std::to_string(random()));
      std::error_code ec;
      if (std::filesystem::create_directory(p, ec)) path_ = p;
    }
    // A test cannot go on without its folder; the exception fails it.
    if (path_.empty()) throw std::runtime_error("cannot create a folder in " + platform::NarrowFromPath(base));
#else
    std::string pattern = (base / "parvex-test-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("cannot create " + pattern);
    path_ = pattern;
#endif
  }
  ~TempFolder() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::filesystem::path& Path() const { return path_; }
  std::filesystem::path operator/(std::string_view name) const {
    return path_ / platform::PathFromNarrow(name);
  }

  std::filesystem::path Write(std::string_view name, std::string_view bytes) const {
    auto p = *this / name;
    std::ofstream(p, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return p;
  }

  static std::string Read(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

 private:
  std::filesystem::path path_;
};

}  // namespace parvex::testing
