#include "converter/app/converter_run.h"

#include <system_error>

#include "common/path_helpers.h"
#include "common/platform/codepage.h"
#include "common/platform/files.h"
#include "common/platform/private_folders.h"
#include "common/platform/process_info.h"
#include "common/settings_file.h"
#include "common/text_helpers.h"
#include "converter/app/paper_size.h"
#include "converter/app/reference_variables.h"
#include "converter/expand/conversion_moment.h"

namespace parvex {

namespace {

std::string Quoted(const std::filesystem::path& p) {
  std::string q(1, '"');
  q.append(platform::NarrowFromPath(p));
  q.push_back('"');
  return q;
}

void EndConversion(ConversionContext& context, DrawingReaders* readers) {
  context.ReferenceVariables.clear();
  if (readers) {
    for (auto* r : {readers->Jww.get(), readers->Jws.get(), readers->Jwc.get(), readers->Jwk.get()})
      if (r) r->DataFree();
  }
  // The run's own image folder goes with whatever is left in it; the
  // shared folder only when no other run uses it.
  platform::RemovePrivateFolder(context.ImageFolder);
  if (!context.ProgramFolder.empty()) RemoveFolder(context.ProgramFolder / kImageFolderName);
}

}  // namespace

std::vector<std::filesystem::path> JwSettingsCandidates(const std::filesystem::path& programFolder,
                                                        const std::u16string& jwwPath) {
  std::vector<std::filesystem::path> c;
  c.push_back(programFolder / kJwSettingsFileName);
  if (!RemoveBlanks(jwwPath).empty())
    c.push_back(platform::PathFromWindowsText(jwwPath) / kJwSettingsFileName);
  auto associated = platform::AssociatedJwwFolder();
  if (!associated.empty()) c.push_back(associated / kJwSettingsFileName);
  auto installed = platform::DefaultJwwFolder();
  if (!installed.empty()) c.push_back(installed / kJwSettingsFileName);
  return c;
}

Result<ConversionContext> StartConversion(const std::filesystem::path& programFolder,
                                          const std::vector<std::filesystem::path>& jwfSearch) {
  ConversionContext context;
  context.ProgramFolder = programFolder;
  const std::filesystem::path settingsPath = programFolder / kSettingsFileName;
  const SettingsFile defaults = DefaultSettingsFile(
      SettingsReader::Converter, IncludeTrailingSeparator(platform::PathToText(programFolder)));
  // A missing file is refused once the arguments are checked; one that is
  // there but cannot be read is not replaced by the defaults.
  Result<SettingsFile> read = ReadSettingsFile(settingsPath, defaults);
  if (!read && FileExistsSafe(settingsPath)) return read.failure();
  const SettingsFile& file = read ? *read : defaults;
  Result<ConversionSettings> settings = ToConversionSettings(file);
  if (!settings) return Fail("settings file " + Quoted(settingsPath) + ", " + settings.reason());
  context.Extents = DrawingExtents{};
  context.DrawingPaperSize = PaperSize{};
  context.Settings = *settings;
  context.ColorSource = ColorSourceOf(context.Settings);
  context.SourcePath.clear();
  context.ReferenceVariables.clear();
  auto candidates = jwfSearch.empty() ? JwSettingsCandidates(programFolder, file.JwCadFolder) : jwfSearch;
  context.ReferenceFileName = platform::PathFromText(FindReferenceFileName(candidates));
  LoadReferenceVariables(context);
  const std::filesystem::path shared = programFolder / kImageFolderName;
  platform::RemoveAbandonedPrivateFolders(shared);
  // Without a folder of its own only drawings that carry images lose
  // something (their images are not unpacked).
  Result<std::filesystem::path> own = platform::CreatePrivateFolder(shared);
  if (own) context.ImageFolder = *own;
  return context;
}

bool DestinationTaken(const std::filesystem::path& p) {
  std::error_code ec;
  return std::filesystem::exists(std::filesystem::symlink_status(p, ec));
}

Status RefuseTakenDestination(const std::filesystem::path& destination) {
  if (DestinationTaken(destination)) return Fail("destination already exists: " + Quoted(destination));
  return Ok();
}

Status ConvertOne(ConversionContext& context, DrawingReaders& readers, const std::filesystem::path& source,
                  const std::filesystem::path& destination) {
  if (!FileExistsSafe(source)) return Fail("source not found: " + Quoted(source));
  std::u16string ext = LowerExtension(platform::PathToText(source));
  DrawingKind kind = DrawingKind::Jww;
  if (ext == u".jww") {
    kind = DrawingKind::Jww;
  } else if (ext == u".jws") {
    kind = DrawingKind::Jws;
  } else if (ext == u".jwc") {
    kind = DrawingKind::Jwc;
    // DOS drawings get no multi-layout output; model and paper space stays.
    if (context.Settings.OutputSpace == OutputSpace::Layouts) context.Settings.OutputSpace = OutputSpace::Model;
  } else if (ext == u".jwk") {
    kind = DrawingKind::Jwk;
    context.Settings.OutputSpace = OutputSpace::Model;
  } else {
    return Fail("unsupported file kind " + Quoted(source) + " (expected .jww, .jws, .jwc or .jwk)");
  }
  DrawingReader& reader = readers.ForKind(kind);
  std::string kindName = DrawingKindName(kind);
  auto failed = [](const std::string& what, const Status& step) { return Fail(what + ": " + step.reason()); };

  // A set SOURCE_DATE_EPOCH that is no time is refused rather than replaced
  // by the clock: whoever set it expects reproducible output.
  Result<platform::LocalDateTime> moment = ConversionMoment();
  if (!moment) return Fail("cannot convert " + Quoted(source) + ": " + moment.reason());
  context.Moment = *moment;

  if (Status checked = reader.FileCheck(source); !checked)
    return failed("not a readable " + kindName + " file " + Quoted(source), checked);
  for (auto* r : {readers.Jww.get(), readers.Jws.get(), readers.Jwc.get(), readers.Jwk.get()})
    r->DataFree();
  if (Status read = reader.FileIn(context, source); !read) return failed("cannot read " + Quoted(source), read);

  std::error_code ec;
  auto full = std::filesystem::absolute(source, ec);
  context.SourcePath = ec ? source : full;
  LoadReferenceVariables(context);  // a bare reference file name now means beside the drawing
  if (Status measured = reader.AfterRead(context); !measured)
    return failed("cannot convert " + Quoted(source), measured);
  auto code = reader.PaperCode();
  context.DrawingPaperSize = code ? PaperSizeOfCode(*code) : PaperSizeOfExtents(context.Extents);

  if (Status written = reader.FileOutDXF(context, destination, context.Settings.DxfVersion); !written) {
    // The writer leaves nothing of its own at the destination, so a file
    // there now is someone else's: it stays.
    if (DestinationTaken(destination)) {
      return Fail("destination " + Quoted(destination) +
                  " appeared while the drawing was converted; it was left as it is");
    }
    return failed("cannot write " + Quoted(destination), written);
  }
  if (!FileExistsSafe(destination))
    return Fail("the DXF writer reported success but " + Quoted(destination) + " does not exist");
  return Ok();
}

int RunConverter(const std::vector<std::string>& args, const std::filesystem::path& programFolder,
                 const DrawingReaderFactory& makeReaders, std::ostream& errors) {
  if (Status codePage = platform::CodePageReady(); !codePage) {
    errors << "ParvexSub: " << codePage.reason() << '\n';
    return kRunFailed;
  }
  if (programFolder.empty()) {
    // Without its own folder the run would take settings from, and make its
    // image folder in, whatever the current folder is.
    errors << "ParvexSub: cannot find the folder of the running program\n";
    return kRunFailed;
  }
  ConversionContext context;
  DrawingReaders readers;
  Status run = CatchAll([&]() -> Status {
    Result<ConversionContext> started = StartConversion(programFolder);
    if (!started) return started.failure();
    context = std::move(*started);
    readers = makeReaders(context);
    if (args.size() != 2)
      return Fail("expected 2 arguments (SOURCE DESTINATION), got " + std::to_string(args.size()));
    const std::filesystem::path source = platform::PathFromNarrow(args[0]);
    const std::filesystem::path destination = platform::PathFromNarrow(args[1]);
    const std::filesystem::path settings = programFolder / kSettingsFileName;
    if (Status free = RefuseTakenDestination(destination); !free) return free;
    if (!FileExistsSafe(settings)) return Fail("settings file not found: " + Quoted(settings));
    return ConvertOne(context, readers, source, destination);
  });
  const Status ended = CatchAll([&] {
    EndConversion(context, &readers);
    return Ok();
  });
  if (run && !ended) run = Fail(ended.reason() + " while finishing");
  if (run) return kRunSucceeded;
  // One line, whatever a path or a reader's reason contains.
  std::string reason = run.reason();
  for (char& c : reason)
    if (c == '\n' || c == '\r') c = ' ';
  errors << "ParvexSub: " << reason << '\n';
  errors.flush();
  return kRunFailed;
}

}  // namespace parvex
