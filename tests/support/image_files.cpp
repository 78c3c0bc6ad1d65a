#include "tests/support/image_files.h"

#include <zlib.h>

#include <cstdint>
#include <vector>

namespace parvex::testing {
namespace {

void Be32(std::string& s, std::uint32_t v) {
  for (int k = 3; k >= 0; --k) s += static_cast<char>((v >> (8 * k)) & 0xFF);
}
void Le16(std::string& s, std::uint32_t v) {
  s += static_cast<char>(v & 0xFF);
  s += static_cast<char>((v >> 8) & 0xFF);
}
void Le32(std::string& s, std::uint32_t v) {
  Le16(s, v & 0xFFFF);
  Le16(s, v >> 16);
}

void PngChunk(std::string& out, const char* type, const std::string& data) {
  Be32(out, static_cast<std::uint32_t>(data.size()));
  const std::string body = std::string(type, 4) + data;
  out += body;
  Be32(out, static_cast<std::uint32_t>(
                crc32(0, reinterpret_cast<const Bytef*>(body.data()), static_cast<uInt>(body.size()))));
}

char Shade(int i, int n) { return static_cast<char>(n > 1 ? 255 * i / (n - 1) : 0); }

}  // namespace

std::string PngImage(int width, int height) {
  std::string raw;
  for (int y = 0; y < height; ++y) {
    raw += '\0';  // no filter
    for (int x = 0; x < width; ++x) {
      raw += Shade(x, width);
      raw += Shade(y, height);
      raw += static_cast<char>(128);
    }
  }
  uLongf packedSize = compressBound(static_cast<uLong>(raw.size()));
  std::vector<Bytef> packed(packedSize);
  compress(packed.data(), &packedSize, reinterpret_cast<const Bytef*>(raw.data()),
           static_cast<uLong>(raw.size()));
  std::string ihdr;
  Be32(ihdr, static_cast<std::uint32_t>(width));
  Be32(ihdr, static_cast<std::uint32_t>(height));
  ihdr += std::string("\x08\x02\x00\x00\x00", 5);  // 8 bits, RGB, deflate, no filter, no interlace
  std::string out("\x89PNG\r\n\x1a\n", 8);
  PngChunk(out, "IHDR", ihdr);
  PngChunk(out, "IDAT", std::string(reinterpret_cast<const char*>(packed.data()), packedSize));
  PngChunk(out, "IEND", "");
  return out;
}

std::string BmpImage(int width, int height, bool topDown) {
  const int rowBytes = (width * 3 + 3) / 4 * 4;
  const std::uint32_t pixelBytes = static_cast<std::uint32_t>(rowBytes * height);
  std::string out = "BM";
  Le32(out, 54 + pixelBytes);
  Le32(out, 0);
  Le32(out, 54);
  Le32(out, 40);
  Le32(out, static_cast<std::uint32_t>(width));
  Le32(out, static_cast<std::uint32_t>(topDown ? -height : height));
  Le16(out, 1);   // planes
  Le16(out, 24);  // bits per pixel
  Le32(out, 0);   // no compression
  Le32(out, pixelBytes);
  Le32(out, 2835);
  Le32(out, 2835);
  Le32(out, 0);
  Le32(out, 0);
  for (int y = 0; y < height; ++y) {
    std::string row;
    for (int x = 0; x < width; ++x) {
      row += static_cast<char>(64);
      row += Shade(y, height);
      row += Shade(x, width);
    }
    row.resize(static_cast<size_t>(rowBytes), '\0');
    out += row;
  }
  return out;
}

}  // namespace parvex::testing
