// Carried images of version-700 drawings written by the test writer.
#include <gtest/gtest.h>

#include <unistd.h>
#include <zlib.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "read_helpers.h"
#include "tests/support/jww_writer.h"

namespace parvex::testing {
namespace {

namespace fs = std::filesystem;

std::string Slurp(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

std::string Gzip(const fs::path& scratch, const std::string& data) {
  gzFile out = gzopen(scratch.c_str(), "wb");
  gzwrite(out, data.data(), static_cast<unsigned>(data.size()));
  gzclose(out);
  return Slurp(scratch);
}

std::string Pattern(size_t n, char seed) {
  std::string s(n, '\0');
  for (size_t i = 0; i < n; ++i) s[i] = static_cast<char>(seed + i * 7);
  return s;
}

class CarriedImages : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = fs::temp_directory_path() / ("parvex-images-test-" + std::to_string(::getpid()));
    folder_ = root_ / "TEMP";
    fs::create_directories(folder_);
  }
  void TearDown() override {
    std::error_code ec;
    fs::remove_all(root_, ec);
  }
  fs::path root_;
  fs::path folder_;
};

TEST_F(CarriedImages, ExtractedExplodedAndDeleted) {
  const std::string bmp = Pattern(1000, 'a');
  const std::string jpg = Pattern(3000, 'j');
  const std::string exact = Pattern(2048, 'x');
  const std::string odd = Pattern(2049, 'y');
  JwwWriteOptions options;
  options.images = {{u"a.bmp", bmp, -1},
                    {u"b.jpg.gz", Gzip(root_ / "scratch.gz", jpg), -1},
                    {u"C.GZ", Gzip(root_ / "scratch2.gz", "upper"), -1},
                    {u"empty.png", "", -1},
                    {u"exact.bin", exact, -1},
                    {u"odd.bin", odd, -1}};
  TJwwData d;
  d.BindImageFolder = folder_;
  d.BindImageExp = true;
  d.BindImageExr = true;
  ASSERT_TRUE(ReadJww(d, WriteJww(MakeJwwDrawing(700), options))) << d.LastError;
  ASSERT_EQ(d.BindImageN(), 6);
  EXPECT_EQ(d.BindImage[1].Fname, u"b.jpg.gz");
  EXPECT_EQ(d.BindImage[1].Fsize, static_cast<int32_t>(options.images[1].data.size()));
  EXPECT_EQ(Slurp(folder_ / "a.bmp"), bmp);
  EXPECT_EQ(Slurp(folder_ / "exact.bin"), exact);
  EXPECT_EQ(Slurp(folder_ / "odd.bin"), odd);
  EXPECT_TRUE(fs::exists(folder_ / "b.jpg.gz"));

  d.BindImageExplode();
  EXPECT_EQ(Slurp(folder_ / "b.jpg"), jpg);
  EXPECT_EQ(Slurp(folder_ / "C"), "upper");

  d.BindImageDeleteGzFile();
  d.BindImageDeleteNonGzFile();
  EXPECT_TRUE(fs::is_empty(folder_)) << fs::directory_iterator(folder_)->path();
}

// Names with folder parts never create a file outside the folder; their
// bytes are passed over and the next entry is read correctly.
TEST_F(CarriedImages, NamesWithFolderPartsStayInside) {
  JwwWriteOptions options;
  options.images = {{u"../outside.bmp", "evil", -1},
                    {u"..\\outside2.bmp", "evil", -1},
                    {u"/tmp/abs.bmp", "evil", -1},
                    {u"..", "evil", -1},
                    {u"good.bmp", "good", -1}};
  TJwwData d;
  d.BindImageFolder = folder_;
  d.BindImageExp = true;
  d.BindImageExr = true;
  ASSERT_TRUE(ReadJww(d, WriteJww(MakeJwwDrawing(700), options))) << d.LastError;
  EXPECT_EQ(Slurp(folder_ / "good.bmp"), "good");
  EXPECT_FALSE(fs::exists(root_ / "outside.bmp"));
  EXPECT_FALSE(fs::exists(root_ / "outside2.bmp"));
  EXPECT_FALSE(fs::exists(root_ / "..\\outside2.bmp"));
  d.BindImageDeleteGzFile();
  d.BindImageDeleteNonGzFile();
  EXPECT_TRUE(fs::is_empty(folder_));
}

TEST_F(CarriedImages, SectionIsReadOnlyFromVersion700AndWhenAsked) {
  JwwWriteOptions options;
  options.images = {{u"a.bmp", "data", -1}};
  struct Case {
    int32_t version;
    bool read_section;
    int expected;
  };
  for (const Case& c : {Case{699, true, 0}, Case{700, false, 0}, Case{700, true, 1}}) {
    SCOPED_TRACE(c.version);
    std::string bytes = WriteJww(MakeJwwDrawing(700), options);
    if (c.version == 699) bytes[8] = static_cast<char>(0xBB);  // 699 = 0x2BB, still ends in a section
    TJwwData d;
    d.BindImageExr = c.read_section;
    ASSERT_TRUE(ReadJww(d, bytes)) << d.LastError;
    EXPECT_EQ(d.BindImageN(), c.expected);
    EXPECT_TRUE(fs::is_empty(folder_));
  }
}

TEST_F(CarriedImages, SizeBeyondTheFileCopiesWhatIsThere) {
  JwwWriteOptions options;
  options.images = {{u"big.bmp", "only this", int64_t{1} << 30}};
  TJwwData d;
  d.BindImageFolder = folder_;
  d.BindImageExp = true;
  d.BindImageExr = true;
  EXPECT_TRUE(ReadJww(d, WriteJww(MakeJwwDrawing(700), options))) << d.LastError;
  EXPECT_LE(fs::file_size(folder_ / "big.bmp"), 9u);
}

}  // namespace
}  // namespace parvex::testing
