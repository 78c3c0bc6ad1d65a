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

}  // namespace

bool DxfRecord::Has(int code) const {
  for (const auto& [c, v] : groups) {
    if (c == code) return true;
  }
  return false;
}

std::string DxfRecord::Str(int code) const {
  for (const auto& [c, v] : groups) {
    if (c == code) return v;
  }
  return {};
}

double DxfRecord::Num(int code) const { return std::strtod(Str(code).c_str(), nullptr); }
int DxfRecord::Int(int code) const { return std::atoi(Str(code).c_str()); }

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
  const std::string bytes = ss.str();
  std::vector<std::string> lines;
  {
    size_t start = 0;
    while (start < bytes.size()) {
      size_t end = bytes.find('\n', start);
      if (end == std::string::npos) end = bytes.size();
      lines.push_back(bytes.substr(start, end - start));
      start = end + 1;
    }
  }
  std::vector<std::pair<int, std::string>> pairs;
  for (size_t i = 0; i + 1 < lines.size(); i += 2) {
    const std::string code = Trim(lines[i]);
    std::string value = lines[i + 1];
    if (!value.empty() && value.back() == '\r') value.pop_back();
    char* endp = nullptr;
    const long c = std::strtol(code.c_str(), &endp, 10);
    if (code.empty() || *endp != '\0') {
      out.error = "bad group code at line " + std::to_string(i + 1);
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
    if (IsRealCode(c)) {
      std::string lower;
      for (char ch : v) lower += static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
      const double d = std::strtod(v.c_str(), nullptr);
      if (!std::isfinite(d) || lower.find("nan") != std::string::npos ||
          lower.find("inf") != std::string::npos) {
        out.nonFinite.push_back(std::to_string(c) + "=" + v);
      }
    }
  }

  std::string section;
  DxfRecord* current = nullptr;
  DxfRecord tableRecord;
  bool inTableRecord = false;
  auto flushTable = [&] {
    if (!inTableRecord) return;
    const std::string name = tableRecord.Str(2);
    if (tableRecord.type == "LAYER") out.layers[name] = tableRecord;
    if (tableRecord.type == "LTYPE") out.ltypes[name] = tableRecord;
    if (tableRecord.type == "STYLE") out.styles[name] = tableRecord;
    inTableRecord = false;
  };
  for (size_t i = 0; i < pairs.size(); ++i) {
    const auto& [c, v] = pairs[i];
    if (c == 0) {
      flushTable();
      current = nullptr;
      if (v == "SECTION" && i + 1 < pairs.size()) {
        section = pairs[i + 1].second;
        ++i;
        continue;
      }
      if (v == "ENDSEC") {
        section.clear();
        continue;
      }
      if (section == "ENTITIES") {
        out.entities.push_back(DxfRecord{v, {}});
        current = &out.entities.back();
      } else if (section == "BLOCKS" && v != "BLOCK" && v != "ENDBLK") {
        out.blockEntities.push_back(DxfRecord{v, {}});
        current = &out.blockEntities.back();
      } else if (section == "TABLES" && (v == "LAYER" || v == "LTYPE" || v == "STYLE")) {
        tableRecord = DxfRecord{v, {}};
        inTableRecord = true;
      }
      continue;
    }
    if (current) current->groups.emplace_back(c, v);
    if (inTableRecord) tableRecord.groups.emplace_back(c, v);
  }
  flushTable();
  return out;
}

}  // namespace parvex::testing
