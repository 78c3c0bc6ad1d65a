// Test helper: reads a DXF file as code/value pairs and gathers the
// entities of the ENTITIES section and the table records, with texts
// decoded to UTF-8, so tests can check single groups of single entities.
#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace parvex::testing {

struct DxfRecord {
  std::string type;                              // "LINE", "LAYER", ...
  std::vector<std::pair<int, std::string>> groups;  // in file order, after the 0 group

  bool Has(int code) const;
  // First value of `code` (empty / 0 when absent).
  std::string Str(int code) const;
  double Num(int code) const;
  int Int(int code) const;
};

struct DxfPairs {
  std::string error;    // empty when the file could be read
  std::string version;  // $ACADVER
  std::vector<DxfRecord> entities;  // ENTITIES section in order
  std::vector<DxfRecord> blockEntities;  // entities inside BLOCKS
  std::map<std::string, DxfRecord> layers, ltypes, styles;  // by name (group 2)
  // Real-valued groups whose value is not a finite number ("code=value").
  std::vector<std::string> nonFinite;

  std::vector<const DxfRecord*> OfType(const std::string& type) const;
};

DxfPairs ReadDxfPairs(const std::filesystem::path& path);

}  // namespace parvex::testing
