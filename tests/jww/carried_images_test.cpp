// Images carried inside a JWW file (version 700 and later): extraction,
// decompression, deletion, and names that must not leave the image folder.
#include <gtest/gtest.h>

#include <zlib.h>

#include <filesystem>

#include "converter/jww/jww_data.h"
#include "read_bytes.h"
#include "tests/support/jww_writer.h"
#include "tests/support/temp_folder.h"

namespace parvex::testing {
namespace {

namespace fs = std::filesystem;

std::string Gzip(const std::string& plain) {
  z_stream z{};
  deflateInit2(&z, Z_DEFAULT_COMPRESSION, Z_DEFLATED, 15 + 16, 8, Z_DEFAULT_STRATEGY);
  std::string out(plain.size() + 128, '\0');
  z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(plain.data()));
  z.avail_in = static_cast<uInt>(plain.size());
  z.next_out = reinterpret_cast<Bytef*>(out.data());
  z.avail_out = static_cast<uInt>(out.size());
  deflate(&z, Z_FINISH);
  out.resize(z.total_out);
  deflateEnd(&z);
  return out;
}

std::string Pattern(size_t n, char seed) {
  std::string s(n, '\0');
  for (size_t i = 0; i < n; ++i) s[i] = static_cast<char>(seed + i * 7);
  return s;
}

std::string WithImages(std::vector<CarriedImage> images) {
  JwwWriteOptions options;
  options.images = std::move(images);
  return WriteJww(MakeJwwDrawing(700), options);
}

class CarriedImages : public ::testing::Test {
 protected:
  void SetUp() override { fs::create_directories(folder_); }

  // A drawing that extracts into folder_.
  TJwwData Extracting() const {
    TJwwData d;
    d.BindImageFolder = folder_;
    d.BindImageExp = true;
    d.BindImageExr = true;
    return d;
  }

