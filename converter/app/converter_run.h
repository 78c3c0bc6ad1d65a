// One run of the converter program ParvexSub: SOURCE DESTINATION in, one DXF
// file out. The settings come from "Parvex.dat" beside the program; the
// destination is never written over, and the run deletes no file it did not
// create; without a settings file or a source nothing is done. When no
// destination is written the run returns a non-zero status and writes one
// line naming the reason to `errors`.
#pragma once

#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

#include "common/result.h"
#include "converter/app/drawing_conversion.h"
#include "converter/app/reader_registry.h"
#include "converter/context/conversion_context.h"

namespace parvex {

// Folder beside the program that holds the image folders of the runs.
inline constexpr char kImageFolderName[] = "TEMP";

// Exit status of a run that wrote its destination, and of one that did not.
inline constexpr int kRunSucceeded = 0;
inline constexpr int kRunFailed = 1;

// Start-up of a run: the context with ProgramFolder, the clamped settings
// from programFolder/"Parvex.dat" (defaults when it is missing), ColorSource,
// the reference variables found through "Jw_win.jwf" (beside the program,
// in the Jw_cad folder the settings name, or in the default installation
// folder), and ImageFolder: a private folder of this run inside "TEMP"
// beside the program (empty when none can be made: carried images are then
// not unpacked). Image folders that killed runs left in "TEMP" are removed
// first. Fails when the settings file holds a value that cannot be used.
// `jwfSearch` replaces the default list of "Jw_win.jwf" candidates when not
// empty (for tests).
Result<ConversionContext> StartConversion(const std::filesystem::path& programFolder,
                                          const std::vector<std::filesystem::path>& jwfSearch = {});

// The folders searched for "Jw_win.jwf", in order.
std::vector<std::filesystem::path> JwSettingsCandidates(const std::filesystem::path& programFolder,
                                                        const std::u16string& jwwPath);

// Runs the whole conversion. `args` are the command-line arguments without
// the program name. Without code page 932 (platform::CodePageReady) nothing
// is done.
int RunConverter(const std::vector<std::string>& args, const std::filesystem::path& programFolder,
                 const DrawingReaderFactory& makeReaders, std::ostream& errors);

// The part after start-up and argument checks: dispatch on the source's
// lower-cased extension, read, and write. The destination must not exist;
// when it appears while the drawing is converted, the run fails and leaves
// that file alone.
Status ConvertOne(ConversionContext& context, DrawingReaders& readers, const std::filesystem::path& source,
                  const std::filesystem::path& destination);

// True when something is at `destination`, a dangling link included: such
// a name is taken. A failed conversion leaves nothing of its own there, so
// a destination taken after a failure is someone else's file.
bool DestinationTaken(const std::filesystem::path& destination);

// Refusal of a destination that is taken.
Status RefuseTakenDestination(const std::filesystem::path& destination);

// 1 for the drawing's screen colours, 2 for its printer colours.
inline int ColorSourceOf(const ConversionSettings& s) { return s.ColorMode == ColorMode::Printer ? 2 : 1; }

}  // namespace parvex
