// Jw_cad's reference variables ("%%NAME" TAB value), which text macros
// substitute. Jw_cad's settings file "Jw_win.jwf" names the file that holds
// them on a line "REF_FILE=path".
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "converter/context/conversion_context.h"

namespace parvex {

inline constexpr char kJwSettingsFileName[] = "Jw_win.jwf";

// Reads the first existing file of `jwfCandidates` and returns the path its
// REF_FILE line names ("REF_FILE=", "REF_FILE =" or "REF_FILE  =", after
// trimming), or empty text when none exists, a line "END..." comes first,
// or the file cannot be read.
std::u16string FindReferenceFileName(const std::vector<std::filesystem::path>& jwfCandidates);

// Parses the lines of a reference-variable file. A line counts when it has
// a TAB, and the name before it is not empty, has no blanks and begins with
// "%%"; control characters are removed from the value.
std::vector<TStr2List> ParseReferenceVariables(const std::vector<std::u16string>& lines);

// Loads context.ReferenceVariables from context.ReferenceFileName. A name
// without a folder is looked for beside the drawing (SourcePath) once one
// has been read, else in ProgramFolder. A missing or unreadable file leaves
// the list empty.
void LoadReferenceVariables(ConversionContext& context);

}  // namespace parvex
