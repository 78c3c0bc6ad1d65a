#include "tests/blocks/dxf_probe.h"

#include <cstdio>
#include <sstream>

#include <gtest/gtest.h>

#include "converter/app/drawing_conversion.h"
#include "common/platform/process_info.h"
#include "tests/dxfaudit/python_run.h"
#include "tests/support/jww_writer.h"

namespace parvex::testing {

namespace {

std::vector<std::string> SplitTabs(const std::string& line) {
  std::vector<std::string> f;
  std::string cur;
  for (char c : line) {
    if (c == '\t') {
      f.push_back(cur);
      cur.clear();
    } else {
      cur += c;
    }
  }
  f.push_back(cur);
  return f;
}

double Num(const std::string& s) { return std::stod(s); }

}  // namespace

bool DxfProbe::HasDef(const std::string& name) const {
  for (const auto& d : defs) {
    if (d == name) return true;
  }
  return false;
}

std::vector<ProbedInsert> DxfProbe::InsertsIn(const std::string& container) const {
  std::vector<ProbedInsert> r;
  for (const auto& i : inserts) {
    if (i.container == container) r.push_back(i);
  }
  return r;
}

std::vector<ProbedPolyline> DxfProbe::PolylinesIn(const std::string& container) const {
  std::vector<ProbedPolyline> r;
  for (const auto& p : polylines) {
    if (p.container == container) r.push_back(p);
  }
  return r;
}

DxfProbe ProbeDxf(const std::filesystem::path& dxf) { return ProbeDxfFiles({dxf}).at(0); }

std::vector<DxfProbe> ProbeDxfFiles(const std::vector<std::filesystem::path>& files) {
  std::vector<DxfProbe> probes(files.size());
  auto failAll = [&](const std::string& why) {
    for (auto& p : probes) p.error = why;
    return probes;
  };
  const PythonRun run = RunPythonScript(PARVEX_SOURCE_DIR "/tests/blocks/dxf_blocks_probe.py", files);
  if (!run.failure.empty()) return failAll(run.failure);
  const std::string& text = run.output;
  if (run.status != 0) return failAll("probe failed: " + text.substr(0, 2000));

  std::istringstream in(text);
  std::string line;
  int index = -1;
  try {
    while (std::getline(in, line)) {
      if (line.empty()) continue;
      const auto f = SplitTabs(line);
      if (f[0] == "FILE") {
        ++index;
        continue;
      }
      if (index < 0 || index >= static_cast<int>(probes.size())) {
        return failAll("unexpected probe line: " + line);
      }
      DxfProbe& probe = probes[static_cast<size_t>(index)];
      if (f[0] == "ERR") {
        probe.error = f.size() > 1 ? f[1] : "load failed";
      } else if (f[0] == "AUDIT" && f.size() == 3) {
        probe.audit_errors = std::stoi(f[1]);
        probe.audit_fixes = std::stoi(f[2]);
      } else if (f[0] == "DEF" && f.size() == 2) {
        probe.defs.push_back(f[1]);
      } else if (f[0] == "CNT" && f.size() == 4) {
        probe.counts[f[1]][f[2]] = std::stoi(f[3]);
      } else if (f[0] == "INS" && f.size() == 8) {
        probe.inserts.push_back({f[1], f[2], Num(f[3]), Num(f[4]), Num(f[5]), Num(f[6]), Num(f[7])});
      } else if (f[0] == "PL" && f.size() == 5) {
        probe.polylines.push_back({f[1], f[2], f[4] == "1", {}});
      } else if (f[0] == "V" && f.size() == 4 && !probe.polylines.empty()) {
        probe.polylines.back().v.push_back({Num(f[1]), Num(f[2]), Num(f[3])});
      } else if (f[0] == "XLINE" && f.size() == 6) {
        probe.expanded.push_back({f[1], {Num(f[2]), Num(f[3]), Num(f[4]), Num(f[5])}});
      } else {
        probe.error = "unexpected probe line: " + line;
      }
    }
  } catch (const std::exception& e) {
    return failAll(std::string("unreadable probe output: ") + e.what());
  }
  if (index + 1 != static_cast<int>(probes.size())) return failAll("probe output incomplete");
  return probes;
}

std::filesystem::path ScratchFolder(const std::string& name) {
  const auto dir = std::filesystem::temp_directory_path() /
                   ("parvex_blocks_" + std::to_string(platform::CurrentProcessId()) + "_" + name);
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  return dir;
}

std::filesystem::path ConvertTestDrawing(const TJwwData& drawing, const std::filesystem::path& folder,
                                     const std::string& name, const ConversionSettings& settings) {
  const auto src = folder / (name + ".jww");
  const auto dst = folder / (name + ".dxf");
  if (!SaveBytes(src, WriteJww(drawing))) return {};
  const DrawingConversionResult r = parvex::ConvertDrawing(settings, src, dst, folder);
  if (!r.ok) {
    ADD_FAILURE() << "conversion of " << src << " failed: " << r.reason;
    return {};
  }
  return dst;
}

}  // namespace parvex::testing
