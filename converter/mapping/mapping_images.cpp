// The image pass: every image text of the top level and of each block
// definition becomes an IMAGE of the DXF model, before the other entities,
// and its file is registered for the copy beside the DXF file.
#include "converter/mapping/mapping_images.h"

#include <cmath>
#include <functional>
#include <numbers>
#include <system_error>
#include <utility>

#include "common/image_text.h"
#include "common/path_helpers.h"
#include "common/platform/files.h"
#include "common/platform/process_info.h"
#include "common/text_helpers.h"
#include "common/value_helpers.h"
#include "converter/dxf/dxf_model.h"
#include "converter/jww/jww_images.h"
#include "converter/mapping/jw_dxf_mapper.h"

namespace parvex {

namespace {

constexpr std::u16string_view kCarriedPrefix = u"%temp%";

std::u16string WithoutGz(std::u16string_view name) {
  if (name.size() > 3 && LowerText(name.substr(name.size() - 3)) == u".gz") {
    name.remove_suffix(3);
  }
  return std::u16string(name);
}

}  // namespace

ImageFileFinder::ImageFileFinder(std::filesystem::path carriedFolder,
                                 std::span<const TBindImageType> carried,
                                 std::filesystem::path drawingFolder)
    : carriedFolder_(std::move(carriedFolder)), drawingFolder_(std::move(drawingFolder)) {
  for (const TBindImageType& image : carried) {
    const std::u16string name = WithoutGz(image.Fname);
    carried_.emplace(LowerText(name), name);
  }
}

std::optional<std::filesystem::path> ImageFileFinder::Locate(std::u16string_view name) const {
  if (name.size() >= kCarriedPrefix.size() &&
      LowerText(name.substr(0, kCarriedPrefix.size())) == kCarriedPrefix) {
    std::u16string_view rest = name.substr(kCarriedPrefix.size());
    while (!rest.empty() && IsPathSeparator(rest.front())) rest.remove_prefix(1);
    const auto known = carried_.find(LowerText(rest));
    const std::u16string onDisk = known != carried_.end() ? known->second : std::u16string(rest);
    const std::optional<std::filesystem::path> p = CarriedImagePath(carriedFolder_, onDisk);
    if (p && FileExistsSafe(*p)) return p;
    return std::nullopt;
  }
  if (RemoveBlanks(name).empty()) return std::nullopt;
  const std::filesystem::path written = platform::PathFromWindowsText(name);
  if (written.is_absolute()) {
    if (FileExistsSafe(written)) return written;
    return std::nullopt;
  }
  // A name without a folder of its own lies beside the drawing (the
  // folder the converter happens to run in says nothing about it).
  if (drawingFolder_.empty()) return std::nullopt;
  const std::filesystem::path beside = drawingFolder_ / written;
  if (FileExistsSafe(beside)) return beside;
  return std::nullopt;
}

std::optional<FoundImage> ImageFileFinder::Find(std::u16string_view name) {
  const std::u16string key(name);
  if (const auto seen = names_.find(key); seen != names_.end()) return seen->second;
  std::optional<FoundImage> found;
  if (const std::optional<std::filesystem::path> p = Locate(name)) {
    std::error_code ec;
    const std::filesystem::path resolved = std::filesystem::canonical(*p, ec);
    if (!ec) {
      auto [it, fresh] = pixels_.try_emplace(resolved);
      if (fresh) it->second = ReadImagePixelSize(resolved);
      if (it->second) found = FoundImage{resolved, *it->second};
    }
  }
  names_.emplace(key, found);
  return found;
}

// ---- The pass ------------------------------------------------------------------

void JwDxfMapper::DxfOutImages(const JwEntityList& list, int bn, double dx, double dy) {
  // R12 has no IMAGE entity: no image is placed and no file copied.
  if (m_->Ver == DxfVersion::R12) return;
  if (!images_) {
    images_ = std::make_unique<ImageFileFinder>(ctx_.ImageFolder, d_.carriedImages,
                                                ctx_.SourcePath.parent_path());
  }
  for (const TEntJwwNo& no : list.no) {
    if (no.EntType != kJwwMoji || no.EntNo < 0) continue;
    const size_t i = static_cast<size_t>(no.EntNo);
    if (i < list.moji.size()) DxfOutImage(list.moji[i], bn, dx, dy);
  }
}

void JwDxfMapper::DxfOutImage(const TEntJwwMoji& e, int bn, double dx, double dy) {
  if (!IsImageText(e.str)) return;
  const ImageTextFields f = ParseImageText(e.str);
  if (f.Name.empty()) return;
  const double w = f.W;
  const double deg = f.F6;
  // An image without width shows nothing.
  if (!Finite({w, deg}) || w == 0) return;
  if (!Finite({e.start_x, e.start_y})) return;
  const std::optional<FoundImage> file = images_->Find(f.Name);
  if (!file) return;
  const double pw = file->Pixels.Width;
  const double ph = file->Pixels.Height;
  const double h = w * ph / pw;

  constexpr double kDegToRad = std::numbers::pi / 180.0;
  const double a = deg * kDegToRad;
  const double ux = w * std::cos(a), uy = w * std::sin(a);
  const double vx = h * std::cos(a + std::numbers::pi / 2), vy = h * std::sin(a + std::numbers::pi / 2);
  // The four corners, in the drawing's own coordinates.
  const double x0 = e.start_x, y0 = e.start_y;
  const Place p = Placement(e.att, bn, dx, dy, std::function<int()>([&] {
                              return ClipSquare(x0, y0, x0 + ux, y0 + uy, x0 + ux + vx,
                                                y0 + uy + vy, x0 + vx, y0 + vy);
                            }));
  const double x = x0 + dx, y = y0 + dy;
  const double ox = p.X(x), oy = p.Y(y), sx = w * p.s, sy = h * p.s;
  if (!Finite({ox, oy, sx, sy})) return;
  Report(p, x, y);
  Report(p, x + ux, y + uy);
  Report(p, x + vx, y + vy);
  Report(p, x + ux + vx, y + uy + vy);

  // Images keep to their own layer, auxiliary colour or not, and carry no
  // colour, line type or lineweight.
  AddImageOfFile(*m_, bn, *file, destination_, {.space = p.sp, .layer = LayerIndex(e.att)}, ox,
                 oy, sx, sy, deg);
}

void AddImageOfFile(TDXFmodel& m, int bn, const FoundImage& file,
                    const std::filesystem::path& destination, const DxfAttributes& attr, double x,
                    double y, double sx, double sy, double deg) {
  const double pw = file.Pixels.Width;
  const double ph = file.Pixels.Height;
  const std::u16string source = platform::PathToText(file.Path);
  const std::filesystem::path dxfFolder = destination.parent_path();
  const std::u16string copyFolder =
      dxfFolder.empty() ? std::u16string() : IncludeTrailingSeparator(platform::PathToText(dxfFolder));
  m.AddFList(source, copyFolder, pw, ph, sx, sy, file.Path);
  m.AddImage(bn, {.attr = attr, .x = x, .y = y, .ix = pw, .iy = ph, .sx = sx, .sy = sy, .a = deg,
                  .fna = source});
}

}  // namespace parvex
