// Whole conversions of drawings with blocks and curve groups, read back
// with ezdxf: definitions, inserts, ezdxf's own expansion of the inserts
// against the drawing's block tree, and curve polylines.
#include <algorithm>
#include <cmath>
#include <map>
#include <numbers>
#include <set>

#include <gtest/gtest.h>

#include "converter/app/drawing_conversion.h"
#include "converter/app/paper_size.h"
#include "converter/mapping/mapping_blocks.h"
#include "tests/dxfaudit/dxf_audit.h"
#include "tests/support/block_fixtures.h"
#include "tests/support/jww_writer.h"
#include "tests/support/temp_folder.h"

namespace parvex::testing {
namespace {

constexpr double kPi = std::numbers::pi;
constexpr int kVersions[] = {0, 1, 2};

class BlockConversion : public ::testing::Test {
 protected:
  // Writes `drawing` as name.jww into the test folder, converts it to
  // name.dxf and returns the DXF path; empty when either step failed.
  std::filesystem::path ConvertTestDrawing(const TJwwData& drawing, const std::string& name,
                                           const ConversionSettings& settings) {
    const auto src = folder_ / (name + ".jww");
    const auto dst = folder_ / (name + ".dxf");
    if (!SaveBytes(src, WriteJww(drawing))) return {};
    const Status r = ConvertDrawing(settings, src, dst, folder_.Path());
    if (!r) {
      ADD_FAILURE() << "conversion of " << src << " failed: " << r.reason();
      return {};
    }
    return dst;
  }

  // Converts and audits with the geometry; the file must pass the audit.
  DxfAuditReport Convert(const TJwwData& d, const std::string& name, const ConversionSettings& st,
                         std::filesystem::path* source = nullptr) {
    const auto dxf = ConvertTestDrawing(d, name, st);
    DxfAuditReport failed;
    failed.run_error = "not converted";
    if (dxf.empty()) return failed;
    if (source != nullptr) *source = folder_ / (name + ".jww");
    DxfAuditReport r = AuditDxf(dxf, DxfAuditDetail::Geometry);
    EXPECT_TRUE(r.Clean()) << r.Describe();
    return r;
  }

