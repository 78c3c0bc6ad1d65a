// The files of carried images: never written through a link, only those an
// image text shows when asked so, and within a total per drawing however
// far their gzip data would unpack.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "converter/jww/jww_data.h"
#include "converter/jww/jww_images.h"
#include "read_bytes.h"
#include "tests/support/jww_writer.h"
#include "tests/support/stress_drawings.h"
#include "tests/support/program_run.h"
#include "tests/support/temp_folder.h"

namespace parvex {
namespace {

namespace fs = std::filesystem;
using testing::Succeeded;
using testing::TempFolder;

Status Read(TJwwData& d, const fs::path& folder, const std::string& bytes, bool usedOnly = false) {
  d.BindImageFolder = folder;
  d.BindImageExp = d.BindImageExr = true;
  d.BindImageUsedOnly = usedOnly;
  return d.ReadBytes({reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()});
}

// Links planted under the names of the images, the decompressed one too,
// are replaced, never written through.
TEST(CarriedImageFiles, LinksInTheFolderAreNeverWrittenThrough) {
  if (!testing::kCanMakeLinks) GTEST_SKIP() << "no symbolic links can be made here";
  TempFolder dir;
  const fs::path folder = dir / "TEMP";
  fs::create_directory(folder);
  const fs::path victim = dir.Write("victim.bmp", "precious");
  const fs::path victim2 = dir.Write("victim2.bmp", "precious too");
  fs::create_symlink(victim, folder / "a.bmp");
  fs::create_symlink(victim2, folder / "b.bmp");
  testing::JwwWriteOptions options;
  options.images = {{u"a.bmp", "carried a", -1}, {u"b.bmp.gz", testing::Gzip("carried b"), -1}};
  TJwwData d;
  ASSERT_TRUE(Succeeded(Read(d, folder, testing::WriteJww(testing::MakeJwwDrawing(700), options))));
  d.BindImageExplode();
  EXPECT_EQ(TempFolder::Read(victim), "precious");
  EXPECT_EQ(TempFolder::Read(victim2), "precious too");
  EXPECT_FALSE(fs::is_symlink(folder / "a.bmp"));
  EXPECT_EQ(TempFolder::Read(folder / "a.bmp"), "carried a");
  EXPECT_EQ(TempFolder::Read(folder / "b.bmp"), "carried b");
  d.BindImageDeleteGzFile();
  d.BindImageDeleteNonGzFile();
  EXPECT_TRUE(fs::is_empty(folder));
}

// Asked for shown images only, the reader writes those that an image text
// of the drawing or of a block definition names through "%temp%" (in any
// case; the gzip form of a shown name counts).
TEST(CarriedImageFiles, OnlyShownImagesAreWrittenWhenAsked) {
  const std::vector<std::u16string> texts = {u"%temp%shown.bmp", u"%TEMP%Upper.JPG",
                                             u"%temp%packed.bmp", u"%temp%inblock.png",
                                             u"C:\\pictures\\outside.bmp", u"%temp%"};
  testing::JwwWriteOptions options;
  for (const char16_t* name : {u"shown.bmp", u"upper.jpg", u"packed.bmp.gz", u"inblock.png",
                               u"outside.bmp", u"unshown.bmp", u"unshown.bmp.gz"})
    options.images.push_back({name, "bytes", -1});
  const std::string bytes = testing::WriteJww(testing::ImageTextsDrawing(texts, {3}), options);
  for (bool usedOnly : {false, true}) {
    SCOPED_TRACE(usedOnly);
    TempFolder dir;
    TJwwData d;
    ASSERT_TRUE(Succeeded(Read(d, dir.Path(), bytes, usedOnly)));
    const std::vector<std::string> all = {"inblock.png", "outside.bmp", "packed.bmp.gz", "shown.bmp",
                                          "unshown.bmp", "unshown.bmp.gz", "upper.jpg"};
    const std::vector<std::string> shown = {"inblock.png", "packed.bmp.gz", "shown.bmp", "upper.jpg"};
    EXPECT_EQ(testing::EntriesOf(dir.Path()), usedOnly ? shown : all);
  }
  EXPECT_EQ(CarriedImageReference(u"^@BM%temp%\\A.bmp,100,75"), u"a.bmp");
  EXPECT_EQ(CarriedImageReference(u"^@BM%temp%a.bmp"), u"");  // not an image text
  EXPECT_EQ(CarriedImageReference(u"x^@BM%temp%a.bmp,1"), u"");
}

// Gzip images that unpack to 200 MiB each: the first fits the drawing's
// total, the second would pass it and is removed.
TEST(CarriedImageFiles, UnpackedImagesStayWithinTheirTotal) {
  const std::string bomb = testing::GzipOfZeros(200ull << 20);
  testing::JwwWriteOptions options;
  options.images = {{u"a.bmp.gz", bomb, -1}, {u"b.bmp.gz", bomb, -1}};
  TempFolder dir;
  TJwwData d;
  ASSERT_TRUE(Read(d, dir.Path(), testing::WriteJww(testing::MakeJwwDrawing(700), options)));
  d.BindImageExplode();
  std::uintmax_t total = 0;
  for (const auto& e : fs::directory_iterator(dir.Path())) total += e.file_size();
  EXPECT_LE(total, kExplodedImagesAllowance + (kExplodedImagesGrowth + 1) * 2 * bomb.size());
  EXPECT_EQ(fs::file_size(dir / "a.bmp"), 200ull << 20);
  EXPECT_FALSE(fs::exists(dir / "b.bmp"));
}

}  // namespace
}  // namespace parvex
