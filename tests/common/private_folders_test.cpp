// Private scratch folders: made fresh for this user only, removed without
// ever following a link, and recognised as abandoned only when they are
// ours and their process is gone.
#include "common/platform/private_folders.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "common/platform/process_info.h"
#include "tests/support/folder_access.h"
#include "tests/support/program_run.h"
#include "tests/support/temp_folder.h"

namespace parvex::platform {
namespace {

namespace fs = std::filesystem;
using testing::TempFolder;

TEST(PrivateFolders, FreshFolderForThisUserOnly) {
  TempFolder dir;
  const fs::path parent = dir / "TEMP";  // made when missing
  Result<fs::path> a = CreatePrivateFolder(parent);
  Result<fs::path> b = CreatePrivateFolder(parent);
  ASSERT_TRUE(a) << a.reason();
  ASSERT_TRUE(b) << b.reason();
  EXPECT_NE(*a, *b);
  EXPECT_EQ(a->parent_path(), parent);
  EXPECT_TRUE(a->filename().string().starts_with("parvex-" + std::to_string(CurrentProcessId()) + "-"));
  EXPECT_TRUE(testing::ForThisUserOnly(*a));
  EXPECT_FALSE(CreatePrivateFolder(dir.Write("file", "x")));
}

TEST(PrivateFolders, RemovalNeverFollowsLinks) {
  if (!testing::kCanMakeLinks) GTEST_SKIP() << "no symbolic links can be made here";
  TempFolder dir;
  const fs::path victim = dir.Write("victim.bmp", "precious");
  fs::create_directory(dir / "victims");
  std::ofstream(dir / "victims" / "v.bmp") << "precious";
  Result<fs::path> own = CreatePrivateFolder(dir.Path());
  ASSERT_TRUE(own);
  std::ofstream(*own / "a.bmp") << "image";
  fs::create_symlink(victim, *own / "b.bmp");
  fs::create_symlink(dir / "victims", *own / "c");
  RemovePrivateFolder(*own);
  EXPECT_FALSE(fs::exists(fs::symlink_status(*own)));
  EXPECT_EQ(TempFolder::Read(victim), "precious");
  EXPECT_EQ(TempFolder::Read(dir / "victims" / "v.bmp"), "precious");

  // A folder inside is not emptied: the private folder stays.
  Result<fs::path> nested = CreatePrivateFolder(dir.Path());
  ASSERT_TRUE(nested);
  fs::create_directory(*nested / "sub");
  std::ofstream(*nested / "sub" / "x") << "x";
  RemovePrivateFolder(*nested);
  EXPECT_TRUE(fs::exists(*nested / "sub" / "x"));
}

TEST(PrivateFolders, OnlyAbandonedOnesOfEndedProcessesGo) {
  TempFolder dir;
  const std::string ended = std::to_string(testing::EndedProcessId());
  const testing::IdleProcess other;
  const std::string running = std::to_string(other.Pid());
  const std::string self = std::to_string(CurrentProcessId());
  struct Case {
    std::string name;
    bool removed;
  } cases[] = {
      {"parvex-" + ended + "-aB3dE9", true},
      {"parvex-" + running + "-aB3dE9", false},
      {"parvex-" + self + "-aB3dE9", false},
      {"parvex-" + ended + "-aB3dE", false},   // not a name we make
      {"parvex-" + ended + "-aB3d.9", false},
      {"parvex-x" + ended + "-aB3dE9", false},
      {"parvex-images-" + ended, false},
#ifndef _WIN32
      {"Parvex-" + ended + "-aB3dE9", false},  // Windows has no such name beside the first
#endif
  };
  const fs::path victim = dir.Write("victim.bmp", "precious");
  for (const Case& c : cases) {
    fs::create_directory(dir / c.name);
    std::ofstream(dir / c.name / "a.bmp") << "left";
    if (testing::kCanMakeLinks) fs::create_symlink(victim, dir / c.name / "b.bmp");
  }
  // A link named like an abandoned folder is not one.
  fs::create_directory(dir / "elsewhere");
  std::ofstream(dir / "elsewhere" / "keep.bmp") << "keep";
  const std::string linkName = "parvex-" + ended + "-Zz9Zz9";
  if (testing::kCanMakeLinks) fs::create_directory_symlink(dir / "elsewhere", dir / linkName);

  EXPECT_EQ(RemoveAbandonedPrivateFolders(dir.Path()), 1);
  for (const Case& c : cases) EXPECT_EQ(fs::exists(dir / c.name), !c.removed) << c.name;
  if (testing::kCanMakeLinks) {
    EXPECT_TRUE(fs::is_symlink(dir / linkName));
  }
  EXPECT_EQ(TempFolder::Read(dir / "elsewhere" / "keep.bmp"), "keep");
  EXPECT_EQ(TempFolder::Read(victim), "precious");
}

}  // namespace
}  // namespace parvex::platform