  const TempFolder folder_;
};

// The drawing's lines that the block tree places, as the DXF file should
// show them: absolute drawing coordinates moved to the paper's corner and
// scaled by s.
std::vector<std::array<double, 4>> TreeLines(const TJwwData& d, double s) {
  const PaperSize paper = PaperSizeOfCode(d.Enthd.nZumen);
  const double ox = paper.Width / 2, oy = paper.Height / 2;
  std::vector<std::array<double, 4>> out;
  for (const TEntJwwBlockTree& n : d.EntBlockTree) {
    if (n.defno < 0) continue;
    const TEntJwwBlockDef& def = d.EntBlockDef[static_cast<size_t>(n.defno)];
    for (const TEntJwwNo& no : def.mNo) {
      if (no.EntType != kJwwLine) continue;
      const TEntJwwLine& l = def.mLine[static_cast<size_t>(no.EntNo)];
      auto place = [&](double u, double v) {
        return std::array<double, 2>{s * (n.x + n.r1 * u + n.r2 * v + ox),
                                     s * (n.y + n.r3 * u + n.r4 * v + oy)};
      };
      const auto a = place(l.start_x, l.start_y), b = place(l.end_x, l.end_y);
      out.push_back({a[0], a[1], b[0], b[1]});
    }
  }
  return out;
}

// Compares two sets of lines regardless of order.
void ExpectSameLines(std::vector<std::array<double, 4>> expected,
                     std::vector<std::array<double, 4>> actual) {
  ASSERT_EQ(actual.size(), expected.size());
  auto key = [](const std::array<double, 4>& l) {
    std::array<long long, 4> k{};
    for (int i = 0; i < 4; ++i) k[i] = std::llround(l[i] * 1000);
    return k;
  };
  auto byKey = [&](const auto& a, const auto& b) { return key(a) < key(b); };
  std::sort(expected.begin(), expected.end(), byKey);
  std::sort(actual.begin(), actual.end(), byKey);
  for (size_t i = 0; i < expected.size(); ++i) {
    for (int c = 0; c < 4; ++c) {
      EXPECT_NEAR(actual[i][c], expected[i][c], 1e-6) << "line " << i << " coordinate " << c;
    }
  }
}

const AuditedInsert* Find(const std::vector<AuditedInsert>& list, const std::string& block) {
  for (const auto& i : list) {
    if (i.block == block) return &i;
  }
  return nullptr;
}

void ExpectInsert(const std::vector<AuditedInsert>& list, const std::string& block, double x,
                  double y, double xs, double ys, double rot) {
  const AuditedInsert* i = Find(list, block);
  ASSERT_NE(i, nullptr) << "no insert of " << block;
  EXPECT_NEAR(i->x, x, 1e-9) << block;
  EXPECT_NEAR(i->y, y, 1e-9) << block;
  EXPECT_NEAR(i->xscale, xs, 1e-12) << block;
  EXPECT_NEAR(i->yscale, ys, 1e-12) << block;
  EXPECT_NEAR(i->rotation, rot, 1e-9) << block;
}

TEST_F(BlockConversion, NestedBlocksLandWhereTheBlockTreePutsThem) {
  const TJwwData drawing = MakeNestedBlocksDrawing(600, 2.0);
  const PaperSize paper = PaperSizeOfCode(drawing.Enthd.nZumen);
  const double W2 = paper.Width / 2, H2 = paper.Height / 2;
  for (int ver : kVersions) {
    SCOPED_TRACE("version " + std::to_string(ver));
    ConversionSettings st;
    st.DxfVersion = static_cast<DxfVersion>(ver);
    std::filesystem::path src;
    const DxfAuditReport p = Convert(drawing, "nested" + std::to_string(ver), st, &src);
    ASSERT_EQ(p.run_error, "");

    // Reached definitions only, the marker cut off, names made unique.
    for (const char* name : {"LEAF", "MID", "TOP", "MID_1", "NONAME"}) {
      EXPECT_TRUE(p.HasDefinition(name)) << name;
    }
    EXPECT_FALSE(p.HasDefinition("UNUSED"));
    for (const auto& d : p.definitions) EXPECT_EQ(d.find("@@"), std::string::npos) << d;

    // Top level: the insert of the missing block 99 is left out; the
    // insertion point is placed and scaled, scale factors and rotation
    // (degrees, -90 not 270) stay as drawn.
    const auto top = p.InsertsIn("Model");
    EXPECT_EQ(top.size(), 5u);
    ExpectInsert(top, "TOP", 2 * (100 + W2), 2 * (50 + H2), 1.5, 1.5, -90);
    ExpectInsert(top, "LEAF", 2 * (-50 + W2), 2 * (-20 + H2), 1, 1, 0);
    ExpectInsert(top, "MID", 2 * W2, 2 * H2, 1, 1, 180);
    ExpectInsert(top, "MID_1", 2 * (10 + W2), 2 * (-60 + H2), 1, 1, 0);
    ExpectInsert(top, "NONAME", 2 * (-10 + W2), 2 * (-60 + H2), 1, 1, 0);

    // Nested inserts keep block-local, scaled coordinates.
    const auto inTop = p.InsertsIn("TOP");
    EXPECT_EQ(inTop.size(), 2u);
    ExpectInsert(inTop, "MID", 0, 60, -1, 1, 90);
    ExpectInsert(inTop, "LEAF", 10, 10, 0.5, 1.5, 0);
    const auto inMid = p.InsertsIn("MID");
    EXPECT_EQ(inMid.size(), 1u);
    ExpectInsert(inMid, "LEAF", 40, 0, 2, 2, 30);

    // ezdxf's expansion of every insert, two and three levels deep,
    // mirrored and unevenly scaled, matches the block tree.
    TJwwData read;
    ASSERT_TRUE(read.FileIn(src));
    std::vector<std::array<double, 4>> expanded;
    for (const auto& l : p.expanded) {
      EXPECT_EQ(l.layout, "Model");
      expanded.push_back(l.p);
    }
    ExpectSameLines(TreeLines(read, 2.0), expanded);
  }
}

TEST_F(BlockConversion, InsertsFollowThePlacementRuleInEverySpaceMode) {
  // Mode 1 with the blocks' group as base group: inserts and their
  // contents go to paper space at scale 1. Mode 2 without drawing frames:
  // model space at the scale of the busiest other group.
  struct Case {
    int space;
    int base;
    bool paper;
    double s;
    int ver;
  } cases[] = {{1, 0, true, 1.0, 0}, {1, 0, true, 1.0, 1}, {1, 0, true, 1.0, 2},
               {1, 15, false, 2.0, 1}, {2, 15, false, 2.0, 1}};
  const TJwwData drawing = MakeNestedBlocksDrawing(600, 2.0);
  for (const Case& c : cases) {
    {
      const int ver = c.ver;
      SCOPED_TRACE("space " + std::to_string(c.space) + " base " + std::to_string(c.base) +
                   " version " + std::to_string(ver));
      ConversionSettings st;
      st.DxfVersion = static_cast<DxfVersion>(ver);
      st.OutputSpace = static_cast<OutputSpace>(c.space);
      st.BaseLayerGroup = c.base;
      std::filesystem::path src;
      const DxfAuditReport p = Convert(
          drawing, "space" + std::to_string(c.space) + "_" + std::to_string(c.base) + "_" +
                       std::to_string(ver), st, &src);
      ASSERT_EQ(p.run_error, "");
      size_t topInserts = 0;
      for (const auto& i : p.inserts) {
        if (p.HasDefinition(i.container)) continue;
        ++topInserts;
        EXPECT_EQ(i.container != "Model", c.paper) << i.container;
      }
      EXPECT_EQ(topInserts, 5u);
      TJwwData read;
      ASSERT_TRUE(read.FileIn(src));
      std::vector<std::array<double, 4>> expanded;
      for (const auto& l : p.expanded) expanded.push_back(l.p);
      ExpectSameLines(TreeLines(read, c.s), expanded);
    }
  }
}

TEST_F(BlockConversion, SelfInsertingBlocksNeverInsertThemselves) {
  const TJwwData drawing = MakeSelfInsertingBlocksDrawing();
  for (int ver : kVersions) {
    SCOPED_TRACE("version " + std::to_string(ver));
    ConversionSettings st;
    st.DxfVersion = static_cast<DxfVersion>(ver);
    const DxfAuditReport p = Convert(drawing, "self" + std::to_string(ver), st);
    ASSERT_EQ(p.run_error, "");
    for (const char* name : {"A", "B", "C"}) EXPECT_TRUE(p.HasDefinition(name)) << name;
    // A keeps its insert of B; B's insert of A and C's insert of itself
    // would close a cycle and are left out.
    ASSERT_EQ(p.InsertsIn("A").size(), 1u);
    EXPECT_EQ(p.InsertsIn("A")[0].block, "B");
    EXPECT_TRUE(p.InsertsIn("B").empty());
    EXPECT_TRUE(p.InsertsIn("C").empty());
    EXPECT_EQ(p.InsertsIn("Model").size(), 2u);
  }
}

// Block definitions named like model space, a layout and an anonymous
// block are ordinary blocks in the file ('_' for the '*'): model space keeps
// the drawing (before, ezdxf read a model space of no entities from one and
// failed its audit on the other), in every version and space mode.
TEST_F(BlockConversion, BlocksNamedLikeLayoutsOrAnonymousBlocksAreOrdinary) {
  TJwwData drawing = MakeNestedBlocksDrawing();
  for (TEntJwwBlockDef& def : drawing.EntBlockDef) {
    if (def.nNumber == kLeafBlock) def.strName = u"*Model_Space";
    if (def.nNumber == kMidBlock) def.strName = u"*Paper_Space0";
    if (def.nNumber == kTopBlock) def.strName = u"*U1";
  }
  for (int ver : kVersions) {
    for (OutputSpace space : {OutputSpace::Model, OutputSpace::Layouts}) {
      const std::string tag = std::to_string(ver) + "_" + std::to_string(SettingNumber(space));
      SCOPED_TRACE(tag);
      ConversionSettings st;
      st.DxfVersion = static_cast<DxfVersion>(ver);
      st.OutputSpace = space;
      std::filesystem::path src;
      const DxfAuditReport p = Convert(drawing, "reserved" + tag, st, &src);
      ASSERT_EQ(p.run_error, "");
      const bool r12 = ver == 0;
      const std::string leaf = r12 ? "_MODEL_SPACE" : "_Model_Space";
      const std::string mid = r12 ? "_PAPER_SPACE0" : "_Paper_Space0";
      for (const std::string& name : {leaf, mid, std::string("_U1")}) {
        EXPECT_TRUE(p.HasDefinition(name)) << name;
      }
      // Model space holds the drawing's inserts and lines, placed as the
      // block tree places them.
      const auto top = p.InsertsIn("Model");
      EXPECT_EQ(top.size(), 5u);
      EXPECT_NE(Find(top, "_U1"), nullptr);
      ASSERT_TRUE(p.layouts.count("Model"));
      EXPECT_EQ(p.layouts.at("Model").at("INSERT"), 5);
      TJwwData read;
      ASSERT_TRUE(read.FileIn(src));
      std::vector<std::array<double, 4>> expanded;
      for (const auto& l : p.expanded) expanded.push_back(l.p);
      ExpectSameLines(TreeLines(read, 1.0), expanded);
    }
  }
}

double Bulge(double sweep) { return std::tan(sweep / 4); }

TEST_F(BlockConversion, CurveGroupsBecomePolylinesAtTopLevelAndInBlocks) {
  const TJwwData drawing = MakeCurveGroupsDrawing();
  const PaperSize paper = PaperSizeOfCode(drawing.Enthd.nZumen);
  const double W2 = paper.Width / 2, H2 = paper.Height / 2;
  for (int ver : kVersions) {
    SCOPED_TRACE("version " + std::to_string(ver));
    ConversionSettings st;
    st.DxfVersion = static_cast<DxfVersion>(ver);
    st.CurveToPolyline = true;
    const DxfAuditReport audit = Convert(drawing, "curves" + std::to_string(ver), st);
    ASSERT_EQ(audit.run_error, "");

    // The ungrouped and the flagged line stay lines, the elliptic arc an
    // ellipse (a polyline in R12), the full circle a circle.
    ASSERT_TRUE(audit.layouts.count("Model"));
    Counts model = audit.layouts.at("Model");
    EXPECT_EQ(model["LINE"], 2);
    EXPECT_EQ(model["CIRCLE"], 1);
    std::vector<AuditedPolyline> pls = audit.PolylinesIn("Model");
    if (ver == 0) {
      // The R12 ellipse is the polyline with many vertices.
      pls.erase(std::remove_if(pls.begin(), pls.end(),
                               [](const AuditedPolyline& pl) { return pl.v.size() > 4; }),
                pls.end());
    } else {
      EXPECT_EQ(model["ELLIPSE"], 1);
    }
    ASSERT_EQ(pls.size(), 3u);
    // Group 7: line, half circle (bulge 1), line.
    const AuditedPolyline& g7 = pls[0];
    ASSERT_EQ(g7.v.size(), 4u);
    const double xs[] = {0, 10, 10, 0}, ys[] = {0, 0, 10, 10}, bs[] = {0, 1, 0};
    for (int k = 0; k < 4; ++k) {
      EXPECT_NEAR(g7.v[k].x, xs[k] + W2, 1e-9);
      EXPECT_NEAR(g7.v[k].y, ys[k] + H2, 1e-9);
      if (k < 3) {
        EXPECT_NEAR(g7.v[k].bulge, bs[k], 1e-12);
      }
    }
    EXPECT_FALSE(g7.closed);
    // Group 8 splits where the colour changes.
    EXPECT_EQ(pls[1].v.size(), 2u);
    EXPECT_EQ(pls[2].v.size(), 2u);

    // Inside the block, in block-local coordinates.
    const auto inBlock = audit.PolylinesIn("CURVES");
    ASSERT_EQ(inBlock.size(), 1u);
    ASSERT_EQ(inBlock[0].v.size(), 4u);
    EXPECT_NEAR(inBlock[0].v[0].x, 0, 1e-12);
    EXPECT_NEAR(inBlock[0].v[3].x, 0, 1e-9);
    EXPECT_NEAR(inBlock[0].v[3].y, 10, 1e-9);
    EXPECT_NEAR(inBlock[0].v[2].bulge, Bulge(kPi / 2), 1e-12);
    ASSERT_TRUE(audit.blocks.count("CURVES"));
    EXPECT_EQ(audit.blocks.at("CURVES").count("LINE"), 0u);
  }
}

TEST_F(BlockConversion, WithoutCurvePolylinesGroupsStaySingleEntities) {
  ConversionSettings st;
  st.DxfVersion = DxfVersion::R2000;
  const auto dxf = ConvertTestDrawing(MakeCurveGroupsDrawing(), "singles", st);
  ASSERT_FALSE(dxf.empty());
  const DxfAuditReport audit = AuditDxf(dxf);
  EXPECT_TRUE(audit.Clean()) << audit.Describe();
  EXPECT_EQ(audit.entities.count("POLYLINE") + audit.entities.count("LWPOLYLINE"), 0u);
  EXPECT_EQ(audit.blocks.at("CURVES").at("LINE"), 2);
  EXPECT_EQ(audit.blocks.at("CURVES").at("ARC"), 1);
}

}  // namespace
}  // namespace parvex::testing
