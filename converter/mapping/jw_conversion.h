// One JWW drawing or JWS shape file converted to one DXF file inside this
// process: reading, colour resolution, extents, paper size and mapping,
// each with its own context and attribute object so that nothing carries
// over from one drawing to the next.
#pragma once

#include <filesystem>
#include <string>

#include "common/conversion_settings.h"
#include "converter/context/conversion_context.h"

namespace parvex {

struct JwConversionResult {
  bool ok = false;
  std::string reason;             // why it failed; empty on success
  bool destinationTaken = false;  // failed only because the destination exists
};

// Paper width and height in millimetres of a JWW paper code.
PaperSize JwwPaperSize(int code);

// Converts `source` (".jww" or ".jws", any letter case) to `destination`,
// which is created new: an existing file is left alone and reported.
// `programFolder` is where carried images would be unpacked ("TEMP").
JwConversionResult ConvertJwDrawing(const std::filesystem::path& source,
                                    const std::filesystem::path& destination,
                                    const ConversionSettings& settings,
                                    const std::filesystem::path& programFolder = {});

}  // namespace parvex
