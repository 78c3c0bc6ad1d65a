// One model holding every entity kind, every table, block definitions,
// several layouts and an image, written in each version and read back by
// the DXF audit (ezdxf plus the raw pair walk).
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <numbers>
#include <sstream>
#include <string>

#include "common/platform/codepage.h"
#include "common/platform/files.h"
#include "converter/dxf/dxf_default_tables.h"
#include "converter/dxf/dxf_model.h"
#include "tests/dxfaudit/dxf_audit.h"
#include "tests/support/temp_folder.h"

namespace parvex {
namespace {

namespace fs = std::filesystem;
using testing::Counts;

std::string U8(std::u16string_view s) { return platform::ToUtf8(s); }

// Writes m to a fresh file named name in folder.
fs::path Save(TDXFmodel& m, const testing::TempFolder& folder, const std::string& name) {
  const fs::path p = folder / name;
  EXPECT_TRUE(m.SaveDXF("/nonexistent/source.jww", p)) << p;
  return p;
}

struct KitchenSink {
  int wall = -1, text = -1;  // layer indices
  int part = -1, dimPic = -1;  // block definitions
};

// Every kind in model space, some in paper space and layouts 2 and 3, a
// block definition with every kind it may hold, a dimension picture. The
// image file lies in `out`/img, its copy goes to `out`.
KitchenSink FillKitchenSink(TDXFmodel& m, int ver, const fs::path& out) {
  KitchenSink k;
  // The image file, which the copy beside the written file is made of.
  fs::create_directories(out / "img");
  const fs::path photoFile = out / "img" / platform::PathFromNarrow("写真.PNG");
  std::ofstream(photoFile) << "image bytes";
  const std::u16string photo = photoFile.u16string();
  m.SetDXFVer(static_cast<DxfVersion>(ver), OutputSpace::ModelAndPaper);
  m.SetAppName(u"[Parvex] テスト");
  m.SetPap(0, 0, 420, 297, 420, 297);
  m.SetScale(1);
  m.SetTenTransType(PointConversion::FilledRhombus, 0.5);
  m.Ltn = 3;
  AddDefaultLtypes(m);
  AddSxfLtypes(m);
  AddDefaultLayers(m);
  k.wall = m.layn();
  m.AddLayer(u"壁", 3, 3, 25, true, true);
  k.text = m.layn();
  m.AddLayer(u"文字", 5, 1, 0, true, true);
  AddDefaultStyles(m);
  m.AddStyle({.nam = u"明朝", .fo1 = u"ＭＳ 明朝.ttf", .mhl = 2.5});
  AddTenBlock(m);
  AddMarkerBlocks(m);

  const double pi = std::numbers::pi;
  const std::vector<TDXF_PLinePoint> poly = {{0, 0, 0}, {10, 0, pi / 2}, {10, 10, 0}};

  k.dimPic = m.AddAnonymousBlockDef(u"*D1", 0);
  m.AddLine(k.dimPic, {.attr = {.colour = -1, .ltype = -1, .lineweight = -1}, .x2 = 100});
  m.AddMoji(k.dimPic, {.attr = {.colour = -1}, .x1 = 45, .y1 = 1, .x2 = 55, .y2 = 1, .w = 2.5,
                       .h = 2.5, .st = u"100"});

  k.part = m.AddBlockDef(u"部品", 7);
  m.AddLine(k.part, {.attr = {.layer = k.wall}, .x2 = 5, .y2 = 5});
  m.AddArc(k.part, {.attr = {.colour = 1}, .r = 3});                             // circle
  m.AddArc(k.part, {.attr = {.colour = 1}, .r = 3, .sweep = 90});                // arc
  m.AddArc(k.part, {.attr = {.colour = 1}, .r = 3, .ratio = 0.5, .axis = 30});   // ellipse
  m.AddTen(k.part, {.attr = {.colour = 2}, .cod = 1, .x = 1, .y = 1, .ba = 1});  // marker 1
  m.AddSolid3(k.part, {.attr = {.colour = 4}, .x2 = 1, .y3 = 1});
  m.AddSolid4(k.part, {.attr = {.colour = 4}, .x2 = 1, .x3 = 1, .y3 = 1, .y4 = 1});
  m.AddMoji(k.part,
            {.attr = {.space = 1, .layer = k.text}, .x2 = 10, .w = 2, .h = 2, .st = u"部品の文字"});
  m.AddImage(k.part,
             {.ix = 200, .iy = 100, .sx = 20, .sy = 10, .fna = photo});
  m.AddPLine(k.part, {.attr = {.colour = 1}, .clf = true, .v = poly});
  m.AddDim(k.part, {.bln = k.dimPic, .x1 = 50, .y1 = 5, .fl3 = true, .fl4 = true, .x4 = 100,
                    .sst = u"ISO-25", .str = u"100"});
  m.AddBlock(k.part, {.bln = k.dimPic});

  m.AddFList(photo, out.u16string() + u"/", 200, 100, 20, 10);

  // Model space.
  m.AddLine(kTopLevel, {.attr = {.layer = k.wall, .colour = 3, .ltype = 3, .lineweight = 25},
                        .x2 = 100});  // all by layer
  m.AddLine(kTopLevel, {.attr = {.layer = k.wall, .colour = 1, .ltype = 5, .lineweight = 50},
                        .y1 = 10, .x2 = 100, .y2 = 10});
  m.AddArc(kTopLevel, {.attr = {.colour = 2}, .x = 50, .y = 50, .r = 10, .sweep = 360});  // circle
  m.AddArc(kTopLevel, {.attr = {.colour = 2}, .x = 50, .y = 50, .r = 12, .start = 30,
                       .sweep = -60});  // clockwise arc
  m.AddArc(kTopLevel, {.attr = {.colour = 2}, .x = 80, .y = 50, .r = 10, .ratio = 0.5, .sweep = 360,
                       .axis = 20});  // whole ellipse
  m.AddArc(kTopLevel, {.attr = {.colour = 2}, .x = 80, .y = 80, .r = 10, .ratio = 0.5,
                       .sweep = 90});  // elliptic arc
  m.AddTen(kTopLevel, {.x = 5, .y = 5, .ba = 1});  // the point block
  m.AddTen(kTopLevel,
           {.attr = {.colour = 1}, .cod = 5, .x = 6, .y = 6, .a = 30, .ba = 2});     // marker 5
  m.AddTen(kTopLevel, {.attr = {.colour = 1}, .cod = -1, .x = 7, .y = 7, .ba = 1});  // marker _1
  m.AddSolid3(kTopLevel, {.attr = {.colour = 3}, .x2 = 1, .y3 = 1});
  m.AddSolid4(kTopLevel, {.attr = {.colour = 3}, .x2 = 1, .x3 = 1, .y3 = 1, .y4 = 1});
  m.AddMoji(kTopLevel, {.attr = {.layer = k.text}, .syat = true, .x1 = 10, .y1 = 20, .x2 = 40,
                        .y2 = 20, .w = 3, .h = 3, .st = u"日本語テキスト"});
  m.AddMoji(kTopLevel, {.attr = {.layer = k.text}, .style = 2, .tate = true, .x1 = 10, .y1 = 30,
                        .x2 = 10, .w = 3, .h = 3, .a = 270, .st = u"縦書き"});
  m.AddImage(kTopLevel, {.x = 100, .y = 100, .ix = 200, .iy = 100, .sx = 20, .sy = 10, .a = 15,
                         .fna = photo});
  m.AddPLine(kTopLevel, {.attr = {.ltype = 4}, .wd1 = 0.5, .wd2 = 0.5, .v = poly});
  m.AddDim(kTopLevel, {.bln = k.dimPic, .bas = 1, .x1 = 50, .y1 = 5, .fl3 = true, .fl4 = true,
                       .x4 = 100, .hlen = 5, .sst = u"ISO-25", .str = u"100"});
  m.AddBlock(
      kTopLevel,
      {.attr = {.layer = k.wall}, .bln = k.part, .x = 200, .y = 200, .a = 45, .bx = 2, .by = 2});

  // First paper space.
  m.AddVPort({.attr = {.space = 1}, .cx = 210, .cy = 148.5, .w = 420, .h = 297, .vx = 210,
              .vy = 148.5, .vh = 297});
  m.AddVPort({.attr = {.space = 1}, .cx = 100, .cy = 100, .w = 150, .h = 100, .vx = 50, .vy = 50,
              .vh = 100});
  m.AddLine(kTopLevel, {.attr = {.space = 1, .colour = 1}, .x2 = 420, .y2 = 297});
  m.AddMoji(kTopLevel, {.attr = {.space = 1, .layer = k.text}, .x1 = 10, .y1 = 10, .x2 = 40,
                        .y2 = 10, .w = 3, .h = 3, .st = u"図面名"});
  m.AddImage(kTopLevel, {.attr = {.space = 1}, .x = 10, .y = 10, .ix = 200, .iy = 100, .sx = 20,
                         .sy = 10, .fna = photo});
  // Layouts 2 and 3.
  m.AddVPort({.attr = {.space = 2}, .cx = 100, .cy = 100, .w = 150, .h = 100, .vx = 50, .vy = 50,
              .vh = 100});
  m.AddArc(kTopLevel, {.attr = {.space = 2, .colour = 1}, .x = 10, .y = 10, .r = 5});
  m.AddLine(kTopLevel, {.attr = {.space = 3, .colour = 1}, .x2 = 10, .y2 = 10});
  m.AddBlock(kTopLevel, {.attr = {.space = 3}, .bln = k.part});
  // Layout 4 does not exist: written nowhere.
  m.AddLine(kTopLevel, {.attr = {.space = 4, .colour = 1}, .x2 = 10, .y2 = 10});
  return k;
}

class KitchenSinkTest : public ::testing::TestWithParam<int> {};

TEST_P(KitchenSinkTest, ReadsBackCleanWithTheModelsCounts) {
  const int ver = GetParam();
  const testing::TempFolder folder;
  TDXFmodel m;
  const KitchenSink k = FillKitchenSink(m, ver, folder.Path());
  const fs::path file = Save(m, folder, "kitchen_sink_" + std::to_string(ver) + ".dxf");
  const testing::DxfAuditReport r = testing::AuditDxf(file);
  ASSERT_TRUE(r.Clean()) << r.Describe();

  // The seed follows the last handle given. In 2000 and 2007 that is the
  // last image definition, which is written; in R12 the last entity of
  // ENTITIES, an image that R12 leaves out with its reactor.
  std::ifstream in(file, std::ios::binary);
  const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  const std::size_t at = bytes.find("$HANDSEED\r\n  5\r\n") + 16;
  const long seed = std::stol(bytes.substr(at, bytes.find('\r', at) - at), nullptr, 16);
  // The handles of the records after the HEADER (a DIMSTYLE of R12 has an
  // empty group 5 of its own).
  long highest = 0;
  std::istringstream lines(bytes.substr(bytes.find("ENDSEC\r\n") + 8));
  std::string code, value;
  while (std::getline(lines, code) && std::getline(lines, value)) {
    if ((code == "  5\r" || code == "105\r") && value != "\r") {
      highest = std::max(highest, std::stol(value, nullptr, 16));
    }
  }
  EXPECT_EQ(seed, highest + (ver == 0 ? 3 : 1));

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
