// Conversion of single drawings inside a process that runs many of them
// (the command line, tests, benchmarks) with settings given by the caller.
// Each conversion gets its own context and its own readers, so nothing of
// one drawing reaches the next.
#pragma once

#include <filesystem>
#include <string>

#include "common/conversion_settings.h"

namespace parvex {

struct DrawingConversionResult {
  bool ok = false;
  std::string reason;  // why no DXF was written; empty on success
  // The destination existed, or appeared while the drawing was converted:
  // that file was left as it is and nothing was written.
  bool destinationTaken = false;
};

// Reads `source` (JWW, JWS, ...: by extension) and writes `destination`,
// which must not exist (an existing file is never replaced). Reference
// variables are looked up as ParvexSub does, with `programFolder` (may be
// empty) first; carried images are unpacked into a private folder below the
// system's temporary folder, removed again at the end.
DrawingConversionResult ConvertDrawing(const ConversionSettings& settings,
                                       const std::filesystem::path& source,
                                       const std::filesystem::path& destination,
                                       const std::filesystem::path& programFolder = {});

}  // namespace parvex
