// The default line types, layers and styles, the point block and the
// marker blocks.
#include <cmath>
#include <numbers>
#include <string>

#include <gtest/gtest.h>

#include "common/platform/codepage.h"
#include "converter/dxf/dxf_default_tables.h"
#include "converter/dxf/dxf_model.h"
#include "model_records.h"

namespace parvex {
namespace {

void Defaults(TDXFmodel& m, int ver) {
  m.SetDXFVer(static_cast<DxfVersion>(ver), OutputSpace::Model);
  AddDefaultLtypes(m);
  AddSxfLtypes(m);
  AddDefaultLayers(m);
  AddDefaultStyles(m);
}

TEST(DefaultTables, TablesAndTheirFixedIndices) {
  TDXFmodel m;
  Defaults(m, 1);
  ASSERT_EQ(m.ltpn(), 32);
  ASSERT_EQ(m.layn(), 4);
  ASSERT_EQ(m.mstn(), 2);
  EXPECT_EQ(m.ltps[kLtypeContinuous - 1].nam, u"Continuous");
  EXPECT_EQ(m.ltps[kLtypeDot2 - 1].nam, u"DOT2");
  EXPECT_EQ(m.ltps[31].nam, u"SXF_三点二短鎖線");
  // Pattern lengths are the sums of the elements.
  struct Len {
    int index;
    int n;
    double length;
  };
  for (const Len& l : {Len{0, 0, 0}, Len{4, 4, 50.8}, Len{15, 6, 127}, Len{22, 8, 18.75},
                       Len{31, 10, 20.25}}) {
    EXPECT_EQ(m.ltps[static_cast<std::size_t>(l.index)].n, l.n) << l.index;
    EXPECT_NEAR(m.ltps[static_cast<std::size_t>(l.index)].pl, l.length, 1e-9) << l.index;
  }
  const TDXF_Layer& hojo = m.lays[kLayerHojo];
  EXPECT_EQ(hojo.nam, u"HOJO");
  EXPECT_EQ(hojo.col, 6);
  EXPECT_EQ(hojo.ltp, kLtypeDot2);
  EXPECT_FALSE(hojo.prn);
  EXPECT_FALSE(m.lays[kLayerVp].dsp);
  EXPECT_FALSE(m.lays[kLayerDefpoints].prn);
  // No fixed height: each text gives its own.
  EXPECT_EQ(m.msts[0].mh, 0);
  EXPECT_EQ(m.msts[1].mh, 0);
  EXPECT_EQ(m.msts[1].fo1, u"txt.shx");
}

TEST(DefaultTables, DrawingNamesThatClashGetANumber) {
  TDXFmodel m;
  Defaults(m, 1);
  m.AddLtype(u"continuous", u"", 0, {});
  m.AddLayer(u"hojo", 1, 1, 0, true, true);
  EXPECT_EQ(m.ltps.back().nam, u"continuous_1");
  EXPECT_EQ(m.lays.back().nam, u"hojo_1");
}

// Kinds in a block's order list, as text: "2 2" = two circles.
std::string Kinds(const TDXF_BlockDef& b) {
  std::string s;
  for (const DxfEntities::Entry& e : b.entities.Order()) {
    s += (s.empty() ? "" : " ") + std::to_string(static_cast<int>(e.kind));
  }
  return s;
}

TEST(DefaultTables, PointBlockByConversion) {
  struct Case {
    int tentyp;
    const char* kinds;  // nullptr: no block
  };
  const Case cases[] = {{0, nullptr}, {1, nullptr}, {2, "2 2"},     {3, "2 1 1"},
                        {4, "1 1 1 1"}, {5, "7"},   {6, "7 7 7 7"}, {7, nullptr}};
  for (const Case& c : cases) {
    TDXFmodel m;
    Defaults(m, 1);
    m.SetTenTransType(static_cast<PointConversion>(c.tentyp), 0.5);
    AddTenBlock(m);
    if (c.kinds == nullptr) {
      EXPECT_EQ(m.tenidx, -1) << c.tentyp;
      EXPECT_EQ(m.GetBlockIdx(u"_TRANS_TEN"), -1) << c.tentyp;
      continue;
    }
    ASSERT_GE(m.tenidx, 0) << c.tentyp;
    const TDXF_BlockDef& b = m.deBlockDef[static_cast<std::size_t>(m.tenidx)];
    EXPECT_EQ(b.nam, u"_TRANS_TEN");
    EXPECT_EQ(Kinds(b), c.kinds) << c.tentyp;
  }
}

TEST(DefaultTables, DiamondPointIsOneSolidWrittenCrossed) {
  TDXFmodel m;
  Defaults(m, 1);
  m.SetTenTransType(PointConversion::FilledRhombus, 0.5);
  AddTenBlock(m);
  const TDXF_Solid4& s =
      m.deBlockDef[static_cast<std::size_t>(m.tenidx)].entities.Records<TDXF_Solid4>().at(0);
  EXPECT_EQ(s.attr.colour, -1);
  const auto solids = testing::OfType(testing::WriteRecords(m), "SOLID");
  ASSERT_EQ(solids.size(), 1u);
  const testing::DxfRecord& r = solids[0];
  EXPECT_EQ(r.block, "_TRANS_TEN");
  const std::vector<std::string> corners = {r.Str(10) + "," + r.Str(20), r.Str(11) + "," + r.Str(21),
                                            r.Str(12) + "," + r.Str(22), r.Str(13) + "," + r.Str(23)};
  EXPECT_EQ(corners, (std::vector<std::string>{"0.5,0.0", "0.0,0.5", "0.0,-0.5", "-0.5,0.0"}));
}

TEST(DefaultTables, PointBlockBesideADrawingBlockOfTheSameName) {
  TDXFmodel m;
  Defaults(m, 1);
  m.AddBlockDef(u"_TRANS_TEN", 1);
  m.SetTenTransType(PointConversion::DoubleCircle, 0.5);
  AddTenBlock(m);
  EXPECT_EQ(m.tenidx, 1);
  EXPECT_EQ(m.deBlockDef[1].nam, u"_TRANS_TEN_1");
  m.AddTen(kTopLevel, {.x = 1, .y = 1, .ba = 1});
  const auto inserts = testing::OfType(testing::WriteRecords(m), "INSERT", "ENTITIES");
  ASSERT_EQ(inserts.size(), 1u);
  EXPECT_EQ(inserts[0].Str(2), "_TRANS_TEN_1");
}

TEST(DefaultTables, MarkerBlocks) {
  TDXFmodel m;
  Defaults(m, 1);
  AddMarkerBlocks(m);
  ASSERT_EQ(m.deBlockDefN(), 17);
  struct Case {
    const char16_t* name;
    const char* kinds;
  };
  const Case cases[] = {
      {u"_TRANS_TMARKER_1", "1 1 1"}, {u"_TRANS_TMARKER_2", "2"},
      {u"_TRANS_TMARKER_4", "1 1"},   {u"_TRANS_TMARKER_5", "1 1 1 1"},
      {u"_TRANS_TMARKER_6", "1 1 1"}, {u"_TRANS_TMARKER_7", "1 1"},
      {u"_TRANS_TMARKER1", "6 1 1 1"}, {u"_TRANS_TMARKER2", "7 1 1 1 1"},
      {u"_TRANS_TMARKER3", "10 2"},   {u"_TRANS_TMARKER4", "2"},
      {u"_TRANS_TMARKER5", "7"},      {u"_TRANS_TMARKER6", "6"},
      {u"_TRANS_TMARKER7", "10"},     {u"_TRANS_TMARKER8", "3 3"},
      {u"_TRANS_TMARKER9", "1 1"},    {u"_TRANS_TMARKER10", "1"},
      {u"_TRANS_TMARKER11", "1 1 1"},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    EXPECT_EQ(m.deBlockDef[i].nam, cases[i].name) << i;
    EXPECT_EQ(Kinds(m.deBlockDef[i]), cases[i].kinds) << i;
  }
  // The filled disc of marker 3 is grey (253, not 255, which readers show
  // as white); marker 7's takes the insert's colour.
  auto records = [&](std::size_t i, auto kind) -> const auto& {
    return m.deBlockDef[i].entities.Records<decltype(kind)>();
  };
  const TDXF_PLine& disc = records(8, TDXF_PLine{}).at(0);
  EXPECT_EQ(disc.attr.colour, 253);
  EXPECT_TRUE(disc.clf);
  EXPECT_EQ(disc.wd1, 1.25);
  ASSERT_EQ(disc.v.size(), 2u);
  EXPECT_DOUBLE_EQ(disc.v[0].a, std::numbers::pi);
  EXPECT_EQ(records(12, TDXF_PLine{}).at(0).attr.colour, -1);
  EXPECT_EQ(records(6, TDXF_Solid3{}).at(0).attr.colour, 253);
  // Marker 8: two arcs of radius 1.25 * sqrt 2 facing each other.
  const TDXF_Arc& a = records(13, TDXF_Arc{}).at(1);
  EXPECT_DOUBLE_EQ(a.r, 1.25 * std::sqrt(2.0));
  EXPECT_DOUBLE_EQ(a.x, -a.r);
  EXPECT_EQ(a.sa, 270);
  EXPECT_EQ(a.da, 90);
}

}  // namespace
}  // namespace parvex
