#include "converter/app/drawing_conversion.h"

#include <string>

#include "common/platform/files.h"
#include "common/platform/private_folders.h"
#include "converter/app/converter_run.h"
#include "converter/app/reader_registry.h"
#include "converter/app/reference_variables.h"

namespace parvex {

Status ConvertDrawing(const ConversionSettings& settings, const std::filesystem::path& source,
                      const std::filesystem::path& destination, const std::filesystem::path& programFolder) {
  if (Status free = RefuseTakenDestination(destination); !free) return free;
  if (const int version = SettingNumber(settings.DxfVersion); version < 0 || version > 2) {
    return Fail("DXF version " + std::to_string(version) + " is not 0, 1 or 2");
  }
  ConversionContext context;
  context.Settings = settings;
  context.ColorSource = ColorSourceOf(settings);
  context.ProgramFolder = programFolder;
  context.ReferenceFileName =
      platform::PathFromText(FindReferenceFileName(JwSettingsCandidates(programFolder, u"")));
  LoadReferenceVariables(context);
  const std::filesystem::path shared = platform::SystemTempFolder();
  platform::RemoveAbandonedPrivateFolders(shared);
  // Without a folder of its own a drawing's carried images are not unpacked.
  if (auto own = platform::CreatePrivateFolder(shared)) context.ImageFolder = *own;

  const Status converted = CatchAll([&] {
    DrawingReaders readers = CreateDrawingReaders(context);
    Status result = ConvertOne(context, readers, source, destination);
    for (auto* r : {readers.Jww.get(), readers.Jws.get(), readers.Jwc.get(), readers.Jwk.get()}) {
      r->DataFree();
    }
    return result;
  });
  platform::RemovePrivateFolder(context.ImageFolder);
  return converted;
}

}  // namespace parvex
