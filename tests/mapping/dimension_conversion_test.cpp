// Dimensions as DIMENSION entities through the whole conversion, read back
// with ezdxf: each recognised dimension is one DIMENSION whose "*D" block
// holds its entities (and nothing else holds them), ezdxf renders it as
// exactly that block, and the block lies on the DIMENSION's points.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <numbers>
#include <string>

#include "conversion_fixture.h"
#include "tests/dxfaudit/dxf_audit.h"
#include "tests/support/jww_writer.h"

namespace parvex::testing {
namespace {

constexpr double kPi = std::numbers::pi;

TEntJwwAttr InGroup(uint32_t group, int layerGroup = 0, uint16_t sFlg = 0) {
  TEntJwwAttr a = Attr(layerGroup, 5, 2, 1);
  a.lGroup = group;
  a.sFlg = sFlg;
  return a;
}

TEntJwwEnko GroupArc(uint32_t group, double cx, double cy, double r, double start, double sweep) {
  TEntJwwEnko a;
  a.att = InGroup(group);
  a.start_x = cx;
  a.start_y = cy;
  a.dHankei = r;
  a.radKaishiKaku = start;
  a.radEnkoKaku = sweep;
  a.dHenpeiRitsu = 1;
  return a;
}

// A linear dimension of group `group` along y = y0 from x0 to x1, with its
// extension lines.
void AddLinear(JwwEntityModel& m, uint32_t group, double x0, double x1, double y0,
               int layerGroup = 0) {
  AddEntity(m, Line(InGroup(group, layerGroup), x0, y0, x1, y0));
  AddEntity(m, Line(InGroup(group, layerGroup), x0, y0 - 10, x0, y0 + 2));
  AddEntity(m, Line(InGroup(group, layerGroup), x1, y0 + 2, x1, y0 - 10));
  AddEntity(m, Text(InGroup(group, layerGroup, 0x4010), (x0 + x1) / 2 - 5, y0 + 1,
                    (x0 + x1) / 2 + 5, y0 + 1, u"100"));
}

// Every kind of dimension at the top level, one inside a block definition,
// an SXF-mode record with coded end points (the drawing has no other
// points) and groups that are no dimensions.
TJwwData DimensionsDrawing() {
  TJwwData d = MakeColouredDrawing();
  AddLinear(d, 11, -100, 0, -50);
  AddEntity(d, Line(InGroup(12), 20, 0, 60, 0));
  AddEntity(d, Text(InGroup(12), 35, 1, 45, 1, u"φ40"));
  AddEntity(d, GroupArc(13, 100, 0, 10, 0, 0));
  AddEntity(d, Line(InGroup(13), 100, 0, 110, 0));
  AddEntity(d, Line(InGroup(13), 110, 0, 115, 0));
  AddEntity(d, Text(InGroup(13), 111, 1, 118, 1, u"R10"));
  AddEntity(d, GroupArc(14, 0, 80, 20, 0, kPi / 3));
  AddEntity(d, Line(InGroup(14), 0, 80, 30, 80));
  AddEntity(d, Line(InGroup(14), 0, 80, 15, 80 + 15 * std::sqrt(3.0)));
  AddEntity(d, Text(InGroup(14), 22, 88, 30, 88, u"60°"));
  // Not dimensions: a label with its leader, and a dimension record
  // without group.
  AddEntity(d, Line(InGroup(15), -150, 100, -120, 100));
  AddEntity(d, Text(InGroup(15), -150, 101, -130, 101, u"label"));
  TEntJwwSunpo loose;
  loose.att = Attr(0, 5, 1, 1);
  loose.Sen = Line(loose.att, -150, 50, -100, 50);
  loose.Moji = Text(loose.att, -130, 51, -120, 51, u"50");
  AddEntity(d, loose);
  // A grouped dimension record: a diameter.
  TEntJwwSunpo record;
  record.att = InGroup(16);
  record.att.nLayer = 6;
  record.Sen = Line(Attr(0, 0, 3, 2), -60, 120, 0, 120);
  record.Moji = Text(Attr(0, 0, 3, 1), -35, 121, -25, 121, u"φ60");
  AddEntity(d, record);
  // An SXF-mode record with arrows of codes 1 and 2.
  TEntJwwSunpo sxf;
  sxf.att = Attr(0, 5, 1, 1);
  sxf.bSxfMode = 1;
  sxf.Sen = Line(sxf.att, 0, -100, 100, -100);
  sxf.Moji = Text(sxf.att, 45, -99, 55, -99, u"100");
  sxf.Ho1 = Line(sxf.att, 0, -90, 0, -102);
  sxf.Ho2 = Line(sxf.att, 100, -90, 100, -102);
  sxf.Te1 = MakePoint(Attr(0, 5, 1, 100), 0, -100);
  sxf.Te1.nCode = 1;
  sxf.Te2 = MakePoint(Attr(0, 5, 1, 100), 100, -100);
  sxf.Te2.nCode = 2;
  sxf.Te2.radKaitenKaku = kPi;
  sxf.Kt1 = MakePoint(sxf.att, 0, -90);
  sxf.Kt2 = MakePoint(sxf.att, 100, -90);
  AddEntity(d, sxf);

  TEntJwwBlockDef def;
  def.nNumber = 1;
  def.strName = u"DIMBLK";
  AddMember(def, Line(InGroup(21), 0, 0, 5, 0));
  AddMember(def, Text(InGroup(21), 1, 1, 4, 1, u"R5"));
  AddMember(def, Line(Attr(0, 5), 0, 0, 0, 5));
  d.EntBlockDef.push_back(def);
  TEntJwwBlock insert;
  insert.att = Attr(0, 5);
  insert.nNumber = 1;
  insert.DPKijunTen_x = 150;
  insert.DPKijunTen_y = -100;
  insert.dBairitsuX = insert.dBairitsuY = 1;
  AddEntity(d, insert);
  return d;
}

class DimensionConversion : public ConversionTest {
 protected:
  DxfAuditReport ConvertAudited(const TJwwData& d, ConversionSettings st, bool dims) {
    st.DimensionAsEntity = dims;
    const std::string stem = "d" + std::to_string(++serial_);
    const auto out = Convert(Save(d, stem + ".jww"), st, stem + ".dxf");
    DxfAuditReport r = AuditDxf(out, DxfAuditDetail::Geometry);
    EXPECT_TRUE(r.Clean()) << r.Describe();
    return r;
  }
};

bool Near(double a, double b) { return std::fabs(a - b) <= 1e-9; }

// Whether (x, y) is an end of one of the lines.
bool OnLineEnd(const std::vector<std::array<double, 4>>& lines, std::array<double, 2> p) {
  return std::any_of(lines.begin(), lines.end(), [&](const std::array<double, 4>& l) {
    return (Near(l[0], p[0]) && Near(l[1], p[1])) || (Near(l[2], p[0]) && Near(l[3], p[1]));
  });
}

TEST_F(DimensionConversion, EveryKindAsDimensionWithItsBlock) {
  const TJwwData d = DimensionsDrawing();
  for (int version : {0, 1, 2}) {
    SCOPED_TRACE(kVersionNames[version]);
    const DxfAuditReport off = ConvertAudited(d, SettingsFor(version), false);
    const DxfAuditReport on = ConvertAudited(d, SettingsFor(version), true);
    EXPECT_TRUE(off.dimensions.empty());

    // Nothing lost or doubled: every kind counts as without dimensions.
    Counts withoutDimensions = on.entities;
    withoutDimensions.erase("DIMENSION");
    EXPECT_EQ(withoutDimensions, off.entities);

    std::map<int, int> kinds;
    std::map<std::string, int> blocks;
    for (const AuditedDimension& dim : on.dimensions) {
      SCOPED_TRACE(dim.block + " " + dim.text);
      ++kinds[dim.dimtype];
      ++blocks[dim.block];
      EXPECT_TRUE(dim.defined);
      EXPECT_TRUE(dim.renders_block);
      EXPECT_EQ(dim.block.rfind("*D", 0), 0u);
      EXPECT_EQ(dim.dimstyle, "ISO-25");
    }
    EXPECT_EQ(kinds, (std::map<int, int>{{160, 2}, {163, 2}, {164, 2}, {165, 1}}));
    EXPECT_EQ(blocks.size(), on.dimensions.size()) << "a block for each dimension";
    for (const auto& [block, n] : blocks) EXPECT_TRUE(on.HasDefinition(block)) << block;

    // The block definition's own dimension stays inside it.
    const auto inBlock = std::count_if(on.dimensions.begin(), on.dimensions.end(),
                                       [](const AuditedDimension& x) { return x.container == "DIMBLK"; });
    EXPECT_EQ(inBlock, 1);
    EXPECT_EQ(on.blocks.at("DIMBLK").at("LINE"), 1);

    // The SXF-mode record: its arrows are inserts of marker blocks that
    // exist, inside its block.
    const auto sxf = std::find_if(on.dimensions.begin(), on.dimensions.end(),
                                  [](const AuditedDimension& x) {
                                    return std::count(x.parts.begin(), x.parts.end(), "INSERT") == 2;
                                  });
    ASSERT_NE(sxf, on.dimensions.end());
    std::vector<std::string> markers;
    for (const AuditedInsert& i : on.InsertsIn(sxf->block)) {
      markers.push_back(i.block);
      EXPECT_TRUE(on.HasDefinition(i.block)) << i.block;
    }
    EXPECT_EQ(markers, (std::vector<std::string>{"_TRANS_TMARKER1", "_TRANS_TMARKER2"}));
    EXPECT_EQ(sxf->dimtype, 160);
    EXPECT_EQ(sxf->angle, 0);
  }
}

// Where the placement translates an entity (a layer group with its own
// viewport offset in paper-space output, the base group inside a frame
// of a layout), the picture in the "*D" block is translated with the
// DIMENSION's points; with one scale for all, too.
TEST_F(DimensionConversion, BlockLiesOnTheDimensionPoints) {
  TJwwData d = DimensionsDrawing();
  d.EntLgrp[2].adScale = 50;
  AddLinear(d, 31, 0, 40, 0, 2);
  for (OutputSpace space :
       {OutputSpace::Model, OutputSpace::ModelAndPaper, OutputSpace::Layouts}) {
    for (int version : {0, 1, 2}) {
      SCOPED_TRACE(::testing::Message() << kVersionNames[version] << " space "
                                        << static_cast<int>(space));
      ConversionSettings st = SettingsFor(version);
      st.OutputSpace = space;
      const DxfAuditReport on = ConvertAudited(d, st, true);
      ASSERT_FALSE(on.dimensions.empty());
      for (const AuditedDimension& dim : on.dimensions) {
        SCOPED_TRACE(dim.block + " " + dim.text);
        ASSERT_TRUE(dim.points.count("defpoint"));
        if (dim.dimtype == 165) {
          // Angular: the legs start at the centre.
          EXPECT_TRUE(OnLineEnd(dim.lines, dim.points.at("defpoint4")));
          continue;
        }
        EXPECT_TRUE(OnLineEnd(dim.lines, dim.points.at("defpoint")));
        if (dim.dimtype == 160) {
          EXPECT_TRUE(OnLineEnd(dim.lines, dim.points.at("defpoint2")));
          EXPECT_TRUE(OnLineEnd(dim.lines, dim.points.at("defpoint3")));
        }
      }
      // The base group's dimensions lie in the frame's layout (moved by
      // the frame's corner), the other group's in model space.
      if (space == OutputSpace::Layouts) {
        EXPECT_TRUE(std::any_of(on.dimensions.begin(), on.dimensions.end(),
                                [](const AuditedDimension& x) {
                                  return x.container != "Model" && x.container != "DIMBLK";
                                }));
        continue;
      }
      // The dimension of layer group 2: scale 50, and in paper-space
      // output moved by the viewport offset of its group (2 x 420 x 1).
      const double tx = space == OutputSpace::ModelAndPaper ? 840 : 0;
      const double s = space == OutputSpace::ModelAndPaper ? 50 : 1;
      const bool found = std::any_of(on.dimensions.begin(), on.dimensions.end(),
                                     [&](const AuditedDimension& x) {
                                       const auto p = x.points.at("defpoint");
                                       return Near(p[0], (40 + 210) * s + tx) &&
                                              Near(p[1], 148.5 * s);
                                     });
      EXPECT_TRUE(found);
    }
  }
}

// Block definitions of a JWS shape take part like those of a drawing.
TEST_F(DimensionConversion, ShapeBlockDefinitions) {
  TJwsData shape = MakeJwsShape(600);
  TEntJwwBlockDef def;
  def.nNumber = 1;
  def.strName = u"PART";
  AddMember(def, Line(InGroup(3), 0, 0, 40, 0));
  AddMember(def, Text(InGroup(3), 15, 1, 25, 1, u"φ40"));
  shape.EntBlockDef.push_back(def);
  TEntJwwBlock insert;
  insert.att = Attr(0, 0);
  insert.nNumber = 1;
  insert.dBairitsuX = insert.dBairitsuY = 1;
  AddEntity(shape, insert);
  ConversionSettings st = SettingsFor(1);
  st.DimensionAsEntity = true;
  const auto out = Convert(Save(shape, "shape.jws"), st, "shape.dxf");
  const DxfAuditReport r = AuditDxf(out, DxfAuditDetail::Geometry);
  EXPECT_TRUE(r.Clean()) << r.Describe();
  ASSERT_EQ(r.dimensions.size(), 1u);
  EXPECT_EQ(r.dimensions[0].container, "PART");
  EXPECT_EQ(r.dimensions[0].dimtype, 163);
  EXPECT_EQ(r.dimensions[0].parts, (std::vector<std::string>{"LINE", "TEXT"}));
  EXPECT_TRUE(r.blocks.at("PART").count("LINE") == 0);
}

}  // namespace
}  // namespace parvex::testing
