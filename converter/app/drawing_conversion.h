// Conversion of single drawings inside a process that runs many of them
// (the command line, tests, benchmarks) with settings given by the caller.
// Each conversion gets its own context and its own readers, so nothing of
// one drawing reaches the next.
#pragma once

#include <filesystem>

#include "common/conversion_settings.h"
#include "common/result.h"

namespace parvex {

// Reads `source` (JWW, JWS, ...: by extension) and writes `destination`,
// which must not exist (an existing file is never replaced), or says why no
// DXF was written. When the destination existed, or appeared while the
// drawing was converted, that file is left as it is (DestinationTaken in
// converter_run.h then holds for it). Reference variables are looked up as
// ParvexSub does, with `programFolder` (may be empty) first; carried images
// are unpacked into a private folder below the system's temporary folder,
// removed again at the end.
Status ConvertDrawing(const ConversionSettings& settings, const std::filesystem::path& source,
                      const std::filesystem::path& destination, const std::filesystem::path& programFolder = {});

}  // namespace parvex
