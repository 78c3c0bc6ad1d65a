#include "converter/app/converter_run.h"

#include <exception>
#include <system_error>

#include "common/path_helpers.h"
#include "common/platform/files.h"
#include "common/platform/process_info.h"
#include "common/settings_file.h"
#include "common/text_helpers.h"
#include "converter/app/paper_size.h"
#include "converter/app/reference_variables.h"

namespace parvex {

namespace {

std::string Quoted(const std::filesystem::path& p) {
  std::string q(1, '"');
  q.append(p.native());
  q.push_back('"');
  return q;
}

// True for anything at p, a dangling link included: such a name is taken.
bool PathTaken(const std::filesystem::path& p) {
  std::error_code ec;
  return std::filesystem::exists(std::filesystem::symlink_status(p, ec));
}

void EndConversion(ConversionContext& context, DrawingReaders* readers) {
  context.ReferenceVariables.clear();
  if (readers) {
    for (auto* r : {readers->Jww.get(), readers->Jws.get(), readers->Jwc.get(), readers->Jwk.get()})
      if (r) r->DataFree();
  }
  // Only an empty folder goes; images of other runs stay.
  RemoveFolder(context.ImageFolder);
}

}  // namespace

std::vector<std::filesystem::path> JwSettingsCandidates(const std::filesystem::path& programFolder,
                                                        const std::u16string& jwwPath) {
  std::vector<std::filesystem::path> c;
  c.push_back(programFolder / kJwSettingsFileName);
  if (!RemoveBlanks(jwwPath).empty())
    c.push_back(platform::PathFromWindowsText(jwwPath) / kJwSettingsFileName);
  auto installed = platform::DefaultJwwFolder();
  if (!installed.empty()) c.push_back(installed / kJwSettingsFileName);
  return c;
}

ConversionContext StartConversion(const std::filesystem::path& programFolder,
                                  const std::vector<std::filesystem::path>& jwfSearch) {
  ConversionContext context;
  context.ProgramFolder = programFolder;
  ConverterSettingsFile file;
  ReadDatFile(programFolder / kSettingsFileName,
              IncludeTrailingSeparator(platform::PathToText(programFolder)), file);
  context.Extents = DrawingExtents{};
  context.DrawingPaperSize = PaperSize{};
  context.Settings = ToConversionSettings(file);
  context.ColorSource = file.cb3 + 1;
  context.SourcePath.clear();
  context.ReferenceVariables.clear();
  auto candidates = jwfSearch.empty() ? JwSettingsCandidates(programFolder, file.JwwPath) : jwfSearch;
  context.ReferenceFileName = platform::PathFromText(FindReferenceFileName(candidates));
  LoadReferenceVariables(context);
  context.ImageFolder = programFolder / kImageFolderName;
  CreateFolder(context.ImageFolder);  // a failure only matters to drawings with images
  return context;
}

std::string ConvertOne(ConversionContext& context, DrawingReaders& readers,
                       const std::filesystem::path& source, const std::filesystem::path& destination) {
  if (!FileExistsSafe(source)) return "source not found: " + Quoted(source);
  std::u16string ext = LowerExtension(platform::PathToText(source));
  DrawingKind kind = DrawingKind::Jww;
  if (ext == u".jww") {
    kind = DrawingKind::Jww;
  } else if (ext == u".jws") {
    kind = DrawingKind::Jws;
  } else if (ext == u".jwc") {
    kind = DrawingKind::Jwc;
    // DOS drawings get no multi-layout output; model and paper space stays.
    if (context.Settings.OutputSpace == 2) context.Settings.OutputSpace = 0;
  } else if (ext == u".jwk") {
    kind = DrawingKind::Jwk;
    context.Settings.OutputSpace = 0;
  } else {
    return "unsupported file kind " + Quoted(source) + " (expected .jww, .jws, .jwc or .jwk)";
  }
  DrawingReader& reader = readers.ForKind(kind);
  std::string kindName = DrawingKindName(kind);
  auto failure = [&](const std::string& what) {
    std::string reason = reader.LastFailure();
    return what + (reason.empty() ? "" : ": " + reason);
  };

  if (!reader.FileCheck(source)) return failure("not a readable " + kindName + " file " + Quoted(source));
  for (auto* r : {readers.Jww.get(), readers.Jws.get(), readers.Jwc.get(), readers.Jwk.get()})
    r->DataFree();
  if (!reader.FileIn(context, source)) return failure("cannot read " + Quoted(source));

  std::error_code ec;
  auto full = std::filesystem::absolute(source, ec);
  context.SourcePath = ec ? source : full;
  LoadReferenceVariables(context);  // a bare reference file name now means beside the drawing
  reader.AfterRead(context);
  auto code = reader.PaperCode();
  context.DrawingPaperSize = code ? PaperSizeOfCode(*code) : PaperSizeOfExtents(context.Extents);

  bool written = reader.FileOutDXF(context, destination, context.Settings.DxfVersion);
  if (!written) {
    // The destination did not exist before; whatever a failed writer left is partial.
    DeleteFileSafe(destination);
    return failure("cannot write " + Quoted(destination));
  }
  if (!FileExistsSafe(destination))
    return "the DXF writer reported success but " + Quoted(destination) + " does not exist";
  return {};
}

int RunConverter(const std::vector<std::string>& args, const std::filesystem::path& programFolder,
                 const DrawingReaderFactory& makeReaders, std::ostream& errors) {
  ConversionContext context;
  DrawingReaders readers;
  std::string reason;
  if (programFolder.empty()) {
    // Without its own folder the run would take settings from, and make its
    // image folder in, whatever the current folder is.
    errors << "ParvexSub: cannot find the folder of the running program\n";
    return kRunFailed;
  }
  try {
    context = StartConversion(programFolder);
    readers = makeReaders(context);
    if (args.size() != 2) {
      reason = "expected 2 arguments (SOURCE DESTINATION), got " + std::to_string(args.size());
    } else {
      std::filesystem::path source(args[0]);
      std::filesystem::path destination(args[1]);
      std::filesystem::path settings = programFolder / kSettingsFileName;
      if (PathTaken(destination)) {
        reason = "destination already exists: " + Quoted(destination);
      } else if (!FileExistsSafe(settings)) {
        reason = "settings file not found: " + Quoted(settings);
      } else {
        reason = ConvertOne(context, readers, source, destination);
      }
    }
  } catch (const std::exception& e) {
    reason = std::string("internal error: ") + e.what();
  }
  try {
    EndConversion(context, &readers);
  } catch (const std::exception& e) {
    if (reason.empty()) reason = std::string("internal error while finishing: ") + e.what();
  }
  if (reason.empty()) return kRunSucceeded;
  // One line, whatever a path or a reader's reason contains.
  for (char& c : reason)
    if (c == '\n' || c == '\r') c = ' ';
  errors << "ParvexSub: " << reason << '\n';
  errors.flush();
  return kRunFailed;
}

}  // namespace parvex
