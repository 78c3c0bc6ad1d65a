#include "dxf_pairs.h"

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "common/platform/codepage.h"

namespace parvex::testing {

namespace {

bool IsRealCode(int c) {
  return (c >= 10 && c <= 59) || (c >= 110 && c <= 149) || (c >= 210 && c <= 239) ||
         (c >= 1010 && c <= 1059) || (c >= 460 && c <= 469);
}

std::string Trim(std::string s) {
  while (!s.empty() && (s.back() == '\r' || s.back() == ' ')) s.pop_back();
  size_t i = 0;
  while (i < s.size() && s[i] == ' ') ++i;
  return s.substr(i);
}

bool NotFinite(const std::string& v) {
  std::string lower;
  for (char ch : v) lower += static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
  return !std::isfinite(std::strtod(v.c_str(), nullptr)) ||
         lower.find("nan") != std::string::npos || lower.find("inf") != std::string::npos;
}

}  // namespace

std::optional<std::string> DxfRecord::Get(int code) const {
  for (const auto& [c, v] : groups) {
    if (c == code) return v;
  }
  return std::nullopt;
}

double DxfRecord::Num(int code) const { return std::strtod(Str(code).c_str(), nullptr); }
int DxfRecord::Int(int code) const { return std::atoi(Str(code).c_str()); }

std::vector<std::string> DxfRecord::All(int code) const {
  std::vector<std::string> out;
  for (const auto& [c, v] : groups) {
    if (c == code) out.push_back(v);
  }
  return out;
}

std::vector<DxfRecord> SplitRecords(const std::vector<DxfPair>& pairs) {
  std::vector<DxfRecord> out;
  std::string section, block;
  for (std::size_t i = 0; i < pairs.size(); ++i) {
    const auto& [code, value] = pairs[i];
    if (code != 0) {
      if (!out.empty()) out.back().groups.emplace_back(code, value);
      continue;
    }
    if (value == "SECTION" && i + 1 < pairs.size()) section = pairs[i + 1].second;
    if (value == "ENDSEC") section.clear();
    if (value == "ENDBLK") block.clear();
    if (value == "BLOCK") {
      block.clear();
      for (std::size_t j = i + 1; j < pairs.size() && pairs[j].first != 0; ++j) {
        if (pairs[j].first == 2) {
          block = pairs[j].second;
          break;
        }
      }
    }
    out.push_back({value, section, block, {}});
  }
  return out;
}

std::vector<DxfRecord> OfType(const std::vector<DxfRecord>& records, const std::string& type,
                              const std::string& section) {
  std::vector<DxfRecord> out;
  for (const DxfRecord& r : records) {
    if (r.type == type && (section.empty() || r.section == section)) out.push_back(r);
  }
  return out;
}

std::vector<const DxfRecord*> DxfPairs::OfType(const std::string& type) const {
  std::vector<const DxfRecord*> out;
  for (const DxfRecord& r : entities) {
    if (r.type == type) out.push_back(&r);
  }
  return out;
}

DxfPairs ReadDxfPairs(const std::filesystem::path& path) {
  DxfPairs out;
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    out.error = "cannot open " + path.string();
    return out;
  }
  std::stringstream ss;
  ss << in.rdbuf();
  std::istringstream lines(ss.str());
  std::vector<DxfPair> pairs;
  std::string code, value;
  for (int line = 1; std::getline(lines, code) && std::getline(lines, value); line += 2) {
    if (!value.empty() && value.back() == '\r') value.pop_back();
    code = Trim(code);
    char* end = nullptr;
    const long c = std::strtol(code.c_str(), &end, 10);
    if (code.empty() || *end != '\0') {
      out.error = "bad group code at line " + std::to_string(line);
      return out;
    }
    pairs.emplace_back(static_cast<int>(c), value);
  }
  for (size_t i = 0; i + 1 < pairs.size(); ++i) {
    if (pairs[i].first == 9 && pairs[i].second == "$ACADVER") out.version = Trim(pairs[i + 1].second);
  }
  const bool utf8 = out.version >= "AC1021";
  for (auto& [c, v] : pairs) {
    if (!utf8) v = platform::ToUtf8(platform::DecodeCp932(v));
    if (IsRealCode(c) && NotFinite(v)) out.nonFinite.push_back(std::to_string(c) + "=" + v);
  }
  out.records = SplitRecords(pairs);
  for (const DxfRecord& r : out.records) {
    if (r.type == "SECTION") continue;
    if (r.section == "ENTITIES") out.entities.push_back(r);
    if (r.section == "BLOCKS" && r.type != "BLOCK" && r.type != "ENDBLK") {
      out.blockEntities.push_back(r);
    }
    if (r.section == "TABLES") {
      if (r.type == "LAYER") out.layers[r.Str(2)] = r;
      if (r.type == "LTYPE") out.ltypes[r.Str(2)] = r;
      if (r.type == "STYLE") out.styles[r.Str(2)] = r;
    }
  }
  return out;
}

}  // namespace parvex::testing
