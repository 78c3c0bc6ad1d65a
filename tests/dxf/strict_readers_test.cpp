// Files that strict readers (and the way to DWG) take as written: handles
// that name objects of the right type, handles on every R12 entity, and
// angles and parameters within a whole turn. Every file is audited in the
// versions the rule concerns.
#include <cmath>
#include <cstdlib>
#include <numbers>
#include <set>
#include <string>

#include <gtest/gtest.h>

#include "converter/dxf/dxf_default_tables.h"
#include "converter/dxf/dxf_model.h"
#include "converter/dxf/dxf_writer.h"
#include "model_records.h"
#include "tests/dxfaudit/dxf_audit.h"
#include "tests/support/temp_folder.h"

namespace parvex {
namespace {

using testing::DxfRecord;
using testing::OfType;
using testing::WriteRecords;

constexpr DxfVersion kVersions[] = {DxfVersion::R12, DxfVersion::R2000, DxfVersion::R2007};

// The default tables, and a block "B" holding a whole ellipse (both ways
// a model stores one: a sweep of nothing and of a whole turn), a whole arc
// and a polyline, inserted rotated at the top level; at the top level also
// a polyline, a whole and a wrapping elliptic arc, one ellipse in paper
// space and one in a layout.
void Fill(TDXFmodel& m, DxfVersion ver) {
  m.SetDXFVer(ver, OutputSpace::ModelAndPaper);
  m.SetAppName(u"strict");
  AddDefaultLtypes(m);
  AddDefaultLayers(m);
  AddDefaultStyles(m);
  const int b = m.AddBlockDef(u"B", 1);
  m.AddArc(b, {.r = 10, .ratio = 0.5, .sweep = 0});
  m.AddArc(b, {.r = 8, .ratio = 0.25, .start = 90, .sweep = 360});
  m.AddArc(b, {.r = 5, .start = 45, .sweep = 360});
  m.AddPLine(b, {.v = {{0, 0, 0}, {1, 0, std::numbers::pi}, {1, 1, 0}}});
  m.AddBlock(kTopLevel, {.bln = b, .x = 50, .y = 50, .a = 30, .bx = 1, .by = 1});
  m.AddPLine(kTopLevel, {.clf = true, .v = {{0, 0, 0}, {5, 0, 0}, {5, 5, 0}}});
  m.AddArc(kTopLevel, {.x = 100, .y = 100, .r = 20, .ratio = 0.5, .sweep = 360});
  m.AddArc(kTopLevel, {.x = 100, .y = 100, .r = 20, .ratio = 0.5, .start = 300, .sweep = 100});
  m.AddArc(kTopLevel, {.attr = {.space = 1}, .r = 20, .ratio = 0.5, .sweep = 90});
  m.AddArc(kTopLevel, {.attr = {.space = 2}, .r = 20, .ratio = 0.5, .sweep = 90});
}

std::string WriteFile(TDXFmodel& m) {
  DxfStringOutput out;
  DxfTextSink sink(out);
  EXPECT_TRUE(m.WriteDXF("/nonexistent/source.jww", sink));
  return out.bytes;
}

class StrictReaders : public ::testing::Test {
 protected:
  // Writes the model and audits the file (with the geometry); the file
  // must pass the audit.
  testing::DxfAuditReport Audit(TDXFmodel& m, const std::string& name) {
    testing::DxfAuditReport r =
        testing::AuditDxf(folder_.Write(name, WriteFile(m)), testing::DxfAuditDetail::Geometry);
    EXPECT_TRUE(r.Clean()) << name << ":\n" << r.Describe();
    return r;
  }

