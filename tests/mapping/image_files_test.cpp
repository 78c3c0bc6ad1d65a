// Finding the file of an image text and reading its size in pixels from
// the header alone.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>

#include "converter/mapping/image_pixel_size.h"
#include "converter/mapping/mapping_images.h"
#include "tests/support/image_files.h"
#include "tests/support/temp_folder.h"

namespace parvex {
namespace {

namespace fs = std::filesystem;
using testing::TempFolder;

std::string Be16(int v) { return {static_cast<char>(v >> 8), static_cast<char>(v & 0xFF)}; }
std::string Le16(int v) { return {static_cast<char>(v & 0xFF), static_cast<char>(v >> 8)}; }

// A JPEG header: start, an APP1 segment of `appBytes` (a camera's
// thumbnail), then the frame header.
std::string JpegHeader(int w, int h, int appBytes) {
  std::string s("\xFF\xD8", 2);
  s += std::string("\xFF\xE1", 2) + Be16(appBytes + 2) + std::string(static_cast<size_t>(appBytes), 'x');
  s += std::string("\xFF\xC0", 2) + Be16(17) + '\x08' + Be16(h) + Be16(w) + '\x03';
  s += std::string("\x01\x22\x00\x02\x11\x01\x03\x11\x01", 9);
  return s;
}

std::string GifHeader(int w, int h) { return "GIF89a" + Le16(w) + Le16(h) + std::string("\x00\x00\x00", 3); }

std::string PsdHeader(int w, int h) {
  return "8BPS" + Be16(1) + std::string(6, '\0') + Be16(3) + Be16(0) + Be16(h) + Be16(0) + Be16(w) +
         Be16(8) + Be16(3);
}

std::string TgaHeader(int w, int h) {
  return std::string("\x00\x00\x02", 3) + std::string(9, '\0') + Le16(w) + Le16(h) + '\x18' + '\x00';
}

TEST(ImagePixelSize, FromTheHeaderOfEachFormat) {
  TempFolder dir;
  const struct {
    const char* name;
    std::string bytes;
    int w, h;  // 0: no size
  } cases[] = {
      {"png", testing::PngImage(400, 300), 400, 300},
      {"bmp", testing::BmpImage(3, 5), 3, 5},
      {"top-down bmp", testing::BmpImage(7, 2, true), 7, 2},
      // Only the header is read: a PNG cut after it still has its size.
      {"cut png", testing::PngImage(640, 480).substr(0, 33), 640, 480},
      {"jpeg", JpegHeader(1024, 768, 16), 1024, 768},
      {"jpeg with a large thumbnail before its frame", JpegHeader(33, 44, 65000), 33, 44},
      {"gif", GifHeader(12, 34), 12, 34},
      {"psd", PsdHeader(21, 43), 21, 43},
      {"tga", TgaHeader(9, 8), 9, 8},
      {"text", "carried image", 0, 0},
      {"empty", "", 0, 0},
      {"png without pixels", testing::PngImage(0, 0), 0, 0},
      {"png signature only", std::string("\x89PNG\r\n\x1a\n", 8), 0, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const fs::path p = dir.Write("image", c.bytes);
    const std::optional<ImagePixelSize> size = ReadImagePixelSize(p);
    if (c.w == 0) {
      EXPECT_FALSE(size);
    } else {
      ASSERT_TRUE(size);
      EXPECT_EQ(size->Width, c.w);
      EXPECT_EQ(size->Height, c.h);
    }
  }
  EXPECT_FALSE(ReadImagePixelSize(dir / "missing.png"));
  EXPECT_FALSE(ReadImagePixelSize(dir.Path()));
}

class ImageFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(carried_);
    fs::create_directories(drawing_ / "sub");
    fs::create_directories(elsewhere_);
    Put(carried_ / "Photo.png", 40, 30);
    Put(carried_ / "scan.bmp", 8, 4);
    Put(drawing_ / "beside.png", 5, 6);
    Put(drawing_ / "sub" / "inner.png", 7, 8);
    Put(elsewhere_ / "far.png", 9, 10);
    Put(dir_ / "above.png", 11, 12);
    std::ofstream(drawing_ / "text.png") << "not an image";
  }
  static void Put(const fs::path& p, int w, int h) {
    std::ofstream(p, std::ios::binary) << testing::PngImage(w, h);
  }

  TempFolder dir_;
  const fs::path carried_ = dir_ / "unpacked";
  const fs::path drawing_ = dir_ / "drawing";
  const fs::path elsewhere_ = dir_ / "elsewhere";
  // The drawing's carried images; the file of the gzip one is unpacked
  // without ".gz".
  const std::vector<TBindImageType> entries_ = {{u"Photo.png", 1, false}, {u"scan.bmp.gz", 1, false}};
};

TEST_F(ImageFiles, NamesReachTheirFiles) {
  ImageFileFinder finder(carried_, entries_, drawing_);
  const struct {
    std::u16string name;
    fs::path file;  // empty: nothing found
    int w;
  } cases[] = {
      {u"%temp%Photo.png", carried_ / "Photo.png", 40},
      // Letter case of the carried name and of "%temp%", a separator after it.
      {u"%TEMP%\\photo.PNG", carried_ / "Photo.png", 40},
      {u"%temp%/scan.bmp", carried_ / "scan.bmp", 8},
      {u"%temp%missing.png", {}, 0},
      // Folder parts never leave the carried images' folder.
      {u"%temp%..\\drawing\\beside.png", {}, 0},
      {u"%temp%", {}, 0},
      {u"beside.png", drawing_ / "beside.png", 5},
      {u"sub\\inner.png", drawing_ / "sub" / "inner.png", 7},
      {u"..\\above.png", dir_ / "above.png", 11},
      {(elsewhere_ / "far.png").u16string(), elsewhere_ / "far.png", 9},
      {u"far.png", {}, 0},  // a full path's file is not looked for beside the drawing
      {u"text.png", {}, 0},
      {u"Photo.png", {}, 0},
      {u"  ", {}, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.name.begin(), c.name.end()));
    const std::optional<FoundImage> found = finder.Find(c.name);
    if (c.file.empty()) {
      EXPECT_FALSE(found);
    } else {
      ASSERT_TRUE(found);
      EXPECT_EQ(found->Path, fs::canonical(c.file));
      EXPECT_EQ(found->Pixels.Width, c.w);
    }
  }
}

#ifndef _WIN32
// A link and the file it points to are one file; a FIFO named as an image
// is no image and does not make the conversion wait for a writer. (Windows
// has neither here.)
TEST_F(ImageFiles, LinksResolveAndFifosAreNoImages) {
  fs::create_symlink(drawing_ / "beside.png", drawing_ / "alias.png");
  ASSERT_EQ(::mkfifo((drawing_ / "pipe.png").c_str(), 0600), 0);
  ImageFileFinder finder(carried_, entries_, drawing_);
  const std::optional<FoundImage> a = finder.Find(u"alias.png");
  const std::optional<FoundImage> b = finder.Find(u"beside.png");
  ASSERT_TRUE(a && b);
  EXPECT_EQ(a->Path, b->Path);
  EXPECT_FALSE(finder.Find(u"pipe.png"));
  EXPECT_FALSE(ReadImagePixelSize(drawing_ / "pipe.png"));
}
#endif

TEST_F(ImageFiles, NoCarriedFolderFindsNoCarriedImage) {
  ImageFileFinder finder({}, entries_, drawing_);
  EXPECT_FALSE(finder.Find(u"%temp%Photo.png"));
  EXPECT_TRUE(finder.Find(u"beside.png"));
}

}  // namespace
}  // namespace parvex
