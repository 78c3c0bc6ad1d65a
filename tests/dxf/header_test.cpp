#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "converter/dxf/dxf_model.h"
#include "converter/dxf/dxf_writer.h"

namespace parvex {
namespace {

const char* const kGoldenDir = PARVEX_SOURCE_DIR "/tests/dxf/golden/";

// A small model whose tables and entities give a known handle count:
// 2 line types, 1 layer, 1 style, one block definition holding a line and a
// 3-vertex polyline, one top-level image with its file.
void FillSmallModel(TDXFmodel& m, int ver) {
  m.SetDXFVer(static_cast<DxfVersion>(ver), OutputSpace::Model);
  m.SetAppName(u"test");
  m.SetScale(2);
  m.SetPap(1.5, 2.25, 300, 200, 420, 297);
  m.AddLtype(u"Continuous", u"Solid line", 0, {});
  m.AddLtype(u"DOT", u"Dot", 2, {0, -6.35});
  m.AddLayer(u"0", 7, 1, 0, true, true);
  m.AddStyle({.nam = u"Standard", .fo1 = u"txt", .fo2 = u"extfont2.shx", .mhl = 2.5});
  const int b = m.AddBlockDef(u"B", 1);
  const DxfAttributes pen = {.colour = 1, .ltype = 1};
  m.AddLine(b, {.attr = pen, .x2 = 1, .y2 = 1});
  m.AddPLine(b, {.attr = pen, .v = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}}});
  m.AddImage(kTopLevel, {.ix = 10, .iy = 10, .sx = 5, .sy = 5, .fna = u"/nonexistent/a.bmp"});
  m.AddFList(u"/nonexistent/a.bmp", u"/nonexistent/out/", 10, 10, 5, 5);
}

std::string WholeFile(TDXFmodel& m) {
  DxfStringOutput out;
  DxfTextSink sink(out);
  EXPECT_TRUE(m.WriteDXF("/nonexistent/source.jww", sink));
  return out.bytes;
}

std::string HeaderSection(const std::string& file) {
  const std::size_t b = file.find("  0\r\nSECTION\r\n  2\r\nHEADER\r\n");
  const std::size_t e = file.find("  0\r\nENDSEC\r\n", b);
  if (b == std::string::npos || e == std::string::npos) return {};
  return file.substr(b, e + 13 - b);
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

// The HEADER of each version byte for byte. PARVEX_UPDATE_GOLDEN=1 rewrites
// the files (review the difference before committing it).
TEST(DxfHeader, MatchesGoldenFiles) {
  const char* names[] = {"header_r12.txt", "header_2000.txt", "header_2007.txt"};
  for (int ver = 0; ver < 3; ++ver) {
    TDXFmodel m;
    FillSmallModel(m, ver);
    const std::string header = HeaderSection(WholeFile(m));
    ASSERT_FALSE(header.empty());
    const std::string path = std::string(kGoldenDir) + names[ver];
    if (std::getenv("PARVEX_UPDATE_GOLDEN") != nullptr) {
      std::ofstream(path, std::ios::binary) << header;
    }
    EXPECT_EQ(header, ReadFile(path)) << path;
  }
}

TEST(DxfHeader, HandleSeedCountsEveryObject) {
  struct Case {
    int ver;
    const char* seed;
    int imageDef;
  };
  // R12: 8 + 6 layout blocks + (2 + 1 + 5) block definition + 2 image;
  // 2000/2007 add 22 + Ltn + the table entries and 4 dictionaries, and the
  // image definition takes the handle just below the seed.
  const Case cases[] = {{0, "18", 0}, {1, "3A", 57}, {2, "3A", 57}};
  for (const Case& c : cases) {
    TDXFmodel m;
    FillSmallModel(m, c.ver);
    const std::string header = HeaderSection(WholeFile(m));
    EXPECT_NE(header.find("  9\r\n$HANDSEED\r\n  5\r\n" + std::string(c.seed) + "\r\n"),
              std::string::npos)
        << c.ver;
    EXPECT_EQ(m.deFList[0].hnd, c.imageDef);
  }
}

TEST(DxfHeader, FileStartAndFrame) {
  TDXFmodel m;
  m.SetDXFVer(DxfVersion::R12, OutputSpace::Model);
  m.SetAppName(u"app");
  const std::string r12 = WholeFile(m);
  EXPECT_EQ(r12.rfind(
                "999\r\napp\r\n  0\r\nSECTION\r\n  2\r\nHEADER\r\n  9\r\n$ACADVER\r\n  1\r\n"
                "AC1009\r\n  9\r\n$DWGCODEPAGE\r\n  3\r\nANSI_932\r\n  9\r\n$INSBASE\r\n"
                " 10\r\n0.0\r\n 20\r\n0.0\r\n 30\r\n0.0\r\n",
                0),
            0u);
  EXPECT_EQ(r12.substr(r12.size() - 10), "  0\r\nEOF\r\n");
  EXPECT_EQ(r12.find("CLASSES"), std::string::npos);
  EXPECT_EQ(r12.find("OBJECTS"), std::string::npos);

  TDXFmodel n;
  n.SetDXFVer(DxfVersion::R2007, OutputSpace::Model);
  n.SetAppName(u"app");
  const std::string v2007 = WholeFile(n);
  EXPECT_NE(v2007.find("  1\r\nAC1021\r\n  9\r\n$ACADMAINTVER\r\n 70\r\n    25\r\n  9\r\n"
                       "$DWGCODEPAGE\r\n  3\r\nANSI_932\r\n  9\r\n$LASTSAVEDBY\r\n"),
            std::string::npos);
  // Sections in order.
  std::size_t at = 0;
  for (const char* s : {"HEADER", "CLASSES", "TABLES", "BLOCKS", "ENTITIES", "OBJECTS"}) {
    const std::size_t p = v2007.find(std::string("  2\r\n") + s + "\r\n", at);
    ASSERT_NE(p, std::string::npos) << s;
    at = p;
  }
  // Every line ends in CR LF; no lone LF or CR, no byte-order mark.
  for (const std::string* f : {&r12, &v2007}) {
    ASSERT_GE(f->size(), 2u);
    EXPECT_NE(static_cast<unsigned char>((*f)[0]), 0xEF);
    for (std::size_t i = 0; i < f->size(); ++i) {
      if ((*f)[i] == '\n') {
        ASSERT_TRUE(i > 0 && (*f)[i - 1] == '\r') << i;
      }
      if ((*f)[i] == '\r') {
        ASSERT_TRUE(i + 1 < f->size() && (*f)[i + 1] == '\n') << i;
      }
    }
  }
}

}  // namespace
}  // namespace parvex
