// Images carried inside a JWW file: extraction, decompression, deletion.
#include <gtest/gtest.h>

#include <zlib.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "converter/jww/jww_data.h"
#include "jww_bytes.h"

namespace parvex {
namespace {

using testing::Bytes;

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

std::string ReadFile(const std::filesystem::path& p) {
  std::ifstream f(p, std::ios::binary);
  std::stringstream s;
  s << f.rdbuf();
  return s.str();
}

Bytes Image(const std::string& name, const std::string& data) {
  Bytes b;
  if (name.size() < 255) {
    b.Str(name);
  } else {
    b.U8(255).U16(static_cast<uint16_t>(name.size())).Ascii(name);
  }
  b.I32(static_cast<int32_t>(data.size())).Ascii(data);
  return b;
}

TEST(JwwCarriedImages, ExtractExplodeDelete) {
  testing::TempDir dir;
  const auto folder = dir.path() / "TEMP";
  std::filesystem::create_directories(folder);
  const std::string bmp(1000, 'b');
  const std::string jpg(3000, 'j');
  const std::string c(2049, 'c');
  testing::HeaderValues v;
  v.version = 700;
  Bytes file = testing::JwwHeader(v);
  file.U16(0).U16(0).I32(7);
  file.Append(Image("a.bmp", bmp));
  file.Append(Image("b.jpg.gz", Gzip(jpg)));
  file.Append(Image("../evil.bmp", "outside"));    // folder part: skipped
  file.Append(Image("sub/x.bmp", "outside"));      // folder part: skipped
  file.Append(Image(std::string(300, 'n'), "x"));  // too long to create: skipped
  file.Append(Image("", ""));                      // empty entry, no data
  file.Append(Image("C.GZ", Gzip(c)));

  TJwwData d;
  d.BindImageFolder = folder;
  d.BindImageExp = d.BindImageExr = true;
  ASSERT_TRUE(d.ReadBytes(file.span())) << d.LastError;
  ASSERT_EQ(d.BindImageN(), 7);
  EXPECT_EQ(d.BindImage[6].Fname, u"C.GZ");
  EXPECT_EQ(ReadFile(folder / "a.bmp"), bmp);
  EXPECT_TRUE(std::filesystem::exists(folder / "b.jpg.gz"));
  EXPECT_FALSE(std::filesystem::exists(dir.path() / "evil.bmp"));
  EXPECT_FALSE(std::filesystem::exists(folder / "sub"));

  d.BindImageExplode();
  EXPECT_EQ(ReadFile(folder / "b.jpg"), jpg);
  EXPECT_EQ(ReadFile(folder / "C"), c);

  d.BindImageDeleteGzFile();
  d.BindImageDeleteNonGzFile();
  EXPECT_TRUE(std::filesystem::is_empty(folder));
}

TEST(JwwCarriedImages, WithoutExtractionNothingIsWritten) {
  testing::TempDir dir;
  testing::HeaderValues v;
  v.version = 700;
  Bytes file = testing::JwwHeader(v);
  file.U16(0).U16(0).I32(2).Append(Image("a.bmp", "abc")).Append(Image("b.bmp", "de"));
  TJwwData d;
  d.BindImageFolder = dir.path();
  d.BindImageExr = true;
  ASSERT_TRUE(d.ReadBytes(file.span()));
  ASSERT_EQ(d.BindImageN(), 2);
  EXPECT_EQ(d.BindImage[1].Fsize, 2);
  EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
  // Without a folder nothing is written either, even when asked to.
  TJwwData e;
  e.BindImageExp = true;
  const auto cwdBefore = std::filesystem::exists("a.bmp");
  ASSERT_TRUE(e.ReadBytes(file.span()));
  EXPECT_EQ(std::filesystem::exists("a.bmp"), cwdBefore);
}

}  // namespace
}  // namespace parvex
