// Where the programs keep Parvex.dat: beside themselves, or in the user's
// own folder when they are installed.
#include <gtest/gtest.h>

#include <filesystem>

#include "common/platform/process_info.h"
#include "tests/support/folder_access.h"
#include "tests/support/temp_folder.h"

namespace parvex::platform {
namespace {

namespace fs = std::filesystem;
using testing::TempFolder;

#ifdef _WIN32
TEST(SettingsFolder, AlwaysBesideTheProgram) {
  TempFolder dir;
  fs::create_directories(dir / "share" / "parvex");
  EXPECT_EQ(SettingsFolderFor(dir / "bin", dir / "home"), dir / "bin");
}
#else
TEST(SettingsFolder, InstalledProgramsUseTheUsersOwnFolder) {
  TempFolder dir;
  const fs::path home = dir / "home";
  fs::create_directories(home);
  fs::create_directories(dir / "usr" / "bin");
  fs::create_directories(dir / "usr" / "share" / "parvex");
  fs::create_directories(dir / "build" / "bin");
  const fs::path installed = dir / "usr" / "bin";
  const fs::path own = home / ".config" / "parvex";

  // A copy built or unpacked anywhere keeps its settings beside itself.
  EXPECT_EQ(SettingsFolderFor(dir / "build" / "bin", home), dir / "build" / "bin");
  EXPECT_FALSE(fs::exists(home / ".config"));
  // Without a home folder, an installed one does too.
  EXPECT_EQ(SettingsFolderFor(installed, {}), installed);

  // Installed: the user's folder, made for the user alone, then kept as it
  // is.
  EXPECT_EQ(SettingsFolderFor(installed, home), own);
  EXPECT_TRUE(testing::ForThisUserOnly(own));
  dir.Write("home/.config/parvex/Parvex.dat", "mine");
  EXPECT_EQ(SettingsFolderFor(installed, home), own);
  EXPECT_EQ(TempFolder::Read(own / "Parvex.dat"), "mine");

  // A file in the folder's place: back to the program's folder.
  const fs::path blockedHome = dir / "blocked";
  fs::create_directories(blockedHome / ".config");
  dir.Write("blocked/.config/parvex", "not a folder");
  EXPECT_EQ(SettingsFolderFor(installed, blockedHome), installed);
}
#endif

}  // namespace
}  // namespace parvex::platform
