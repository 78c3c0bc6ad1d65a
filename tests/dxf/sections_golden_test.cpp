// Everything after the HEADER of one small drawing, byte for byte, per
// version. PARVEX_UPDATE_GOLDEN=1 rewrites the files (review the
// difference before committing it).
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "converter/dxf/dxf_model.h"
#include "converter/dxf/dxf_writer.h"
#include "tests/dxfaudit/dxf_audit.h"
#include "tests/support/temp_folder.h"

namespace parvex {
namespace {

const char* const kGoldenDir = PARVEX_SOURCE_DIR "/tests/dxf/golden/";

// Two line types, two layers (one Japanese), one style, a block with a line,
// and in model space a line, a Japanese text and an insert of the block.
void FillSmall(TDXFmodel& m, int ver) {
  m.SetDXFVer(static_cast<DxfVersion>(ver), OutputSpace::Model);
  m.SetAppName(u"golden");
  m.SetPap(0, 0, 100, 50, 420, 297);
  m.AddLtype(u"Continuous", u"Solid line", 0, {});
  m.AddLtype(u"DASHED", u"Dashed", 2, {12.7, -6.35});
  m.AddLayer(u"0", 7, 1, 0, true, true);
  m.AddLayer(u"壁", 3, 2, 25, true, false);
  m.AddStyle({.nam = u"Standard", .fo1 = u"txt", .fo2 = u"extfont2.shx", .mhl = 2.5});
  const int b = m.AddBlockDef(u"B1", 1);
  m.AddLine(b, {.attr = {.colour = -1, .ltype = -1, .lineweight = -1}, .x2 = 1, .y2 = 1});
  m.AddLine(kTopLevel,
            {.attr = {.layer = 1, .colour = 3, .ltype = 2, .lineweight = 25}, .x2 = 100, .y2 = 50});
  m.AddMoji(kTopLevel, {.attr = {.layer = 1}, .x1 = 10, .y1 = 10, .x2 = 40, .y2 = 10, .w = 5,
                        .h = 5, .st = u"日本語"});
  m.AddBlock(kTopLevel,
             {.attr = {.colour = 1}, .bln = b, .x = 50, .y = 25, .a = 90, .bx = 2, .by = 2});
}

std::string AfterHeader(const std::string& file) {
  const std::size_t h = file.find("  2\r\nHEADER\r\n");
  const std::size_t e = file.find("  0\r\nENDSEC\r\n", h);
  if (h == std::string::npos || e == std::string::npos) return {};
  return file.substr(e + 13);
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

TEST(DxfSectionsGolden, SmallDrawingPerVersion) {
  const char* names[] = {"sections_r12.dxf", "sections_2000.dxf", "sections_2007.dxf"};
  for (int ver = 0; ver < 3; ++ver) {
    TDXFmodel m;
    FillSmall(m, ver);
    DxfStringOutput out;
    DxfTextSink sink(out);
    ASSERT_TRUE(m.WriteDXF("/nonexistent/source.jww", sink));
    const std::string sections = AfterHeader(out.bytes);
    ASSERT_FALSE(sections.empty());
    const std::string path = std::string(kGoldenDir) + names[ver];
    if (std::getenv("PARVEX_UPDATE_GOLDEN") != nullptr) {
      std::ofstream(path, std::ios::binary) << sections;
    }
    EXPECT_EQ(sections, ReadFile(path)) << path;

    // The whole file reads back clean.
    const testing::TempFolder folder;
    EXPECT_TRUE(testing::PassesDxfAudit(folder.Write(names[ver], out.bytes)));
  }
}

}  // namespace
}  // namespace parvex
