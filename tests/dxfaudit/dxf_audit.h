// Test helper: audits a DXF file with ezdxf and a raw code/value walk
// (tests/dxfaudit/dxf_audit.py) and returns what a CAD reader sees in it.
//
//   auto report = parvex::testing::AuditDxf(path);
//   EXPECT_TRUE(report.Clean()) << report.Describe();
//   EXPECT_EQ(report.entities["LINE"], 3);
//
// All names and texts are UTF-8.
#pragma once

#include <array>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace parvex::testing {

using Counts = std::map<std::string, int>;

// What an audit with DxfAuditDetail::Geometry also reports. Containers are
// layouts by layout name (model space "Model") and block definitions by
// name.
struct AuditedInsert {
  std::string container;
  std::string block;
  double x = 0, y = 0, xscale = 1, yscale = 1, rotation = 0;
};
struct AuditedVertex {
  double x = 0, y = 0, bulge = 0;
};
struct AuditedPolyline {
  std::string container;
  std::string layer;
  bool closed = false;
  std::vector<AuditedVertex> v;
};
// A LINE placed by ezdxf's expansion of the inserts of a layout.
struct ExpandedLine {
  std::string layout;
  std::array<double, 4> p{};  // x1, y1, x2, y2
};

// A DIMENSION: where it is, the block holding its picture (`defined`:
// that block exists), its dimension style as written (empty: none), its
// type (group 70) and attachment point (71), its
// points by ezdxf's names (defpoint, text_midpoint, defpoint2..4) and
// whether ezdxf renders it (virtual_entities) as exactly the block's
// entities, whose types `parts` lists in order; the block's LINEs.
struct AuditedDimension {
  std::string container;
  std::string block;
  std::string layer;
  std::string text;
  std::string dimstyle;
  int dimtype = 0;
  int attachment = 0;
  bool defined = false;
  bool renders_block = false;
  std::vector<std::string> parts;
  double angle = 0, text_rotation = 0;
  std::map<std::string, std::array<double, 2>> points;
  std::vector<std::array<double, 4>> lines;  // x1, y1, x2, y2
};

// An IMAGE as a CAD reader places it: the file its definition names, its
// size in drawing units (pixel vectors times pixel counts) and its pixels.
struct AuditedImage {
  std::string container;
  std::string file;  // the definition's file name
  std::string layer;
  double x = 0, y = 0, width = 0, height = 0, rotation = 0;
  double pixelsX = 0, pixelsY = 0;        // the IMAGE's own pixel counts
  double defPixelsX = 0, defPixelsY = 0;  // its definition's
};

// An ARC or ELLIPSE placed by the same expansion, with the part of a whole
// turn it covers as ezdxf measures it once placed (1: a whole circle or
// ellipse).
struct ExpandedCurve {
  std::string layout;
  std::string type;  // "ARC" or "ELLIPSE"
  double turns = 0;
};

enum class DxfAuditDetail {
  Counts,    // everything but the geometry
  Geometry,  // also inserts, polylines, expanded lines and curves, and dimensions
};

struct DxfAuditReport {
  // The script could not be run or its output not parsed (ezdxf missing,
  // file unreadable); `run_error` says why. Everything below is then empty.
  std::string run_error;

  std::string version;      // $ACADVER as found in the bytes
  bool loaded = false;      // ezdxf loaded the file without recovery
  bool recovered = false;   // ezdxf needed its recovery loader
  std::string load_error;
  std::vector<std::string> load_warnings;
  int audit_errors = -1;
  int audit_fixes = -1;
  std::vector<std::string> audit_messages;
  std::vector<std::string> raw_problems;  // findings of the raw pair walk

  Counts entities;                         // every space and block, by type
  Counts by_layer;                         // entities per layer name
  std::map<std::string, Counts> layouts;   // layout name -> type -> count
  std::map<std::string, Counts> blocks;    // non-layout block -> type -> count
  Counts objects;                          // OBJECTS by type
  std::vector<std::string> texts;          // TEXT values in reading order
  std::vector<std::string> layers, linetypes, styles, image_defs;
  std::vector<std::string> definitions;  // block definitions, in file order
  // Every IMAGE, in layouts and block definitions. An IMAGE without its
  // definition, reactor or back links is a raw problem.
  std::vector<AuditedImage> images;

  // With DxfAuditDetail::Geometry.
  std::vector<AuditedInsert> inserts;
  std::vector<AuditedPolyline> polylines;
  std::vector<ExpandedLine> expanded;
  std::vector<AuditedDimension> dimensions;
  std::vector<ExpandedCurve> expandedCurves;

  bool HasDefinition(const std::string& name) const;
  std::vector<AuditedInsert> InsertsIn(const std::string& container) const;
  std::vector<AuditedPolyline> PolylinesIn(const std::string& container) const;

  // Loaded without recovery, no load warnings, no auditor errors or fixes,
  // no raw problems.
  bool Clean() const;
  // All findings, one per line, for test failure messages.
  std::string Describe() const;
};

// Runs the audit script with /usr/bin/python3 on `dxf`.
DxfAuditReport AuditDxf(const std::filesystem::path& dxf,
                        DxfAuditDetail detail = DxfAuditDetail::Counts);
// Several files in one run of the script (ezdxf loads once): one report per
// file, in order.
std::vector<DxfAuditReport> AuditDxfFiles(const std::vector<std::filesystem::path>& files,
                                          DxfAuditDetail detail = DxfAuditDetail::Counts);

// gtest assertion: EXPECT_TRUE(parvex::testing::PassesDxfAudit(path)).
::testing::AssertionResult PassesDxfAudit(const std::filesystem::path& dxf);

}  // namespace parvex::testing
