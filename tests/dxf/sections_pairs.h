// Test helper: a written DXF file as records (one per "0" group) with the
// section and block each lies in, for asserting on single groups.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "common/platform/codepage.h"
#include "converter/dxf/dxf_model.h"
#include "converter/dxf/dxf_writer.h"

namespace parvex::testing {

struct DxfRecord {
  std::string type;     // value of the "0" group
  std::string section;  // HEADER, TABLES, BLOCKS, ...
  std::string block;    // name of the enclosing BLOCK in BLOCKS, else empty
  std::vector<std::pair<int, std::string>> groups;  // without the "0" group

  // First value of a code, if any.
  std::optional<std::string> Get(int code) const {
    for (const auto& [c, v] : groups) {
      if (c == code) return v;
    }
    return std::nullopt;
  }
  std::string At(int code) const { return Get(code).value_or("<missing>"); }
  std::vector<std::string> All(int code) const {
    std::vector<std::string> out;
    for (const auto& [c, v] : groups) {
      if (c == code) out.push_back(v);
    }
    return out;
  }
  bool Has(int code) const { return Get(code).has_value(); }
};

// Writes m through a pair sink and splits the groups into records. Values
// stay in the file's encoding; Utf8 turns one into UTF-8 for comparisons.
inline std::vector<DxfRecord> WriteRecords(TDXFmodel& m) {
  DxfPairSink sink;
  m.WriteDXF("/nonexistent/source.jww", sink);
  std::vector<DxfRecord> out;
  std::string section, block;
  for (std::size_t i = 0; i < sink.pairs.size(); ++i) {
    const auto& [code, value] = sink.pairs[i];
    if (code != 0) {
      if (!out.empty()) out.back().groups.emplace_back(code, value);
      continue;
    }
    if (value == "SECTION" && i + 1 < sink.pairs.size()) section = sink.pairs[i + 1].second;
    if (value == "ENDSEC") section.clear();
    if (value == "ENDBLK") block.clear();
    out.push_back({value, section, block, {}});
    if (value == "BLOCK") {
      for (std::size_t j = i + 1; j < sink.pairs.size() && sink.pairs[j].first != 0; ++j) {
        if (sink.pairs[j].first == 2) {
          block = sink.pairs[j].second;
          break;
        }
      }
      out.back().block = block;
    }
  }
  return out;
}

// Records of one type, optionally only those of one section.
inline std::vector<DxfRecord> OfType(const std::vector<DxfRecord>& recs, const std::string& type,
                                     const std::string& section = "") {
  std::vector<DxfRecord> out;
  for (const DxfRecord& r : recs) {
    if (r.type == type && (section.empty() || r.section == section)) out.push_back(r);
  }
  return out;
}

inline std::string Utf8FromFile(const std::string& v, int ver) {
  return ver == 2 ? v : platform::ToUtf8(platform::DecodeCp932(v));
}

}  // namespace parvex::testing