  TempFolder root_;
  const fs::path folder_ = root_ / "TEMP";
};

TEST_F(CarriedImages, ExtractedExplodedAndDeleted) {
  const std::string bmp = Pattern(1000, 'a');
  const std::string jpg = Pattern(3000, 'j');
  const std::string upper = Pattern(2049, 'c');
  const std::string exact = Pattern(2048, 'x');
  const std::string odd = Pattern(2049, 'y');
  const std::string jpgGz = Gzip(jpg);
  TJwwData d = Extracting();
  ASSERT_TRUE(Succeeded(ReadJww(d, WithImages({{u"a.bmp", bmp, -1},
                                     {u"b.jpg.gz", jpgGz, -1},
                                     {u"C.GZ", Gzip(upper), -1},
                                     {u"empty.png", "", -1},
                                     {u"exact.bin", exact, -1},
                                     {u"odd.bin", odd, -1}}))));
  ASSERT_EQ(d.BindImageN(), 6);
  EXPECT_EQ(d.BindImage[1].Fname, u"b.jpg.gz");
  EXPECT_EQ(d.BindImage[1].Fsize, static_cast<int32_t>(jpgGz.size()));
  EXPECT_EQ(d.BindImage[2].Fname, u"C.GZ");
  EXPECT_EQ(TempFolder::Read(folder_ / "a.bmp"), bmp);
  EXPECT_EQ(TempFolder::Read(folder_ / "exact.bin"), exact);
  EXPECT_EQ(TempFolder::Read(folder_ / "odd.bin"), odd);
  EXPECT_TRUE(fs::exists(folder_ / "b.jpg.gz"));

  d.BindImageExplode();
  EXPECT_EQ(TempFolder::Read(folder_ / "b.jpg"), jpg);
  EXPECT_EQ(TempFolder::Read(folder_ / "C"), upper);

  d.BindImageDeleteGzFile();
  d.BindImageDeleteNonGzFile();
  EXPECT_TRUE(fs::is_empty(folder_)) << fs::directory_iterator(folder_)->path();
}

// Names with folder parts, names too long to create and empty entries never
// create a file (least of all outside the folder); their bytes are passed
// over and the next entry is read correctly.
TEST_F(CarriedImages, NamesWithFolderPartsStayInside) {
  TJwwData d = Extracting();
  ASSERT_TRUE(Succeeded(ReadJww(d, WithImages({{u"../outside.bmp", "evil", -1},
                                     {u"..\\outside2.bmp", "evil", -1},
                                     {u"/tmp/abs.bmp", "evil", -1},
                                     {u"..", "evil", -1},
                                     {u"sub/x.bmp", "evil", -1},
                                     {std::u16string(300, u'n'), "x", -1},
                                     {u"", "", -1},
                                     {u"good.bmp", "good", -1}}))));
  ASSERT_EQ(d.BindImageN(), 8);
  EXPECT_EQ(d.BindImage[7].Fname, u"good.bmp");
  EXPECT_EQ(TempFolder::Read(folder_ / "good.bmp"), "good");
  EXPECT_FALSE(fs::exists(root_ / "outside.bmp"));
  EXPECT_FALSE(fs::exists(root_ / "outside2.bmp"));
  EXPECT_FALSE(fs::exists(root_ / "..\\outside2.bmp"));
  EXPECT_FALSE(fs::exists(folder_ / "sub"));
  d.BindImageDeleteGzFile();
  d.BindImageDeleteNonGzFile();
  EXPECT_TRUE(fs::is_empty(folder_));
}

TEST_F(CarriedImages, WithoutExtractionNothingIsWritten) {
  const std::string file = WithImages({{u"a.bmp", "abc", -1}, {u"b.bmp", "de", -1}});
  TJwwData d;
  d.BindImageFolder = folder_;
  d.BindImageExr = true;
  ASSERT_TRUE(ReadJww(d, file));
  ASSERT_EQ(d.BindImageN(), 2);
  EXPECT_EQ(d.BindImage[1].Fsize, 2);
  EXPECT_TRUE(fs::is_empty(folder_));
  // Without a folder nothing is written either, even when asked to.
  TJwwData e;
  e.BindImageExp = true;
  const bool cwdBefore = fs::exists("a.bmp");
  ASSERT_TRUE(ReadJww(e, file));
  EXPECT_EQ(fs::exists("a.bmp"), cwdBefore);
}

TEST_F(CarriedImages, SectionIsReadOnlyFromVersion700AndWhenAsked) {
  struct Case {
    const char* name;
    int32_t version;
    bool read_section;
    int64_t stated;
    int expected;
  };
  const Case cases[] = {
      {"version 699", 699, true, -1, 0},
      {"not asked", 700, false, -1, 0},
      {"asked", 700, true, -1, 1},
      // A huge count in a short file reads the entries that are there.
      {"count 2^31-1", 700, true, 0x7FFFFFFF, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    JwwWriteOptions options;
    options.images = {{u"a.bmp", "data", -1}};
    options.stated_images = c.stated;
    std::string bytes = WriteJww(MakeJwwDrawing(700), options);
    if (c.version == 699) bytes[8] = static_cast<char>(0xBB);  // 699 = 0x2BB, still ends in a section
    TJwwData d;
    d.BindImageExr = c.read_section;
    ASSERT_TRUE(Succeeded(ReadJww(d, bytes)));
    EXPECT_EQ(d.BindImageN(), c.expected);
    EXPECT_TRUE(fs::is_empty(folder_));
  }
}

TEST_F(CarriedImages, SizeBeyondTheFileCopiesWhatIsThere) {
  TJwwData d = Extracting();
  EXPECT_TRUE(Succeeded(ReadJww(d, WithImages({{u"big.bmp", "only this", int64_t{1} << 30}}))));
  EXPECT_LE(fs::file_size(folder_ / "big.bmp"), 9u);
}

}  // namespace
}  // namespace parvex::testing
