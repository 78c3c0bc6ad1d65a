// Conversion of a DOS-edition drawing (JWC) or shape (JWK) that a reader
// has loaded into one DXF file.
#pragma once

#include <filesystem>

#include "common/result.h"
#include "converter/context/conversion_context.h"

namespace parvex {

class TJwcData;
class TJwkData;

// Maps the drawing into a fresh DXF model under context.Settings and writes
// it to `destination` as DXF version `ver`. The context must carry what the
// reading step fixed: SourcePath, the drawing extents and DrawingPaperSize.
// A JWC drawing goes to model space, or with OutputSpace::ModelAndPaper its
// base layer group to paper space and the other groups into one viewport
// per scale; a JWK shape always goes to model space, whatever the setting.
// The destination is created new: an existing file is never replaced.
// Fails with the reason when the file was not written.
// The drawing is used up: its entity records are released as soon as the
// DXF model holds them, and it has none left afterwards.
Status FileOutDXF(TJwcData&& drawing, ConversionContext& context,
                  const std::filesystem::path& destination, DxfVersion ver);
Status FileOutDXF(TJwkData&& shape, ConversionContext& context,
                  const std::filesystem::path& destination, DxfVersion ver);

}  // namespace parvex
