// Runs the whole conversion (read, map, write the DXF) on arbitrary bytes,
// with settings and file kind chosen by the first four bytes, and checks
// that success and the DXF file's existence agree and that nothing else is
// left in the working folder but the copies of image files beside a DXF.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <vector>

#include "common/platform/output_files.h"
#include "common/platform/private_folders.h"
#include "converter/app/drawing_conversion.h"

namespace {

namespace fs = std::filesystem;

fs::path work;

struct Choice {
  parvex::ConversionSettings settings;
  const char* name = "d.jww";  // the source's name, whose extension picks the reader
};

// Four bytes, every value meaningful: kind, version, colours, layer names;
// output space and layer group; points, text styles, switches; dimensions
// and point radius.
Choice Decode(const uint8_t* b) {
  static const double kRadii[] = {0.001, 0.5, 3, 1000};
  Choice c;
  parvex::ConversionSettings& s = c.settings;
  // Bit 0 picks the second format of an edition, bit 6 the DOS edition.
  static const char* const kNames[] = {"d.jww", "d.jws", "d.jwc", "d.jwk"};
  c.name = kNames[(b[0] & 1) | ((b[0] >> 5) & 2)];
  s.DxfVersion = static_cast<parvex::DxfVersion>((b[0] >> 1) % 3);
  s.ColorMode = static_cast<parvex::ColorMode>((b[0] >> 3) & 1);
  s.LayerNameType = static_cast<parvex::LayerNameType>((b[0] >> 4) % 3);
  s.OutputSpace = static_cast<parvex::OutputSpace>(b[1] % 3);
  s.BaseLayerGroup = (b[1] >> 2) & 15;
  s.PointConversion = static_cast<parvex::PointConversion>(b[2] % 7);
  s.TextStyleMode = static_cast<parvex::TextStyleMode>((b[2] >> 3) % 3);
  s.ExpandEmbeddedText = (b[2] & 0x20) != 0;
  s.ExpandControlCodes = (b[2] & 0x40) != 0;
  s.CurveToPolyline = (b[2] & 0x80) != 0;
  s.DimensionAsEntity = (b[3] & 1) != 0;
  s.PointRadius = kRadii[(b[3] >> 1) & 3];
  return c;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  auto folder = parvex::platform::CreatePrivateFolder(parvex::platform::SystemTempFolder());
  if (!folder) std::abort();
  work = *folder;
  std::atexit([] { parvex::platform::RemovePrivateFolder(work); });
  // The conversions make their image folders in here, not among everything
  // else in the system's temporary folder.
  setenv("TMPDIR", work.c_str(), 1);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 4) return 0;
  const Choice c = Decode(data);
  const fs::path source = work / c.name;
  const fs::path destination = work / "d.dxf";
  {
    std::ofstream out(source, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data + 4), static_cast<std::streamsize>(size - 4));
  }
  const parvex::Status r = parvex::ConvertDrawing(c.settings, source, destination);
  std::error_code ec;
  if (r.ok() != fs::exists(destination, ec)) std::abort();
  if (!r && r.reason().empty()) std::abort();
  // Besides the source and the DXF, a written file may have copies of
  // image files beside it; nothing else may be left (no temporary file of
  // the writer, no image folder), and nothing but the source after a
  // failure.
  size_t entries = 0;
  std::vector<fs::path> copies;
  for (const auto& e : fs::directory_iterator(work, ec)) {
    ++entries;
    const fs::path name = e.path().filename();
    if (name == source.filename() || name == destination.filename()) continue;
    if (!r || !e.is_regular_file(ec) || e.is_symlink(ec) ||
        parvex::platform::IsPendingFileName(name, getpid())) {
      std::abort();
    }
    copies.push_back(e.path());
  }
  if (entries != (r.ok() ? 2u : 1u) + copies.size()) std::abort();
  for (const fs::path& p : copies) fs::remove(p, ec);
  fs::remove(destination, ec);
  fs::remove(source, ec);
  return 0;
}
