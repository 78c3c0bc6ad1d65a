// Entity writers: what each kind of record becomes, the rules that skip a
// record, the spaces and owners, per version.
#include <cmath>
#include <cstdio>
#include <map>
#include <numbers>
#include <string>

#include <gtest/gtest.h>

#include "converter/dxf/dxf_default_tables.h"
#include "converter/dxf/dxf_model.h"
#include "model_records.h"

namespace parvex {
namespace {

using testing::DxfRecord;
using testing::OfType;
using testing::WriteRecords;

// Two line types, layer "0" (colour 7, Continuous) and "L" (colour 3,
// DASHED), three styles.
void Base(TDXFmodel& m, int ver, int spa = 0) {
  m.SetDXFVer(static_cast<DxfVersion>(ver), static_cast<OutputSpace>(spa));
  m.AddLtype(u"Continuous", u"", 0, {});
  m.AddLtype(u"DASHED", u"", 2, {1, -1});
  m.AddLayer(u"0", 7, 1, 0, true, true);
  m.AddLayer(u"L", 3, 2, 0, true, true);
  m.AddStyle({.nam = u"Standard", .fo1 = u"txt", .mhl = 2.5});
  m.AddStyle({.nam = u"Annotative", .fo1 = u"txt.shx", .mhl = 2.5});
  m.AddStyle({.nam = u"Mincho", .fo1 = u"ＭＳ 明朝.ttf", .mhl = 2.5});
}

DxfRecord Only(const std::vector<DxfRecord>& recs, const std::string& type) {
  auto found = OfType(recs, type, "ENTITIES");
  EXPECT_EQ(found.size(), 1u) << type;
  return found.empty() ? DxfRecord{} : found[0];
}

TEST(DxfEntities, ArcSweepsAndEllipses) {
  TDXFmodel m;
  Base(m, 1);
  m.AddArc(kTopLevel, {.r = 5, .start = 30, .sweep = -60});                // clockwise: 330 .. 30
  m.AddArc(kTopLevel, {.r = 5, .ratio = 0.5, .start = 90, .sweep = -90});  // clockwise elliptic arc
  const auto recs = WriteRecords(m);
  const DxfRecord arc = Only(recs, "ARC");
  EXPECT_EQ(arc.Str(50), "330.0");
  EXPECT_EQ(arc.Str(51), "30.0");
  // An ELLIPSE runs counter-clockwise from 41 to 42: the same quarter.
  const DxfRecord ell = Only(recs, "ELLIPSE");
  EXPECT_EQ(ell.Str(41), "0.0");
  EXPECT_EQ(ell.Str(42), "1.5707963267949");
}

TEST(DxfEntities, R12EllipseIsAPolylineOfPoints) {
  TDXFmodel m;
  Base(m, 0);
  m.AddArc(kTopLevel,
           {.attr = {.layer = 1}, .x = 10, .y = 20, .r = 4, .ratio = 0.5, .sweep = 360});  // whole
  m.AddArc(kTopLevel,
           {.attr = {.layer = 1}, .x = 10, .y = 20, .r = 4, .ratio = 0.5, .sweep = 90});  // quarter
  const auto recs = WriteRecords(m);
  const auto polys = OfType(recs, "POLYLINE", "ENTITIES");
  ASSERT_EQ(polys.size(), 2u);
  EXPECT_EQ(polys[0].Str(70), "     1");
  EXPECT_FALSE(polys[1].Has(70));
  // Vertices follow their polyline up to its SEQEND.
  std::vector<std::vector<DxfRecord>> vertices(2);
  int current = -1;
  for (const DxfRecord& r : recs) {
    if (r.type == "POLYLINE") ++current;
    if (r.type == "VERTEX") vertices[static_cast<std::size_t>(current)].push_back(r);
  }
  EXPECT_EQ(vertices[0].size(), 72u);
  ASSERT_EQ(vertices[1].size(), 73u);
  EXPECT_EQ(vertices[1].front().Str(10), "14.0");
  EXPECT_EQ(vertices[1].front().Str(20), "20.0");
  EXPECT_EQ(vertices[1].back().Str(10), "10.0");
  EXPECT_EQ(vertices[1].back().Str(20), "22.0");
  // Vertices and SEQEND take the handles after their polyline's.
  const auto handle = [](const DxfRecord& r) { return std::stoul(r.Str(5), nullptr, 16); };
  EXPECT_EQ(handle(vertices[1].front()), handle(polys[1]) + 1);
  EXPECT_EQ(handle(vertices[1].back()), handle(polys[1]) + 73);
}

TEST(DxfEntities, AttributeGroups) {
  TDXFmodel m;
  Base(m, 1);
  // all as the layer: nothing written
  m.AddLine(kTopLevel, {.attr = {.layer = 1, .colour = 3, .ltype = 2}, .x2 = 1, .y2 = 1});
  m.AddLine(kTopLevel, {.attr = {.layer = 1, .colour = -1, .ltype = -1, .lineweight = -1}, .x2 = 1,
                        .y2 = 1});  // by block
  m.AddLine(kTopLevel, {.attr = {.layer = 1, .colour = 5, .ltype = 1, .lineweight = 50}, .x2 = 1,
                        .y2 = 1});  // explicit
  const auto lines = OfType(WriteRecords(m), "LINE", "ENTITIES");
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_FALSE(lines[0].Has(6) || lines[0].Has(62) || lines[0].Has(370));
  EXPECT_EQ(lines[1].Str(6), "ByBlock");
  EXPECT_EQ(lines[1].Str(62), "     0");
  EXPECT_EQ(lines[1].Str(370), "-2");
  EXPECT_EQ(lines[2].Str(6), "Continuous");
  EXPECT_EQ(lines[2].Str(62), "     5");
  EXPECT_EQ(lines[2].Str(370), "50");
}

TEST(DxfEntities, PointsByCodeAndConversion) {
  struct Case {
    int tentyp;
    int cod;
    const char* type;  // nullptr: not written
  };
  const Case cases[] = {
      {0, 0, "POINT"},  {0, -3, "POINT"}, {1, 0, "CIRCLE"}, {5, 0, "INSERT"},
      {0, 4, "INSERT"}, {0, -2, "INSERT"}, {0, 12, "POINT"},
  };
  for (const Case& c : cases) {
    TDXFmodel m;
    Base(m, 1);
    m.SetTenTransType(static_cast<PointConversion>(c.tentyp), 0.5);
    AddTenBlock(m);
    AddMarkerBlocks(m);
    m.AddTen(kTopLevel, {.cod = c.cod, .x = 1, .y = 2, .ba = 2});
    const auto recs = WriteRecords(m);
    const DxfRecord r = Only(recs, c.type);
    if (c.tentyp == 1) {
      EXPECT_EQ(r.Str(40), "1.0");  // radius 0.5 at scale 2
      EXPECT_EQ(r.Str(6), "Continuous");
    }
    if (std::string(c.type) == "INSERT") {
      const std::string block = c.cod == 4    ? "_TRANS_TMARKER4"
                                : c.cod == -2 ? "_TRANS_TMARKER_2"
                                              : "_TRANS_TEN";
      EXPECT_EQ(r.Str(2), block);
      EXPECT_EQ(r.Str(41), "2.0");
    }
  }
}

TEST(DxfEntities, SkippedRecordsKeepTheirHandles) {
  TDXFmodel m;
  Base(m, 1);
  m.AddLine(kTopLevel, {.x2 = 1, .y2 = 1});
  m.AddTen(kTopLevel, {.cod = 5, .ba = 1});                        // marker 5 without its block
  m.AddMoji(kTopLevel, {.x2 = 1, .w = 1, .h = 1, .st = u" 　 "});  // blank
  m.AddVPort({.w = 10, .h = 10, .vh = 10});                        // model-space viewport
  m.AddBlock(kTopLevel, {});                                       // no block
  m.AddLine(kTopLevel, {.x2 = 1, .y2 = 1});
  const auto recs = WriteRecords(m);
  const auto lines = OfType(recs, "LINE", "ENTITIES");
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(std::stoi(lines[1].Str(5), nullptr, 16) - std::stoi(lines[0].Str(5), nullptr, 16), 4 + 1);
  for (const char* t : {"POINT", "INSERT", "TEXT", "VIEWPORT"}) {
    EXPECT_TRUE(OfType(recs, t, "ENTITIES").empty()) << t;
  }
}

TEST(DxfEntities, SolidCornersAndTexts) {
  TDXFmodel m;
  Base(m, 1);
  m.SetMojiStyle(TextStyleMode::TrueType);
  m.AddSolid4(kTopLevel, {.x2 = 1, .x3 = 1, .y3 = 1, .y4 = 1});
  m.AddMoji(kTopLevel, {.font = m.FontIndex(u"ＭＳ 明朝"), .syat = true, .x2 = 1, .w = 1, .h = 1,
                        .st = u"斜体"});
  m.AddMoji(kTopLevel,
            {.font = m.FontIndex(u"ゴシック"), .tate = true, .x2 = 1, .w = 1, .h = 1, .st = u"縦"});
  m.AddMoji(kTopLevel, {.x2 = 1, .w = 1, .h = 1, .st = u"a\r\n  0\r\nEOF"});
  const auto recs = WriteRecords(m);
  const DxfRecord solid = Only(recs, "SOLID");
  EXPECT_EQ(solid.Str(12) + "," + solid.Str(22), "0.0,1.0");
  EXPECT_EQ(solid.Str(13) + "," + solid.Str(23), "1.0,1.0");
  const auto texts = OfType(recs, "TEXT", "ENTITIES");
  ASSERT_EQ(texts.size(), 3u);
  EXPECT_EQ(texts[0].Str(51), "28.0");
  EXPECT_EQ(texts[0].Str(7), "Mincho");  // font ＭＳ 明朝 has ＭＳ 明朝.ttf
  EXPECT_EQ(texts[0].Str(72), "     5");
  EXPECT_FALSE(texts[1].Has(51));
  EXPECT_EQ(texts[1].Str(72), "     3");
  EXPECT_EQ(texts[1].Str(7), "Standard");  // no style for that font
  // Line breaks in a text cannot start new groups.
  EXPECT_EQ(texts[2].Str(1), "a    0  EOF");
}

TEST(DxfEntities, PolylinesInsertsAndImages) {
  TDXFmodel m;
  Base(m, 1);
  const double pi = std::numbers::pi;
  m.AddPLine(kTopLevel, {.clf = true, .v = {{0, 0, pi}, {1, 0, 0}}});
  const int b = m.AddBlockDef(u"B", 1);
  m.AddBlock(kTopLevel, {.bln = b});
  m.AddBlock(kTopLevel, {.bln = b, .bx = 0, .by = 0});
  m.AddFList(u"/x/a.png", u"/out/", 200, 100, 20, 10);
  m.AddImage(kTopLevel,
             {.x = 5, .y = 5, .ix = 200, .iy = 100, .sx = 20, .sy = 10, .fna = u"/x/a.png"});
  const auto recs = WriteRecords(m);
  const DxfRecord pl = Only(recs, "POLYLINE");
  EXPECT_EQ(pl.Str(70), "     1");
  const auto vertices = OfType(recs, "VERTEX");
  ASSERT_EQ(vertices.size(), 2u);
  EXPECT_EQ(vertices[0].Str(42), "1.0");
  EXPECT_FALSE(vertices[1].Has(42));
  EXPECT_EQ(vertices[0].Str(330), pl.Str(5));
  for (const DxfRecord& ins : OfType(recs, "INSERT", "ENTITIES")) {
    EXPECT_FALSE(ins.Has(41) || ins.Has(42) || ins.Has(50));
  }
  const DxfRecord img = Only(recs, "IMAGE");
  EXPECT_EQ(img.Str(11) + " " + img.Str(21), "0.1 0.0");
  EXPECT_EQ(img.Str(12) + " " + img.Str(22), "0.0 0.1");
  EXPECT_EQ(img.All(14), (std::vector<std::string>{"-0.5", "199.5"}));
  EXPECT_EQ(img.All(24), (std::vector<std::string>{"-0.5", "99.5"}));
  EXPECT_EQ(img.Str(360), [&] {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%X", std::stoi(img.Str(5), nullptr, 16) + 1);
    return std::string(buf);
  }());
}

TEST(DxfEntities, SpacesLayoutsAndOwners) {
  for (int ver : {0, 1}) {
    TDXFmodel m;
    Base(m, ver);
    m.Ltn = 3;
    m.AddLine(kTopLevel, {.x2 = 1, .y2 = 1});
    m.AddLine(kTopLevel, {.attr = {.space = 1}, .x2 = 1, .y2 = 2});
    m.AddLine(kTopLevel, {.attr = {.space = 3}, .x2 = 1, .y2 = 3});
    m.AddLine(kTopLevel, {.attr = {.space = 4}, .x2 = 1, .y2 = 4});  // no layout 4
    const int b = m.AddBlockDef(u"B", 1);
    m.AddLine(b, {.attr = {.space = 1}, .x2 = 1, .y2 = 5});
    const auto recs = WriteRecords(m);
    std::vector<std::string> where;
    for (const DxfRecord& r : OfType(recs, "LINE")) {
      where.push_back(r.section + ":" + r.block + ":" + r.Str(21) + ":" +
                      (r.Has(67) ? "paper" : "model"));
    }
    if (ver == 0) {
      EXPECT_EQ(where, (std::vector<std::string>{"BLOCKS:B:5.0:paper", "ENTITIES::1.0:model",
                                                 "ENTITIES::2.0:paper"}));
      // R12 has one paper space: no blocks for further layouts.
      std::vector<std::string> blocks;
      for (const DxfRecord& r : OfType(recs, "BLOCK")) blocks.push_back(r.Str(2));
      EXPECT_EQ(blocks, (std::vector<std::string>{"*Model_Space", "*Paper_Space", "B"}));
      continue;
    }
    EXPECT_EQ(where, (std::vector<std::string>{"BLOCKS:*Paper_Space1:3.0:model",
                                               "BLOCKS:B:5.0:paper", "ENTITIES::1.0:model",
                                               "ENTITIES::2.0:paper"}));
    // Owners: the block record of the space or block.
    std::map<std::string, std::string> recordOf;
    for (const DxfRecord& r : OfType(recs, "BLOCK_RECORD", "TABLES")) recordOf[r.Str(2)] = r.Str(5);
    const auto lines = OfType(recs, "LINE");
    EXPECT_EQ(lines[0].Str(330), recordOf["*Paper_Space1"]);
    EXPECT_EQ(lines[1].Str(330), recordOf["B"]);
    EXPECT_EQ(lines[2].Str(330), recordOf["*Model_Space"]);
    EXPECT_EQ(lines[3].Str(330), recordOf["*Paper_Space"]);
  }
}

TEST(DxfEntities, ViewportsAndDimensions) {
  for (int ver : {0, 1}) {
    TDXFmodel m;
    Base(m, ver, 1);
    m.AddLayer(u"VP", 7, 1, 0, false, false);
    m.AddVPort(
        {.attr = {.space = 1}, .cx = 10, .cy = 20, .w = 30, .h = 40, .vx = 5, .vy = 6, .vh = 70});
    const int pic = m.AddAnonymousBlockDef(u"*D1", 0);
    m.AddDim(kTopLevel, {.attr = {.layer = 1}, .bln = pic, .bas = 1, .x1 = 5, .y1 = 5, .fl3 = true,
                         .x3 = 1, .y3 = 1, .fl4 = true, .x4 = 2, .y4 = 2, .ang = 30, .hang = 15,
                         .sst = u"ISO-25", .str = u"100"});
    const auto recs = WriteRecords(m);
    const DxfRecord vp = Only(recs, "VIEWPORT");
    EXPECT_EQ(vp.Str(8), "VP");
    EXPECT_EQ(vp.Str(69), "     1");
    const DxfRecord dim = Only(recs, "DIMENSION");
    EXPECT_EQ(dim.Str(2), "*D1");
    EXPECT_EQ(dim.Str(3), "ISO-25");
    EXPECT_FALSE(dim.Has(40));
    EXPECT_EQ(dim.Str(50), "30.0");
    if (ver == 0) {
      EXPECT_EQ(vp.Str(1040), "0.0");
      EXPECT_EQ(dim.Str(52), "15.0");
      continue;
    }
    EXPECT_EQ(vp.Str(45), "70.0");
    EXPECT_FALSE(dim.Has(52));
    // Style and text rotation come before the marker of the kind.
    std::vector<int> order;
    for (const auto& [c, v] : dim.groups) {
      if (c == 3 || c == 53 || (c == 100 && v != "AcDbEntity")) order.push_back(c);
    }
    EXPECT_EQ(order, (std::vector<int>{100, 53, 3, 100, 100}));
  }
}

}  // namespace
}  // namespace parvex
