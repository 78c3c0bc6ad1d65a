#include "converter/jww/jww_images.h"

#include <zlib.h>

#include <algorithm>
#include <set>
#include <string_view>
#include <system_error>
#include <vector>

#include "common/image_text.h"
#include "common/platform/codepage.h"
#include "common/platform/files.h"
#include "converter/jww/jww_data.h"

namespace parvex {
namespace {

bool EndsWithGz(const std::u16string& name) {
  if (name.size() < 3) return false;
  const std::u16string ext = name.substr(name.size() - 3);
  return ext[0] == u'.' && (ext[1] == u'g' || ext[1] == u'G') && (ext[2] == u'z' || ext[2] == u'Z');
}

std::u16string AsciiLower(std::u16string_view s) {
  std::u16string r(s);
  for (char16_t& c : r)
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
  return r;
}

bool IsRegularFile(const std::filesystem::path& p) {
  std::error_code ec;
  return std::filesystem::is_regular_file(std::filesystem::symlink_status(p, ec));
}

std::uintmax_t SizeOf(const std::filesystem::path& p) {
  std::error_code ec;
  if (!IsRegularFile(p)) return 0;
  const std::uintmax_t n = std::filesystem::file_size(p, ec);
  return ec ? 0 : n;
}

// Decompresses the gzip file `source` (one or more members) into a new file
// `target`, replacing an earlier one, and returns the bytes written. A
// result larger than `limit` is removed (0 returned); damaged or cut data
// leaves what was decompressed before the damage.
std::uintmax_t Gunzip(const std::filesystem::path& source, const std::filesystem::path& target,
                      std::uintmax_t limit) {
  auto in = platform::ReadOnlyFile::Open(source);
  if (!in) return 0;
  platform::RemoveFileEntry(target);
  auto out = platform::NewFile::Create(target);
  if (!out) return 0;
  z_stream z{};
  if (inflateInit2(&z, 15 + 16) != Z_OK) return 0;
  std::vector<char> inBuf(1 << 16);
  std::vector<char> outBuf(1 << 16);
  std::uintmax_t total = 0;
  bool tooLarge = false;
  for (;;) {
    if (z.avail_in == 0) {
      const size_t n = in->Read(inBuf.data(), inBuf.size());
      if (n == 0) break;
      z.next_in = reinterpret_cast<Bytef*>(inBuf.data());
      z.avail_in = static_cast<uInt>(n);
    }
    z.next_out = reinterpret_cast<Bytef*>(outBuf.data());
    z.avail_out = static_cast<uInt>(outBuf.size());
    const int rc = inflate(&z, Z_NO_FLUSH);
    const size_t produced = outBuf.size() - z.avail_out;
    if (produced > limit - total) {
      tooLarge = true;
      break;
    }
    if (produced > 0 && !out->Write(std::string_view(outBuf.data(), produced))) break;
    total += produced;
    if (rc == Z_STREAM_END) {
      // Another member may follow.
      if (inflateReset(&z) != Z_OK) break;
      continue;
    }
    if (rc != Z_OK && !(rc == Z_BUF_ERROR && z.avail_in == 0)) break;
  }
  inflateEnd(&z);
  if (tooLarge) {
    out->Discard();
    return 0;
  }
  return out->Close() ? total : 0;
}

}  // namespace

std::optional<std::filesystem::path> CarriedImagePath(const std::filesystem::path& folder,
                                                      const std::u16string& name) {
  if (folder.empty() || name.empty() || name == u"." || name == u"..") return std::nullopt;
  for (char16_t c : name)
    if (c == u'/' || c == u'\\' || c == u':') return std::nullopt;
  return folder / platform::PathFromText(name);
}

bool WriteCarriedImage(const std::filesystem::path& path, const uint8_t* data, size_t size) {
  platform::RemoveFileEntry(path);
  auto out = platform::NewFile::Create(path);
  if (!out) return false;
  // NewFile removes what it wrote unless it is closed successfully.
  return out->Write(std::string_view(reinterpret_cast<const char*>(data), size)) && out->Close();
}

std::u16string CarriedImageReference(const std::u16string& text) {
  if (!IsImageText(text)) return {};
  std::u16string name = AsciiLower(ParseImageText(text).Name);
  constexpr std::u16string_view kTemp = u"%temp%";
  if (!name.starts_with(kTemp)) return {};
  size_t start = kTemp.size();
  while (start < name.size() && (name[start] == u'\\' || name[start] == u'/')) ++start;
  return name.substr(start);
}

void JwwEntityModel::BindImageWrite(const TBindImageType& image, const uint8_t* data, size_t size) {
  const auto path = CarriedImagePath(BindImageFolder, image.Fname);
  if (!path) return;  // a name with folder parts is never created
  if (BindImageUsedOnly) {
    if (!usedImageNames_) {
      std::vector<std::u16string> names;
      auto collect = [&](const std::vector<TEntJwwMoji>& texts) {
        for (const TEntJwwMoji& m : texts) {
          std::u16string name = CarriedImageReference(m.str);
          if (!name.empty()) names.push_back(std::move(name));
        }
      };
      collect(EntMoji);
      for (const TEntJwwBlockDef& d : EntBlockDef) collect(d.mMoji);
      std::sort(names.begin(), names.end());
      names.erase(std::unique(names.begin(), names.end()), names.end());
      usedImageNames_ = std::move(names);
    }
    const std::u16string name = AsciiLower(image.Fname);
    auto used = [&](const std::u16string& n) {
      return std::binary_search(usedImageNames_->begin(), usedImageNames_->end(), n);
    };
    if (!used(name) && !(EndsWithGz(name) && used(name.substr(0, name.size() - 3)))) return;
  }
  WriteCarriedImage(*path, data, size);
}

void JwwEntityModel::BindImageExplode() {
  // The budget of the whole drawing grows with what it carries.
  std::uintmax_t carried = 0;
  std::set<std::u16string> seen;
  for (const TBindImageType& img : BindImage) {
    if (!seen.insert(img.Fname).second) continue;
    if (const auto p = CarriedImagePath(BindImageFolder, img.Fname)) carried += SizeOf(*p);
  }
  std::uintmax_t left = kExplodedImagesAllowance + kExplodedImagesGrowth * carried;
  std::set<std::u16string> done;
  for (const TBindImageType& img : BindImage) {
    if (!EndsWithGz(img.Fname) || !done.insert(img.Fname).second) continue;
    const auto source = CarriedImagePath(BindImageFolder, img.Fname);
    const auto target =
        CarriedImagePath(BindImageFolder, img.Fname.substr(0, img.Fname.size() - 3));
    if (!source || !target || !IsRegularFile(*source)) continue;
    left -= Gunzip(*source, *target, std::min(left, kMaxExplodedImageBytes));
  }
}

void JwwEntityModel::BindImageDeleteGzFile() {
  for (const TBindImageType& img : BindImage) {
    if (!EndsWithGz(img.Fname)) continue;
    if (const auto p = CarriedImagePath(BindImageFolder, img.Fname)) platform::RemoveFileEntry(*p);
  }
}

void JwwEntityModel::BindImageDeleteNonGzFile() {
  for (const TBindImageType& img : BindImage) {
    const std::u16string name =
        EndsWithGz(img.Fname) ? img.Fname.substr(0, img.Fname.size() - 3) : img.Fname;
    if (const auto p = CarriedImagePath(BindImageFolder, name)) platform::RemoveFileEntry(*p);
  }
}

}  // namespace parvex
