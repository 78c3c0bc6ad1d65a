#include "converter/jww/jww_images.h"

#include <zlib.h>

#include <fstream>
#include <system_error>

#include "common/platform/codepage.h"
#include "converter/jww/jww_data.h"

namespace parvex {
namespace {

bool EndsWithGz(const std::u16string& name) {
  if (name.size() < 3) return false;
  const std::u16string ext = name.substr(name.size() - 3);
  return ext[0] == u'.' && (ext[1] == u'g' || ext[1] == u'G') && (ext[2] == u'z' || ext[2] == u'Z');
}

void RemoveQuietly(const std::filesystem::path& p) {
  std::error_code ec;
  std::filesystem::remove(p, ec);
}

// Decompresses a gzip file into `target`, replacing it. A result larger
// than kMaxExplodedImageBytes is removed; other errors leave what was
// written.
void Gunzip(const std::filesystem::path& source, const std::filesystem::path& target) {
  gzFile in = gzopen(source.c_str(), "rb");
  if (in == nullptr) return;
  std::ofstream out(target, std::ios::binary | std::ios::trunc);
  if (!out) {
    gzclose(in);
    return;
  }
  char buf[65536];
  std::uintmax_t total = 0;
  bool tooLarge = false;
  for (;;) {
    const int n = gzread(in, buf, sizeof buf);
    if (n <= 0) break;
    total += static_cast<unsigned>(n);
    if (total > kMaxExplodedImageBytes) {
      tooLarge = true;
      break;
    }
    out.write(buf, n);
    if (!out) break;
  }
  gzclose(in);
  out.close();
  if (tooLarge) RemoveQuietly(target);
}

}  // namespace

std::optional<std::filesystem::path> CarriedImagePath(const std::filesystem::path& folder,
                                                      const std::u16string& name) {
  if (folder.empty() || name.empty() || name == u"." || name == u"..") return std::nullopt;
  for (char16_t c : name)
    if (c == u'/' || c == u'\\' || c == u':') return std::nullopt;
  return folder / std::filesystem::path(platform::ToUtf8(name));
}

bool WriteCarriedImage(const std::filesystem::path& path, const uint8_t* data, size_t size) {
  {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (out) {
      out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
      out.close();
      if (out) return true;
    }
  }
  RemoveQuietly(path);
  return false;
}

void JwwEntityModel::BindImageExplode() {
  for (const TBindImageType& img : BindImage) {
    if (!EndsWithGz(img.Fname)) continue;
    const auto source = CarriedImagePath(BindImageFolder, img.Fname);
    const auto target =
        CarriedImagePath(BindImageFolder, img.Fname.substr(0, img.Fname.size() - 3));
    std::error_code ec;
    if (!source || !target || !std::filesystem::is_regular_file(*source, ec)) continue;
    Gunzip(*source, *target);
  }
}

void JwwEntityModel::BindImageDeleteGzFile() {
  for (const TBindImageType& img : BindImage) {
    if (!EndsWithGz(img.Fname)) continue;
    if (const auto p = CarriedImagePath(BindImageFolder, img.Fname)) RemoveQuietly(*p);
  }
}

void JwwEntityModel::BindImageDeleteNonGzFile() {
  for (const TBindImageType& img : BindImage) {
    const std::u16string name =
        EndsWithGz(img.Fname) ? img.Fname.substr(0, img.Fname.size() - 3) : img.Fname;
    if (const auto p = CarriedImagePath(BindImageFolder, name)) RemoveQuietly(*p);
  }
}

}  // namespace parvex
