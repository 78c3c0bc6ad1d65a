#include "common/path_helpers.h"

#include <gtest/gtest.h>

#include "common/platform/files.h"
#include "common/platform/process_info.h"
#include "common/text_file.h"
#include "tests/support/temp_folder.h"

namespace parvex {
namespace {

using testing::TempFolder;

TEST(PathText, BothSeparatorsAccepted) {
  // What the helpers add is this system's own separator.
  const std::u16string sep = PathSeparator();
  struct Case {
    std::u16string_view path, folder, name, ext;
  } cases[] = {
      {u"c:\\jww\\plan.JWW", u"c:\\jww\\", u"plan.JWW", u".jww"},
      {u"/home/u/plan.jws", u"/home/u/", u"plan.jws", u".jws"},
      {u"plan.Ｊww", sep, u"plan.Ｊww", u".ｊww"},
      {u"dir.d/name", u"dir.d/", u"name", u""},
      {u"  ", u"", u"", u""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FolderOf(c.path), c.folder);
    EXPECT_EQ(FileNameOf(c.path), c.name);
    EXPECT_EQ(LowerExtension(c.path), c.ext);
  }
  EXPECT_EQ(ChangeExtension(u"a/b.c/plan.jww", u".dxf"), u"a/b.c/plan.dxf");
  EXPECT_EQ(ChangeExtension(u"a/b.c/plan", u".dxf"), u"a/b.c/plan.dxf");
  EXPECT_EQ(ChangeExtension(u"plan.jww", u""), u"plan");
  EXPECT_EQ(ChangeExtension(u"", u".dxf"), u"");
  EXPECT_EQ(IncludeTrailingSeparator(u"c:\\jww"), u"c:\\jww" + sep);
  EXPECT_EQ(IncludeTrailingSeparator(u"c:\\jww\\"), u"c:\\jww\\");
  EXPECT_EQ(ExcludeTrailingSeparator(u"/tmp/"), u"/tmp");
  EXPECT_EQ(SplitPath(u"\\a//b\\c/"), (std::vector<std::u16string>{u"a", u"b", u"c"}));
  EXPECT_EQ(NormalizeSeparators(u"c:\\jww/x"), u"c:" + sep + u"jww" + sep + u"x");
}

TEST(PathFiles, UniqueFileNameLowerCasesExtensionAndNeverReturnsExisting) {
  TempFolder dir;
  auto taken = dir.Write("a.DXF", "x");
  EXPECT_EQ(UniqueFileName(dir / "free.dxf"), dir / "free.dxf");
  EXPECT_EQ(UniqueFileName(taken), dir / "a~1.dxf");
  dir.Write("a~1.dxf", "x");
  dir.Write("a~2.dxf", "x");
  EXPECT_EQ(UniqueFileName(taken), dir / "a~3.dxf");
  EXPECT_EQ(UniqueFileName(taken, 2), std::filesystem::path());
}

TEST(PathFiles, CopyKeepsTimesAndNeverOverwrites) {
  TempFolder dir;
  auto src = dir.Write("src.bin", std::string(10000, 'z'));
  platform::FileTimes old;
  old.Access.tv_sec = 1000000000;
  old.Write.tv_sec = 1100000000;
  ASSERT_TRUE(platform::SetFileTimes(src, old));
  EXPECT_TRUE(CopyFileKeepTimes(src, dir / "copy.bin"));
  EXPECT_EQ(TempFolder::Read(dir / "copy.bin"), std::string(10000, 'z'));
  const auto copied = platform::ReadFileTimes(dir / "copy.bin");
  ASSERT_TRUE(copied);
  EXPECT_EQ(copied->Write.tv_sec, 1100000000);
  EXPECT_EQ(FileWriteTime(dir / "copy.bin").Year, platform::ToLocal(old.Write).Year);

  auto existing = dir.Write("existing.bin", "keep");
  EXPECT_FALSE(CopyFileKeepTimes(src, existing));
  EXPECT_EQ(TempFolder::Read(existing), "keep");
  EXPECT_FALSE(CopyFileKeepTimes(dir / "missing", dir / "out.bin"));
  EXPECT_FALSE(std::filesystem::exists(dir / "out.bin"));
}

TEST(PathFiles, ReadErrorIsNoEndOfFile) {
  // /proc/self/mem is a regular file whose first bytes (address 0, never
  // mapped) cannot be read: the read fails instead of reaching the end.
  const std::filesystem::path mem = "/proc/self/mem";
  auto in = platform::ReadOnlyFile::Open(mem);
  if (!in) GTEST_SKIP() << "/proc/self/mem cannot be opened here";
  char byte = 0;
  EXPECT_EQ(in->Read(&byte, 1), 0u);
  if (!in->Failed()) GTEST_SKIP() << "/proc/self/mem reads without error here";

  EXPECT_FALSE(platform::ReadFileBytes(mem, 1 << 20).has_value());
  TempFolder dir;
  EXPECT_FALSE(CopyFileKeepTimes(mem, dir / "copy.bin"));
  EXPECT_FALSE(std::filesystem::exists(dir / "copy.bin"));
}

TEST(PathFiles, FolderOperations) {
  TempFolder dir;
  auto deep = dir / "a" / "b";
  EXPECT_TRUE(CreateFolder(deep));
  EXPECT_TRUE(FolderExists(deep));
  EXPECT_FALSE(FileExistsSafe(deep));
  dir.Write("a/b/f.txt", "x");
  EXPECT_FALSE(RemoveFolder(deep));  // not empty: kept
  EXPECT_FALSE(DeleteFileSafe(deep));
  EXPECT_TRUE(DeleteFileSafe(deep / "f.txt"));
  EXPECT_TRUE(RemoveFolder(deep));
  EXPECT_FALSE(FolderExists(deep));
  EXPECT_FALSE(FileExistsSafe(""));
  EXPECT_FALSE(FileCreationTime(dir / "missing").IsSet());
}

TEST(PlatformFiles, NewFileIsExclusiveAndRemovedUnlessCommitted) {
  TempFolder dir;
  auto p = dir / "out.dxf";
  {
    auto f = platform::NewFile::Create(p);
    ASSERT_TRUE(f);
    EXPECT_TRUE(f->Write("partial"));
    EXPECT_FALSE(platform::NewFile::Create(p));  // exists now
  }
  EXPECT_FALSE(std::filesystem::exists(p));
  auto f = platform::NewFile::Create(p);
  ASSERT_TRUE(f);
  f->Write("done");
  EXPECT_TRUE(f->Commit());
  EXPECT_EQ(TempFolder::Read(p), "done");
}

TEST(PlatformFiles, ReplaceAndBoundedRead) {
  TempFolder dir;
  auto p = dir.Write("s.dat", "old");
  EXPECT_TRUE(platform::ReplaceFileContent(p, "new", true));
  EXPECT_EQ(TempFolder::Read(p), "new");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);
  EXPECT_FALSE(platform::ReplaceFileContent(dir / "no" / "s.dat", "x", true));
  EXPECT_EQ(platform::ReadFileBytes(p, 3), std::optional<std::string>("new"));
  EXPECT_FALSE(platform::ReadFileBytes(p, 2));
  EXPECT_FALSE(platform::ReadFileBytes(dir.Path(), 100));  // a folder
}

TEST(TextFile, EncodingsAndLineBreaks) {
  using Lines = std::vector<std::u16string>;
  EXPECT_EQ(SplitTextLines("\xEF\xBB\xBF" "a\r\n\xE3\x81\x82\r\n"), (Lines{u"a", u"あ"}));
  EXPECT_EQ(SplitTextLines("\x82\xA0\nb\rc"), (Lines{u"あ", u"b", u"c"}));
  using namespace std::string_view_literals;
  EXPECT_EQ(SplitTextLines("\xFF\xFE" "a\0\r\0\n\0b\0"sv), (Lines{u"a", u"b"}));
  EXPECT_EQ(SplitTextLines("\r\n\r\n"), (Lines{u"", u""}));
  EXPECT_EQ(SplitTextLines(""), Lines{});
}

}  // namespace
}  // namespace parvex

namespace parvex {
namespace {

#ifdef _WIN32
TEST(PlatformPaths, WindowsTextsStayAsTheyAre) {
  for (const char16_t* text : {u"C:\\jww\\ref.txt", u"..\\data\\ref.txt", u"ref.txt", u"C:ref.txt"})
    EXPECT_EQ(platform::PathFromWindowsText(text).u16string(), text);
}
#else
TEST(PlatformPaths, WindowsTextsBecomeLocalPaths) {
  auto drive = platform::PathFromWindowsText(u"C:\\jww\\ref.txt").string();
  EXPECT_TRUE(drive.ends_with("/.wine/dosdevices/c:/jww/ref.txt")) << drive;
  EXPECT_EQ(platform::PathFromWindowsText(u"..\\data\\ref.txt"), "../data/ref.txt");
  EXPECT_EQ(platform::PathFromWindowsText(u"/srv/ref.txt"), "/srv/ref.txt");
  EXPECT_EQ(platform::PathFromWindowsText(u"ref.txt"), "ref.txt");
  EXPECT_EQ(platform::PathFromWindowsText(u"C:ref.txt"), "C:ref.txt");
}
#endif

}  // namespace
}  // namespace parvex