  const testing::TempFolder folder_;
};

// 2007 names no MATERIAL or VISUALSTYLE object, since it holds none; the
// audit checks that every handle a file names is an object of the type it
// must be.
TEST_F(StrictReaders, NoHandlesOfMaterialsOrVisualStyles) {
  for (DxfVersion ver : {DxfVersion::R2000, DxfVersion::R2007}) {
    SCOPED_TRACE(SettingNumber(ver));
    TDXFmodel m;
    Fill(m, ver);
    Audit(m, "objects" + std::to_string(SettingNumber(ver)) + ".dxf");
    const auto recs = WriteRecords(m);
    for (const DxfRecord& r : recs) {
      for (const auto& [code, value] : r.groups) {
        EXPECT_FALSE(code == 9 && (value == "$CMATERIAL" || value == "$INTERFEREOBJVS" ||
                                   value == "$INTERFEREVPVS"))
            << value;
      }
    }
    const auto vports = OfType(recs, "VPORT", "TABLES");
    ASSERT_EQ(vports.size(), 1u);
    EXPECT_FALSE(vports[0].Has(348));
  }
}

// R12 with $HANDLING 1: polylines and the polylines that stand for
// ellipses give their vertices and SEQEND handles, in ENTITIES as in the
// blocks, all different and below $HANDSEED (the audit checks all three).
TEST_F(StrictReaders, R12GivesEveryEntityVertexAndSeqendAHandle) {
  TDXFmodel m;
  Fill(m, DxfVersion::R12);
  Audit(m, "r12.dxf");
  const auto recs = WriteRecords(m);
  std::set<std::string> seen;
  int vertices = 0;
  int seqends = 0;
  for (const DxfRecord& r : recs) {
    if (r.section != "ENTITIES" && r.section != "BLOCKS") continue;
    if (r.type == "SECTION" || r.type == "ENDSEC") continue;
    vertices += r.type == "VERTEX";
    seqends += r.type == "SEQEND";
    ASSERT_TRUE(r.Has(5)) << r.type << " in " << r.section;
    EXPECT_TRUE(seen.insert(r.Str(5)).second) << r.Str(5);
  }
  // Block: 72 + 73 + 3; top level: 3 + 72 + 73 + 73 (the layout's
  // ellipse is not written in R12).
  EXPECT_EQ(vertices, 72 + 73 + 3 + 3 + 72 + 73 + 73);
  EXPECT_EQ(seqends, 7);
}

// An ELLIPSE's parameters lie within 0 .. 2 pi as written with 15 digits,
// an ARC's angles within 0 .. 360: a whole ellipse ends just below 2 pi
// (2 pi itself would be written 6.28318530717959, above it), an end beyond
// the turn wraps round, a clockwise sweep starts from its far end.
TEST_F(StrictReaders, EllipseParametersAndArcAnglesStayWithinOneTurn) {
  struct Case {
    bool inBlock;
    double ratio, start, sweep;
    const char* type;
    const char* first;   // 41 or 50
    const char* second;  // 42 or 51
  } cases[] = {
      {false, 0.5, 0, 360, "ELLIPSE", "0.0", "6.28318530717958"},
      {false, 0.5, 0, 0, "ELLIPSE", "0.0", "6.28318530717958"},
      {true, 0.5, 90, 360, "ELLIPSE", "0.0", "6.28318530717958"},
      {false, 0.5, 270, 90, "ELLIPSE", "4.71238898038469", "6.28318530717958"},
      {false, 0.5, 300, 100, "ELLIPSE", "5.23598775598299", "0.69813170079773"},
      {false, 0.5, 10, -30, "ELLIPSE", "5.93411945678072", "0.17453292519943"},
      {true, 1, 45, 360, "ARC", "0.0", "360.0"},
      {true, 1, 350, 10, "ARC", "350.0", "0.0"},
      {false, 1, 30, -60, "ARC", "330.0", "30.0"},
  };
  for (DxfVersion ver : {DxfVersion::R2000, DxfVersion::R2007}) {
    for (const Case& c : cases) {
      SCOPED_TRACE(std::to_string(SettingNumber(ver)) + " case " + std::to_string(&c - cases));
      TDXFmodel m;
      m.SetDXFVer(ver, OutputSpace::Model);
      m.AddLayer(u"0", 7, 1, 0, true, true);
      const int container = c.inBlock ? m.AddBlockDef(u"B", 1) : kTopLevel;
      m.AddArc(container, {.r = 10, .ratio = c.ratio, .start = c.start, .sweep = c.sweep});
      std::vector<DxfRecord> found;
      for (const DxfRecord& r : WriteRecords(m)) {
        if (r.type == c.type) found.push_back(r);
      }
      ASSERT_EQ(found.size(), 1u);
      const bool ellipse = std::string(c.type) == "ELLIPSE";
      EXPECT_EQ(found[0].Str(ellipse ? 41 : 50), c.first);
      EXPECT_EQ(found[0].Str(ellipse ? 42 : 51), c.second);
    }
  }
}

// The whole ellipses and the whole arc of a block stay whole when ezdxf
// places them through the insert (rotated): a parameter above 2 pi made it
// reduce the ellipse to nothing.
TEST_F(StrictReaders, WholeCurvesInBlocksStayWholeWhenPlaced) {
  for (DxfVersion ver : {DxfVersion::R2000, DxfVersion::R2007}) {
    SCOPED_TRACE(SettingNumber(ver));
    TDXFmodel m;
    Fill(m, ver);
    const testing::DxfAuditReport r = Audit(m, "placed" + std::to_string(SettingNumber(ver)) + ".dxf");
    ASSERT_EQ(r.expandedCurves.size(), 3u);
    for (const testing::ExpandedCurve& c : r.expandedCurves) {
      EXPECT_EQ(c.layout, "Model");
      EXPECT_NEAR(c.turns, 1, 1e-9) << c.type;
    }
  }
}

// The two text styles every file has set no fixed height (0): a fixed
// height of 1e-10 made a CAD program draw every new text that high.
TEST_F(StrictReaders, DefaultStylesHaveNoFixedHeight) {
  for (DxfVersion ver : kVersions) {
    SCOPED_TRACE(SettingNumber(ver));
    TDXFmodel m;
    Fill(m, ver);
    Audit(m, "styles" + std::to_string(SettingNumber(ver)) + ".dxf");
    const auto styles = OfType(WriteRecords(m), "STYLE", "TABLES");
    ASSERT_EQ(styles.size(), 2u);
    for (const DxfRecord& s : styles) {
      EXPECT_EQ(s.Str(40), "0.0") << s.Str(2);
      EXPECT_EQ(s.Str(41), "1.0") << s.Str(2);
    }
  }
}

}  // namespace
}  // namespace parvex
