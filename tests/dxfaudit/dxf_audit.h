// Test helper: audits a DXF file with ezdxf and a raw code/value walk
// (tests/dxfaudit/dxf_audit.py) and returns what a CAD reader sees in it.
//
//   auto report = parvex::testing::AuditDxf(path);
//   EXPECT_TRUE(report.Clean()) << report.Describe();
//   EXPECT_EQ(report.entities["LINE"], 3);
//
// All names and texts are UTF-8.
#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace parvex::testing {

using Counts = std::map<std::string, int>;

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

  // Loaded without recovery, no load warnings, no auditor errors or fixes,
  // no raw problems.
  bool Clean() const;
  // All findings, one per line, for test failure messages.
  std::string Describe() const;
};

// Runs the audit script with /usr/bin/python3 on `dxf`.
DxfAuditReport AuditDxf(const std::filesystem::path& dxf);
// Several files in one run of the script (ezdxf loads once): one report per
// file, in order.
std::vector<DxfAuditReport> AuditDxfFiles(const std::vector<std::filesystem::path>& files);

// gtest assertion: EXPECT_TRUE(parvex::testing::PassesDxfAudit(path)).
::testing::AssertionResult PassesDxfAudit(const std::filesystem::path& dxf);

}  // namespace parvex::testing
