// Image headers are read by stb_image's info functions, fed from the
// platform's file reader through callbacks; the decoders are never called.
#include "converter/mapping/image_pixel_size.h"

#include <algorithm>
#include <cstdint>
#include <limits>

#include "common/platform/files.h"

// stb_image is compiled here for this file alone: its functions are static,
// it touches no file itself, and it knows only the formats Jw_cad places.
#define STB_IMAGE_STATIC
#define STB_IMAGE_IMPLEMENTATION
#define STBI_NO_STDIO
#define STBI_NO_LINEAR
#define STBI_NO_HDR
#define STBI_ONLY_BMP
#define STBI_ONLY_PNG
#define STBI_ONLY_JPEG
#define STBI_ONLY_GIF
#define STBI_ONLY_TGA
#define STBI_ONLY_PSD
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wunused-parameter"
#pragma GCC diagnostic ignored "-Wsign-compare"
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#pragma GCC diagnostic ignored "-Wimplicit-fallthrough"
#pragma GCC diagnostic ignored "-Wtype-limits"
#pragma GCC diagnostic ignored "-Wshadow"
#if !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif
#endif
#include <stb_image.h>
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif

namespace parvex {
namespace {

// A header lies near the start; what a JPEG puts before its frame header
// (thumbnails, colour profiles) is passed over up to this many bytes.
constexpr std::uint64_t kMostBytesRead = 64ull << 20;

struct HeaderSource {
  platform::ReadOnlyFile file;
  std::uint64_t read = 0;
  bool end = false;

  int Read(char* data, int size) {
    if (end || size <= 0) return 0;
    const std::uint64_t room = kMostBytesRead - read;
    const std::size_t want =
        static_cast<std::size_t>(std::min<std::uint64_t>(static_cast<std::uint64_t>(size), room));
    const std::size_t got = want == 0 ? 0 : file.Read(data, want);
    read += got;
    if (got < static_cast<std::size_t>(size)) end = true;
    return static_cast<int>(got);
  }

  // The file reader only reads forward, as stb_image skips.
  void Skip(int n) {
    char scrap[4096];
    while (n > 0 && !end) {
      const int got = Read(scrap, std::min(n, static_cast<int>(sizeof scrap)));
      if (got <= 0) break;
      n -= got;
    }
  }
};

int ReadCallback(void* user, char* data, int size) {
  return static_cast<HeaderSource*>(user)->Read(data, size);
}
void SkipCallback(void* user, int n) { static_cast<HeaderSource*>(user)->Skip(n); }
int EofCallback(void* user) { return static_cast<HeaderSource*>(user)->end ? 1 : 0; }

}  // namespace

std::optional<ImagePixelSize> ReadImagePixelSize(const std::filesystem::path& file) {
  std::optional<platform::ReadOnlyFile> opened = platform::ReadOnlyFile::Open(file);
  if (!opened) return std::nullopt;
  HeaderSource source{std::move(*opened)};
  const stbi_io_callbacks callbacks{ReadCallback, SkipCallback, EofCallback};
  int w = 0, h = 0, channels = 0;
  if (stbi_info_from_callbacks(&callbacks, &source, &w, &h, &channels) == 0) return std::nullopt;
  // A BMP stored top-down states a negative height, which stb_image's
  // header reader passes on as it stands.
  if (h < 0 && h > std::numeric_limits<int>::min()) h = -h;
  if (w <= 0 || h <= 0) return std::nullopt;
  return ImagePixelSize{w, h};
}

}  // namespace parvex
