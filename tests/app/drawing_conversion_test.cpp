// Conversions inside a process that runs many (the command line): images go
// to a private folder that nobody can have prepared, a taken destination is
// reported as such, and settings no caller should pass are refused.
#include "converter/app/drawing_conversion.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "common/platform/private_folders.h"
#include "converter/app/converter_run.h"
#include "tests/support/jww_writer.h"
#include "tests/support/program_run.h"
#include "tests/support/stress_drawings.h"
#include "tests/support/temp_folder.h"

namespace parvex {
namespace {

namespace fs = std::filesystem;
using testing::TempFolder;

// Someone who knows the process id prepares the image folder a conversion
// would once have used, as a link to their victim's folder or as a folder
// holding a link named like the image. Nothing of theirs is touched, and
// the conversion's own folder is gone afterwards.
TEST(DrawingConversion, PreparedImageFoldersAreNotUsed) {
  if (!testing::kCanMakeLinks) GTEST_SKIP() << "no symbolic links can be made here";
  TempFolder work;
  testing::JwwWriteOptions options;
  options.images = {{u"a.bmp", "carried image", -1}};
  const fs::path src = work / "plan.jww";
  ASSERT_TRUE(testing::SaveBytes(
      src, testing::WriteJww(testing::ImageTextsDrawing({u"%temp%a.bmp"}), options)));
  const fs::path victims = work / "victims";
  fs::create_directory(victims);
  const fs::path victim = victims / "a.bmp";
  const fs::path predictable =
      platform::SystemTempFolder() / ("parvex-images-" + std::to_string(getpid()));
  ConversionSettings settings;
  for (bool folderIsLink : {true, false}) {
    SCOPED_TRACE(folderIsLink);
    std::ofstream(victim) << "precious";
    if (folderIsLink) {
      fs::create_directory_symlink(victims, predictable);
    } else {
      fs::create_directory(predictable);
      fs::create_symlink(victim, predictable / "a.bmp");
    }
    const fs::path dst = work / (folderIsLink ? "one.dxf" : "two.dxf");
    const Status r = ConvertDrawing(settings, src, dst);
    EXPECT_TRUE(r) << r.reason();
    EXPECT_EQ(TempFolder::Read(victim), "precious");
    std::error_code ec;
    fs::remove_all(predictable, ec);
  }
  for (const auto& e : fs::directory_iterator(platform::SystemTempFolder()))
    EXPECT_FALSE(e.path().filename().string().starts_with("parvex-" + std::to_string(getpid()) + "-"))
        << e.path();
}

TEST(DrawingConversion, RefusalsSayWhatWasWrong) {
  TempFolder work;
  const fs::path src = work / "plan.jww";
  ASSERT_TRUE(testing::SaveBytes(src, testing::WriteJww(testing::ManyLinesDrawing(3))));
  ConversionSettings settings;
  const fs::path taken = work.Write("taken.dxf", "theirs");
  Status r = ConvertDrawing(settings, src, taken);
  EXPECT_NE(r.reason().find("destination already exists"), std::string::npos) << r.reason();
  EXPECT_TRUE(DestinationTaken(taken));
  EXPECT_EQ(TempFolder::Read(taken), "theirs");

  settings.ColorMode = static_cast<ColorMode>(2147483647);
  settings.DxfVersion = DxfVersion::R2007;
  r = ConvertDrawing(settings, src, work / "colours.dxf");
  EXPECT_TRUE(r) << r.reason();

  settings.DxfVersion = static_cast<DxfVersion>(3);
  r = ConvertDrawing(settings, src, work / "version.dxf");
  EXPECT_NE(r.reason().find("DXF version 3"), std::string::npos) << r.reason();
  EXPECT_FALSE(DestinationTaken(work / "version.dxf"));
  EXPECT_EQ(testing::EntriesOf(work.Path()),
            (std::vector<std::string>{"colours.dxf", "plan.jww", "taken.dxf"}));
}

}  // namespace
}  // namespace parvex
