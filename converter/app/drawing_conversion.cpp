#include "converter/app/drawing_conversion.h"

#include <unistd.h>

#include <exception>
#include <system_error>

#include "common/path_helpers.h"
#include "common/platform/files.h"
#include "converter/app/converter_run.h"
#include "converter/app/reader_registry.h"
#include "converter/app/reference_variables.h"

namespace parvex {

DrawingConversionResult ConvertDrawing(const ConversionSettings& settings,
                                       const std::filesystem::path& source,
                                       const std::filesystem::path& destination,
                                       const std::filesystem::path& programFolder) {
  std::error_code ec;
  if (std::filesystem::exists(destination, ec) || ec) {
    return {false, "destination exists: " + destination.string()};
  }
  ConversionContext context;
  context.Settings = settings;
  context.ColorSource = settings.ColorMode + 1;
  context.ProgramFolder = programFolder;
  context.ReferenceFileName =
      platform::PathFromText(FindReferenceFileName(JwSettingsCandidates(programFolder, u"")));
  LoadReferenceVariables(context);
  const auto temp = std::filesystem::temp_directory_path(ec);
  context.ImageFolder = (ec ? std::filesystem::path(".") : temp) /
                        ("parvex-images-" + std::to_string(getpid()));
  CreateFolder(context.ImageFolder);

  DrawingConversionResult result;
  try {
    DrawingReaders readers = CreateDrawingReaders(context);
    result.reason = ConvertOne(context, readers, source, destination);
    for (auto* r : {readers.Jww.get(), readers.Jws.get(), readers.Jwc.get(), readers.Jwk.get()}) {
      r->DataFree();
    }
  } catch (const std::exception& e) {
    result.reason = std::string("conversion failed: ") + e.what();
  }
  RemoveFolder(context.ImageFolder);  // only when empty
  result.ok = result.reason.empty();
  return result;
}

}  // namespace parvex
