// One model holding every entity kind, every table, block definitions,
// several layouts and an image, written in each version and read back by
// the DXF audit (ezdxf plus the raw pair walk).
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <numbers>
#include <string>

#include <gtest/gtest.h>

#include "common/platform/codepage.h"
#include "converter/dxf/dxf_default_tables.h"
#include "converter/dxf/dxf_model.h"
#include "tests/dxfaudit/dxf_audit.h"

namespace parvex {
namespace {

namespace fs = std::filesystem;
using testing::Counts;

std::string U8(std::u16string_view s) { return platform::ToUtf8(s); }

fs::path OutDir() {
  // One folder per process: test programs of several checkouts may run at once.
  fs::path d = fs::path(::testing::TempDir()) / ("parvex_sections_" + std::to_string(::getpid()));
  fs::create_directories(d);
  return d;
}

// Writes m to a fresh file named name in the test folder.
fs::path Save(TDXFmodel& m, const std::string& name) {
  const fs::path p = OutDir() / name;
  fs::remove(p);
  EXPECT_TRUE(m.SaveDXF("/nonexistent/source.jww", p)) << p;
  return p;
}

struct KitchenSink {
  int wall = -1, text = -1;  // layer indices
  int part = -1, dimPic = -1;  // block definitions
};

// Every kind in model space, some in paper space and layouts 2 and 3, a
// block definition with every kind it may hold, a dimension picture.
KitchenSink FillKitchenSink(TDXFmodel& m, int ver) {
  KitchenSink k;
  m.SetDXFVer(ver, 1);
  m.SetAppName(u"[Parvex] テスト");
  m.SetPap(0, 0, 420, 297, 420, 297);
  m.SetScale(1);
  m.SetTenTransType(5, 0.5);
  m.Ltn = 3;
  AddDefaultLtypes(m);
  AddSxfLtypes(m);
  AddDefaultLayers(m);
  k.wall = m.layn();
  m.AddLayer(u"壁", 3, 3, 25, true, true);
  k.text = m.layn();
  m.AddLayer(u"文字", 5, 1, 0, true, true);
  AddDefaultStyles(m);
  m.AddStyle(u"明朝", u"ＭＳ 明朝.ttf", u"", 0, 1, 0, 2.5, false);
  AddTenBlock(m);
  AddMarkerBlocks(m);

  const double pi = std::numbers::pi;
  const std::vector<TDXF_PLinePoint> poly = {{0, 0, 0}, {10, 0, pi / 2}, {10, 10, 0}};

  k.dimPic = m.AddBlockDef(u"*D1", 0);
  m.AddBlockLine(k.dimPic, 0, 0, -1, -1, -1, 0, 0, 100, 0);
  m.AddBlockMojiA(k.dimPic, 0, 0, -1, 0, 0, 0, 45, 1, 55, 1, 2.5, 2.5, 0, 0, u"", u"100");

  k.part = m.AddBlockDef(u"部品", 7);
  m.AddBlockLine(k.part, 0, k.wall, 0, 0, 0, 0, 0, 5, 5);
  m.AddBlockArc(k.part, 0, 0, 1, 0, 0, 0, 0, 3, 1, 0, 0, 0);     // circle
  m.AddBlockArc(k.part, 0, 0, 1, 0, 0, 0, 0, 3, 1, 0, 90, 0);    // arc
  m.AddBlockArc(k.part, 0, 0, 1, 0, 0, 0, 0, 3, 0.5, 0, 0, 30);  // ellipse
  m.AddBlockTen(k.part, 0, 0, 2, 0, 1, 1, 1, 0, 1);              // marker 1
  m.AddBlockSolid3(k.part, 0, 0, 4, 0, 0, 1, 0, 0, 1);
  m.AddBlockSolid4(k.part, 0, 0, 4, 0, 0, 1, 0, 1, 1, 0, 1);
  m.AddBlockMojiA(k.part, 1, k.text, 0, 0, 0, 0, 0, 0, 10, 0, 2, 2, 0, 0, u"", u"部品の文字");
  m.AddBlockImage(k.part, 0, 0, 0, 0, 200, 100, 20, 10, 0, u"/nonexistent/img/写真.PNG");
  m.AddBlockPLine(k.part, 0, 0, 1, 0, 0, 0, 0, true, 3, poly);
  m.AddBlockDim(k.part, 0, 0, 0, 0, 0, k.dimPic, 0, 0, true, true, false, false, 0, 0, 50,
                5, 0, 0, 100, 0, 0, 0, 0, 0, -1, 0, -1, 0, u"ISO-25", u"100");
  m.AddBlockBlock(k.part, 0, 0, 0, 0, 0, k.dimPic, 0, 0, 0, 1, 1);

  m.AddFList(u"/nonexistent/img/写真.PNG", OutDir().u16string() + u"/", 200, 100, 20, 10, 0);

  // Model space.
  m.AddLine(0, k.wall, 3, 3, 25, 0, 0, 100, 0);  // all by layer
  m.AddLine(0, k.wall, 1, 5, 50, 0, 10, 100, 10);
  m.AddArc(0, 0, 2, 0, 0, 50, 50, 10, 1, 0, 360, 0);     // circle
  m.AddArc(0, 0, 2, 0, 0, 50, 50, 12, 1, 30, -60, 0);    // clockwise arc
  m.AddArc(0, 0, 2, 0, 0, 80, 50, 10, 0.5, 0, 360, 20);  // whole ellipse
  m.AddArc(0, 0, 2, 0, 0, 80, 80, 10, 0.5, 0, 90, 0);    // elliptic arc
  m.AddTen(0, 0, 0, 0, 0, 5, 5, 0, 1);                   // the point block
  m.AddTen(0, 0, 1, 0, 5, 6, 6, 30, 2);                  // marker 5
  m.AddTen(0, 0, 1, 0, -1, 7, 7, 0, 1);                  // marker _1
  m.AddSolid3(0, 0, 3, 0, 0, 1, 0, 0, 1);
  m.AddSolid4(0, 0, 3, 0, 0, 1, 0, 1, 1, 0, 1);
  m.AddMojiA(0, k.text, 0, 0, 0, 2, 10, 20, 40, 20, 3, 3, 0, 0, u"", u"日本語テキスト");
  m.AddMojiA(0, k.text, 0, 2, 0, 1, 10, 30, 10, 0, 3, 3, 0, 270, u"", u"縦書き");
  m.AddImage(0, 0, 100, 100, 200, 100, 20, 10, 15, u"/nonexistent/img/写真.PNG");
  m.AddPLine(0, 0, 0, 4, 0, 0.5, 0.5, false, 3, poly);
  m.AddDim(0, 0, 0, 0, 0, k.dimPic, 0, 1, true, true, false, false, 0, 0, 50, 5, 0, 0, 100, 0,
           0, 0, 0, 0, 5, 0, -1, 0, u"ISO-25", u"100");
  m.AddBlock(0, k.wall, 0, 0, 0, k.part, 200, 200, 45, 2, 2);

  // First paper space.
  m.AddVPort(1, 1, 0, 0, 210, 148.5, 420, 297, 210, 148.5, 297);
  m.AddVPort(1, 1, 0, 0, 100, 100, 150, 100, 50, 50, 100);
  m.AddLine(1, 0, 1, 0, 0, 0, 0, 420, 297);
  m.AddMojiA(1, k.text, 0, 0, 0, 0, 10, 10, 40, 10, 3, 3, 0, 0, u"", u"図面名");
  m.AddImage(1, 0, 10, 10, 200, 100, 20, 10, 0, u"/nonexistent/img/写真.PNG");
  // Layouts 2 and 3.
  m.AddVPort(2, 1, 0, 0, 100, 100, 150, 100, 50, 50, 100);
  m.AddArc(2, 0, 1, 0, 0, 10, 10, 5, 1, 0, 0, 0);
  m.AddLine(3, 0, 1, 0, 0, 0, 0, 10, 10);
  m.AddBlock(3, 0, 0, 0, 0, k.part, 0, 0, 0, 1, 1);
  // Layout 4 does not exist: written nowhere.
  m.AddLine(4, 0, 1, 0, 0, 0, 0, 10, 10);
  return k;
}

class KitchenSinkTest : public ::testing::TestWithParam<int> {};

TEST_P(KitchenSinkTest, ReadsBackCleanWithTheModelsCounts) {
  const int ver = GetParam();
  TDXFmodel m;
  const KitchenSink k = FillKitchenSink(m, ver);
  const fs::path file = Save(m, "kitchen_sink_" + std::to_string(ver) + ".dxf");
  const testing::DxfAuditReport r = testing::AuditDxf(file);
  ASSERT_TRUE(r.Clean()) << r.Describe();

  // The writers used exactly the handles the seed was counted with: all
  // but the line of the missing layout 4 and the image definitions, which
  // take the handles just below the seed.
  std::ifstream in(file, std::ios::binary);
  const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  const std::size_t at = bytes.find("$HANDSEED\r\n  5\r\n") + 16;
  const int seed = std::stoi(bytes.substr(at, bytes.find('\r', at) - at), nullptr, 16);
  EXPECT_EQ(seed, m.DXFHnd + 1 + (ver == 0 ? 0 : m.deFListN()));

  const bool r12 = ver == 0;
  // Model space: 2 lines, circle, arc, 2 ellipses (R12: polylines), the
  // point block and two markers as inserts, 2 solids, 2 texts, an image
  // (not R12), a polyline, a dimension and an insert.
  Counts model = {{"LINE", 2},   {"CIRCLE", 1}, {"ARC", 1},      {"INSERT", 4},
                  {"SOLID", 2},  {"TEXT", 2},   {"POLYLINE", 1}, {"DIMENSION", 1}};
  if (r12) {
    model["POLYLINE"] += 2;
  } else {
    model["ELLIPSE"] = 2;
    model["IMAGE"] = 1;
  }
  EXPECT_EQ(r.layouts.at("Model"), model);

  Counts paper = {{"VIEWPORT", 2}, {"LINE", 1}, {"TEXT", 1}};
  if (!r12) paper["IMAGE"] = 1;
  if (r12) {
    // R12 has one paper space; layouts 2 and 3 are not written.
    ASSERT_EQ(r.layouts.size(), 2u);
    for (const auto& [name, counts] : r.layouts) {
      if (name != "Model") {
        EXPECT_EQ(counts, paper) << name;
      }
    }
  } else {
    EXPECT_EQ(r.layouts.size(), 4u);
    EXPECT_EQ(r.layouts.at("レイアウト1"), paper);
    EXPECT_EQ(r.layouts.at("レイアウト2"), (Counts{{"VIEWPORT", 1}, {"CIRCLE", 1}}));
    EXPECT_EQ(r.layouts.at("レイアウト3"), (Counts{{"LINE", 1}, {"INSERT", 1}}));
  }

  const std::string part = U8(m.deBlockDef[static_cast<std::size_t>(k.part)].nam);
  Counts partCounts = {{"LINE", 1},   {"CIRCLE", 1}, {"ARC", 1},      {"INSERT", 2},
                       {"SOLID", 2},  {"TEXT", 1},   {"POLYLINE", 1}, {"DIMENSION", 1}};
  if (r12) {
    partCounts["POLYLINE"] += 1;
  } else {
    partCounts["ELLIPSE"] = 1;
    partCounts["IMAGE"] = 1;
  }
  EXPECT_EQ(r.blocks.at(part), partCounts);
  // Point block, 17 markers, the dimension picture and the part.
  EXPECT_EQ(r.blocks.size(), 20u);
  EXPECT_EQ(r.blocks.at(U8(m.deBlockDef[static_cast<std::size_t>(k.dimPic)].nam)),
            (Counts{{"LINE", 1}, {"TEXT", 1}}));

  // Tables as the model holds them, Japanese names included.
  std::vector<std::string> layers;
  for (const TDXF_Layer& l : m.lays) layers.push_back(U8(l.nam));
  EXPECT_EQ(r.layers, layers);
  // R12 writes style and line type names in capitals.
  auto asWritten = [&](std::u16string_view name) {
    std::string s = U8(name);
    if (r12) {
      for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return s;
  };
  std::vector<std::string> styles;
  for (const TDXF_Style& s : m.msts) styles.push_back(asWritten(s.nam));
  EXPECT_EQ(r.styles, styles);
  // ezdxf adds ByBlock and ByLayer in R12 too.
  std::vector<std::string> ltypes;
  for (const TDXF_Ltype& l : m.ltps) ltypes.push_back(asWritten(l.nam));
  std::vector<std::string> read;
  for (const std::string& l : r.linetypes) {
    if (l != "ByBlock" && l != "ByLayer") read.push_back(l);
  }
  EXPECT_EQ(read, ltypes);
  if (!r12) {
    EXPECT_EQ(read.back(), "SXF_三点二短鎖線");
  }
  if (!r12) {
    EXPECT_EQ(part, "部品");
    EXPECT_EQ(r.by_layer.at("壁"), 4);  // 2 lines, the insert, the part's line
    EXPECT_EQ(r.objects.at("IMAGEDEF"), 1);
    EXPECT_EQ(r.objects.at("IMAGEDEF_REACTOR"), 3);
    EXPECT_EQ(r.objects.at("LAYOUT"), 4);
    EXPECT_EQ(r.image_defs, std::vector<std::string>{"写真.png"});
  }

  // Texts in writing order: layout 3 holds none, then the blocks, then
  // ENTITIES; every one intact in the version's encoding.
  for (const char* t : {"日本語テキスト", "縦書き", "図面名", "部品の文字", "100"}) {
    EXPECT_NE(std::find(r.texts.begin(), r.texts.end(), t), r.texts.end()) << t;
  }
}

INSTANTIATE_TEST_SUITE_P(Versions, KitchenSinkTest, ::testing::Values(0, 1, 2));

}  // namespace
}  // namespace parvex
