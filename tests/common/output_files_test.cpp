// The output file while it is written: a short temporary name, never a
// replaced file, and temporary files a killed process left recognised and
// removed by the caller.
#include "common/platform/output_files.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "tests/support/program_run.h"
#include "tests/support/temp_folder.h"

namespace parvex::platform {
namespace {

namespace fs = std::filesystem;
using testing::TempFolder;

// However long the destination's name, the temporary one fits beside it.
TEST(PendingFile, NamesUpToTheFileSystemLimit) {
  TempFolder dir;
  std::string kana;
  for (int i = 0; i < 85; ++i) kana += "図";  // 255 bytes
  for (const std::string& name : {kana, std::string(255, 'n'), std::string("a")}) {
    PendingFile f;
    ASSERT_TRUE(f.Open(dir / name)) << name.size();
    EXPECT_LT(f.TemporaryPath().filename().native().size(), 32u);
    EXPECT_TRUE(IsPendingFileName(f.TemporaryPath().filename(), getpid()));
    ASSERT_EQ(write(f.Fd(), "done", 4), 4);
    EXPECT_FALSE(fs::exists(dir / name));  // only once complete
    ASSERT_TRUE(f.Commit());
    EXPECT_EQ(TempFolder::Read(dir / name), "done");
  }
  EXPECT_EQ(testing::EntriesOf(dir.Path()).size(), 3u);
}

// Whatever takes the name, before or while the file is written, stays as
// it is; nothing of ours is left.
TEST(PendingFile, TakenNamesAreNeverReplaced) {
  TempFolder dir;
  const fs::path before = dir.Write("before.dxf", "theirs");
  PendingFile f;
  Status opened = f.Open(before);
  EXPECT_FALSE(opened);
  EXPECT_NE(opened.reason().find("already exists"), std::string::npos) << opened.reason();

  std::vector<std::string> left = {"before.dxf", "meanwhile.dxf"};
  if (testing::kCanMakeLinks) {
    fs::create_symlink(dir / "target.dxf", dir / "link.dxf");  // dangling
    EXPECT_FALSE(f.Open(dir / "link.dxf"));
    EXPECT_FALSE(fs::exists(dir / "target.dxf"));
    left.insert(left.begin() + 1, "link.dxf");
  }

  ASSERT_TRUE(f.Open(dir / "meanwhile.dxf"));
  ASSERT_EQ(write(f.Fd(), "ours", 4), 4);
  std::ofstream(dir / "meanwhile.dxf") << "theirs";
  const Status named = f.Commit();
  EXPECT_FALSE(named);
  EXPECT_NE(named.reason().find("appeared while it was being written"), std::string::npos)
      << named.reason();
  EXPECT_EQ(TempFolder::Read(dir / "meanwhile.dxf"), "theirs");
  EXPECT_EQ(testing::EntriesOf(dir.Path()), left);
}

// Only regular files named as process `pid` names its temporary files go.
TEST(PendingFile, AbandonedFilesOfOneProcessAreRemoved) {
  TempFolder dir;
  const fs::path outside = dir.Write("outside.dxf", "keep");
  struct Case {
    const char* name;
    bool removed;
  } cases[] = {
      {".pvx-4242-0.tmp", true},    {".pvx-4242-17.tmp", true},  {".pvx-42420-0.tmp", false},
      {".pvx-424-0.tmp", false},    {".pvx-4242-x.tmp", false},  {".pvx-4242-.tmp", false},
      {"pvx-4242-0.tmp", false},    {".pvx-4242-0.tmp.dxf", false},
  };
  for (const Case& c : cases) dir.Write(c.name, "partial");
  if (testing::kCanMakeLinks) fs::create_symlink(outside, dir / ".pvx-4242-5.tmp");  // a link: not ours
  fs::create_directory(dir / ".pvx-4242-6.tmp");         // a folder: not ours
  EXPECT_EQ(RemoveAbandonedPendingFiles(dir.Path(), 4242), 2);
  for (const Case& c : cases) EXPECT_EQ(fs::exists(dir / c.name), !c.removed) << c.name;
  if (testing::kCanMakeLinks) {
    EXPECT_TRUE(fs::is_symlink(dir / ".pvx-4242-5.tmp"));
  }
  EXPECT_TRUE(fs::is_directory(dir / ".pvx-4242-6.tmp"));
  EXPECT_EQ(TempFolder::Read(outside), "keep");
}

}  // namespace
}  // namespace parvex::platform
