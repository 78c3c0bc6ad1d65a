// Conversion of a Windows-edition drawing (JWW) or shape (JWS) that a reader
// has loaded into one DXF file.
#pragma once

#include <filesystem>

#include "common/result.h"
#include "converter/context/conversion_context.h"

namespace parvex {

class TJwwData;
class TJwsData;
class TgraAttribute;

// Maps the drawing into a fresh DXF model under context.Settings and writes
// it to `destination` as DXF version `ver` (0 R12, 1 2000, 2 2007). The
// context must carry what the reading step fixed: SourcePath, the drawing
// extents and DrawingPaperSize; `attributes` holds the drawing's resolved
// pen colours. The destination is created new: an existing file is never
// replaced. Fails with the reason when the file was not written.
Status FileOutDXF(const TJwwData& drawing, ConversionContext& context, TgraAttribute& attributes,
                  const std::filesystem::path& destination, DxfVersion ver);
Status FileOutDXF(const TJwsData& drawing, ConversionContext& context, TgraAttribute& attributes,
                  const std::filesystem::path& destination, DxfVersion ver);

}  // namespace parvex
