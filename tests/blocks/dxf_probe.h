// Test helper: what ezdxf finds in a converted file about blocks, inserts
// and polylines (tests/blocks/dxf_blocks_probe.py), and conversion of a
// test drawing in a scratch folder.
#pragma once

#include <array>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "common/conversion_settings.h"
#include "converter/jww/jww_data.h"

namespace parvex::testing {

struct ProbedInsert {
  std::string container;  // "*Model_Space", a layout name or a block name
  std::string block;
  double x = 0, y = 0, xscale = 1, yscale = 1, rotation = 0;
};

struct ProbedVertex {
  double x = 0, y = 0, bulge = 0;
};

struct ProbedPolyline {
  std::string container;
  std::string layer;
  bool closed = false;
  std::vector<ProbedVertex> v;
};

struct ProbedLine {
  std::string layout;
  std::array<double, 4> p{};  // x1, y1, x2, y2
};

struct DxfProbe {
  std::string error;  // ezdxf could not load the file, or the probe failed
  int audit_errors = -1;
  int audit_fixes = -1;
  // Entities by type of each container ("*Model_Space", layouts, blocks).
  std::map<std::string, std::map<std::string, int>> counts;
  std::vector<std::string> defs;  // block definitions (not layouts), file order
  std::vector<ProbedInsert> inserts;
  std::vector<ProbedPolyline> polylines;
  std::vector<ProbedLine> expanded;  // lines placed by ezdxf's expansion of inserts

  bool HasDef(const std::string& name) const;
  std::vector<ProbedInsert> InsertsIn(const std::string& container) const;
  std::vector<ProbedPolyline> PolylinesIn(const std::string& container) const;
};

DxfProbe ProbeDxf(const std::filesystem::path& dxf);
// Several files in one run of the probe; one result per file, in order.
std::vector<DxfProbe> ProbeDxfFiles(const std::vector<std::filesystem::path>& files);

// A fresh, empty folder for one test (removed by the caller's fixture).
std::filesystem::path ScratchFolder(const std::string& name);

// Writes `drawing` as name.jww into `folder`, converts it to name.dxf with
// `settings` and returns the DXF path; empty when either step failed.
std::filesystem::path ConvertTestDrawing(const TJwwData& drawing, const std::filesystem::path& folder,
                                     const std::string& name, const ConversionSettings& settings);

}  // namespace parvex::testing
