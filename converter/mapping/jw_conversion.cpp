#include "converter/mapping/jw_conversion.h"

#include <cmath>
#include <memory>
#include <system_error>

#include "common/path_helpers.h"
#include "converter/attributes/gra_attribute.h"
#include "converter/jww/jws_data.h"
#include "converter/jww/jww_data.h"
#include "converter/mapping/jww_to_dxf.h"

namespace parvex {

PaperSize JwwPaperSize(int code) {
  switch (code) {
    case 1: return {841, 594};
    case 2: return {594, 420};
    case 3: return {420, 297};
    case 4: return {297, 210};
    case 8: return {1682, 1189};
    case 9: return {2378, 1682};
    case 10: return {3364, 2378};
    case 11: return {4756, 3364};
    case 12: return {10000, 7073};
    case 13: return {50000, 35366};
    case 14: return {100000, 70732};
    default: return {1189, 841};
  }
}

namespace {

JwConversionResult Fail(std::string reason) { return {false, std::move(reason), false}; }

std::string ReadFailure(const std::string& lastError) {
  return lastError.empty() ? "the drawing cannot be read" : lastError;
}

}  // namespace

JwConversionResult ConvertJwDrawing(const std::filesystem::path& source,
                                    const std::filesystem::path& destination,
                                    const ConversionSettings& settings,
                                    const std::filesystem::path& programFolder) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(source, ec)) return Fail("source not found");
  if (std::filesystem::exists(destination, ec) || ec) {
    return {false, "destination exists", true};
  }
  const std::u16string ext = LowerExtension(source.u16string());
  const bool jww = ext == u".jww";
  if (!jww && ext != u".jws") return Fail("not a JWW or JWS file");

  // Everything one conversion reads besides the drawing lives here, made
  // fresh for every drawing.
  ConversionContext ctx;
  ctx.Settings = settings;
  ctx.ColorSource = settings.ColorMode + 1;
  ctx.ProgramFolder = programFolder;
  TgraAttribute attr;
  attr.SetBackColor(0);

  bool written = false;
  if (jww) {
    if (!TJwwData::FileCheck(source)) return Fail("JWW-Header Error");
    auto drawing = std::make_unique<TJwwData>();
    if (!drawing->FileIn(source)) return Fail(ReadFailure(drawing->LastError));
    ctx.SourcePath = std::filesystem::absolute(source, ec);
    if (ec) ctx.SourcePath = source;
    drawing->FileColorSet(attr, ctx.ColorSource);
    drawing->GetMinMaxZahyo(ctx.Extents);
    ctx.DrawingPaperSize = JwwPaperSize(drawing->Enthd.nZumen);
    written = FileOutDXF(*drawing, ctx, attr, destination, settings.DxfVersion);
  } else {
    if (!TJwsData::FileCheck(source)) return Fail("JWS-Header Error");
    auto shape = std::make_unique<TJwsData>();
    if (!shape->FileIn(source)) return Fail(ReadFailure(shape->LastError));
    ctx.SourcePath = std::filesystem::absolute(source, ec);
    if (ec) ctx.SourcePath = source;
    attr.ResetColors();
    shape->GetMinMaxZahyo(ctx.Extents);
    ctx.DrawingPaperSize = {std::fabs(ctx.Extents.ExtMaxX - ctx.Extents.ExtMinX),
                            std::fabs(ctx.Extents.ExtMaxY - ctx.Extents.ExtMinY)};
    written = FileOutDXF(*shape, ctx, attr, destination, settings.DxfVersion);
  }
  if (!written) {
    if (std::filesystem::exists(destination, ec)) return {false, "destination exists", true};
    return Fail("the DXF file cannot be written");
  }
  return {true, {}, false};
}

}  // namespace parvex
