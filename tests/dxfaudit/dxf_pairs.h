// Test helper: a DXF file as (code, value) pairs and as records, one per
// "0" group, each with the section and block it lies in, so that tests can
// check single groups of single entities and table records. The audit of
// the same file (dxf_audit.h) says what ezdxf sees in it.
#pragma once

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace parvex::testing {

// One group: code and value, as DxfPairSink (converter/dxf/dxf_writer.h)
// collects them.
using DxfPair = std::pair<int, std::string>;

struct DxfRecord {
  std::string type;     // value of the "0" group: "LINE", "LAYER", "SECTION", ...
  std::string section;  // HEADER, TABLES, BLOCKS, ... (empty after ENDSEC)
  std::string block;    // name of the enclosing BLOCK in BLOCKS, else empty
  std::vector<DxfPair> groups;  // in file order, after the "0" group

  bool Has(int code) const { return Get(code).has_value(); }
  // First value of a code, if any.
  std::optional<std::string> Get(int code) const;
  // First value of a code; empty (0) when absent.
  std::string Str(int code) const { return Get(code).value_or(""); }
  double Num(int code) const;
  int Int(int code) const;
  std::vector<std::string> All(int code) const;
};

// The records of a run of pairs, as they follow each other.
std::vector<DxfRecord> SplitRecords(const std::vector<DxfPair>& pairs);

// Records of one type, optionally only those of one section.
std::vector<DxfRecord> OfType(const std::vector<DxfRecord>& records, const std::string& type,
                              const std::string& section = "");

struct DxfPairs {
  std::string error;    // empty when the file could be read
  std::string version;  // $ACADVER
  std::vector<DxfRecord> records;  // the whole file
  std::vector<DxfRecord> entities;       // of the ENTITIES section, in order
  std::vector<DxfRecord> blockEntities;  // inside the blocks of BLOCKS
  std::map<std::string, DxfRecord> layers, ltypes, styles;  // by name (group 2)
  // Real-valued groups whose value is not a finite number ("code=value").
  std::vector<std::string> nonFinite;

  // Entities of ENTITIES of one type.
  std::vector<const DxfRecord*> OfType(const std::string& type) const;
};

// Reads a DXF file; values are turned into UTF-8 (from code page 932 below
// version 2007).
DxfPairs ReadDxfPairs(const std::filesystem::path& path);

}  // namespace parvex::testing
