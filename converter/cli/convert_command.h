// convert: turns JWW and JWS drawings into DXF files, one after another in
// this process, under the conversion settings given as options or read
// from a settings file.
#pragma once

#include <filesystem>
#include <iosfwd>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "common/conversion_settings.h"
#include "common/result.h"

namespace parvex::cli {

struct ConvertOptions {
  ConversionSettings settings;
  std::vector<std::filesystem::path> files;
  std::optional<std::filesystem::path> outputFolder;  // default: beside each source
  // Threads to use (-j, --jobs): drawings converted at once, and the
  // threads left over write each drawing's file; 0: one per core.
  int jobs = 0;
  bool help = false;
  bool version = false;
};

// Parses the arguments after "convert"; fails with the usage error.
Result<ConvertOptions> ParseConvertArgs(std::span<const std::string> args);

// The subcommand itself and its help.
int RunConvert(std::span<const std::string> args, std::ostream& out, std::ostream& err);
void PrintConvertHelp(std::ostream& out);

// Where the result of `source` goes: `folder` (or the source's folder),
// the source's name with ".dxf", a branch number "~N" when that is taken.
// Empty when no free name exists.
std::filesystem::path ConvertDestination(const std::filesystem::path& source,
                                         const std::optional<std::filesystem::path>& folder);

// A name or reason as it goes into a result line: control characters and
// bytes that are not UTF-8 become "\xNN", so that one result stays one
// line whatever a file name holds.
std::string PrintableText(std::string_view bytes);

}  // namespace parvex::cli
