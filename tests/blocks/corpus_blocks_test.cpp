// Every drawing of the shared corpus converts in all three DXF versions
// with its blocks: ezdxf loads each result without complaint, and the
// block definitions, inserts and the definitions' elements are those the
// reader found.
#include <algorithm>
#include <cctype>
#include <cmath>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "common/value_helpers.h"
#include "converter/app/drawing_conversion.h"
#include "converter/jww/jws_data.h"
#include "converter/jww/jww_data.h"
#include "tests/dxfaudit/dxf_audit.h"
#include "tests/support/temp_folder.h"

namespace parvex::testing {
namespace {

namespace fs = std::filesystem;

const fs::path kCorpus = PARVEX_SOURCE_DIR "/../shared/corpus";

std::vector<fs::path> CorpusFiles() {
  std::vector<fs::path> files;
  std::error_code ec;
  if (!fs::is_directory(kCorpus, ec)) return files;
  for (const auto& e : fs::recursive_directory_iterator(kCorpus, ec)) {
    if (!e.is_regular_file()) continue;
    std::string ext = e.path().extension().string();
    for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (ext == ".jww" || ext == ".jws") files.push_back(e.path());
  }
  std::sort(files.begin(), files.end());
  return files;
}

// What the reader says a converted drawing must hold: the definitions the
// block tree reached, in order, each with the inserts and the simple
// elements it should contain.
struct ExpectedDef {
  std::u16string name;
  int inserts = 0;
  int lines = 0;      // non-degenerate lines
  int curves = 0;     // arcs, circles, ellipses, temporary points
  int points = 0;     // other points
  bool simple = true;  // only lines, arcs, points and inserts
};

struct Expected {
  int topInserts = 0;
  std::vector<ExpectedDef> defs;
};

Expected FromReader(const JwwEntityModel& d) {
  std::vector<char> reached(d.EntBlockDef.size(), 0);
  std::vector<uint32_t> written;
  for (size_t k = 0; k < d.EntBlockDef.size(); ++k) {
    if (d.EntBlockDef[k].ref_flag) written.push_back(d.EntBlockDef[k].nNumber);
  }
  auto isWritten = [&](uint32_t n) {
    return std::find(written.begin(), written.end(), n) != written.end();
  };
  auto insertWritten = [&](const TEntJwwBlock& b) {
    return isWritten(b.nNumber) &&
           Finite({b.DPKijunTen_x, b.DPKijunTen_y, b.dBairitsuX, b.dBairitsuY, b.radKaitenKaku});
  };
  Expected ex;
  for (const TEntJwwNo& no : d.EntNo) {
    if (no.EntType == kJwwBlock && insertWritten(d.EntBlock[static_cast<size_t>(no.EntNo)]))
      ++ex.topInserts;
  }
  for (const TEntJwwBlockDef& def : d.EntBlockDef) {
    if (!def.ref_flag) continue;
    ExpectedDef e;
    e.name = def.strName;
    for (const TEntJwwNo& no : def.mNo) {
      const size_t i = static_cast<size_t>(no.EntNo);
      switch (no.EntType) {
        case kJwwLine: {
          const TEntJwwLine& l = def.mLine[i];
          if (Finite({l.start_x, l.start_y, l.end_x, l.end_y}) &&
              !(std::fabs(l.start_x - l.end_x) <= 1e-12 && std::fabs(l.start_y - l.end_y) <= 1e-12))
            ++e.lines;
          break;
        }
        case kJwwEnko:
          ++e.curves;
          break;
        case kJwwTen:
          if (def.mTen[i].bKariten == 1) {
            ++e.curves;
          } else {
            ++e.points;
          }
          break;
        case kJwwBlock:
          if (insertWritten(def.mBlock[i])) ++e.inserts;
          break;
        default:
          e.simple = false;
          break;
      }
    }
    ex.defs.push_back(e);
  }
  return ex;
}

int Count(const std::map<std::string, int>& c, const char* type) {
  const auto it = c.find(type);
  return it == c.end() ? 0 : it->second;
}

TEST(CorpusBlocks, EveryDrawingConvertsWithItsBlocks) {
  const auto files = CorpusFiles();
  if (files.empty()) GTEST_SKIP() << "no corpus at " << kCorpus;
  const TempFolder folder;
  const fs::path& dir = folder.Path();
  // Every version, and once more with curve groups joined into polylines.
  const struct {
    int ver;
    bool polylines;
  } runs[] = {{0, false}, {1, false}, {2, false}, {1, true}};
  for (const auto& run : runs) {
    const int ver = run.ver;
    ConversionSettings st;
    st.DxfVersion = static_cast<DxfVersion>(ver);
    st.CurveToPolyline = run.polylines;
    std::vector<fs::path> dxfs;
    std::vector<Expected> expected;
    for (size_t i = 0; i < files.size(); ++i) {
      const bool jww = files[i].extension() == ".jww" || files[i].extension() == ".JWW";
      Expected ex;
      if (jww) {
        TJwwData d;
        ASSERT_TRUE(d.FileIn(files[i])) << files[i];
        ex = FromReader(d);
      } else {
        TJwsData d;
        ASSERT_TRUE(d.FileIn(files[i])) << files[i];
        ex = FromReader(d);
      }
      // Plain names: the corpus folder names are not ASCII.
      const std::string stem =
          std::to_string(ver) + (run.polylines ? "p_" : "_") + std::to_string(i);
      const fs::path src = dir / (stem + (jww ? ".jww" : ".jws"));
      fs::copy_file(files[i], src, fs::copy_options::overwrite_existing);
      // The corpus is read-only, and Windows neither replaces nor removes
      // a read-only copy.
      fs::permissions(src, fs::perms::owner_write, fs::perm_options::add);
      const fs::path dst = dir / (stem + ".dxf");
      const auto r = parvex::ConvertDrawing(st, src, dst, dir);
      ASSERT_TRUE(r) << files[i] << ": " << r.reason();
      dxfs.push_back(dst);
      expected.push_back(ex);
    }
    const auto probes = AuditDxfFiles(dxfs, DxfAuditDetail::Geometry);
    for (size_t i = 0; i < files.size(); ++i) {
      SCOPED_TRACE(files[i].string() + " version " + std::to_string(ver) +
                   (run.polylines ? " with polylines" : ""));
      const DxfAuditReport& p = probes[i];
      ASSERT_EQ(p.run_error, "");
      EXPECT_TRUE(p.Clean()) << p.Describe();
      // The mapping's own blocks (point markers) come first.
      std::vector<std::string> defs;
      for (const auto& d : p.definitions) {
        if (d.rfind("_TRANS_", 0) != 0) defs.push_back(d);
      }
      const Expected& ex = expected[i];
      ASSERT_EQ(defs.size(), ex.defs.size());
      EXPECT_EQ(p.InsertsIn("Model").size(), static_cast<size_t>(ex.topInserts));
      for (size_t k = 0; k < defs.size(); ++k) {
        SCOPED_TRACE("block " + defs[k]);
        const auto it = p.blocks.find(defs[k]);
        const Counts c = it == p.blocks.end() ? Counts{} : it->second;
        const ExpectedDef& e = ex.defs[k];
        EXPECT_EQ(Count(c, "INSERT"), e.inserts);
        // Joined curve groups change the element kinds.
        if (!e.simple || run.polylines) continue;
        EXPECT_EQ(Count(c, "LINE"), e.lines);
        EXPECT_EQ(Count(c, "POINT"), e.points);
        EXPECT_EQ(Count(c, "ARC") + Count(c, "CIRCLE") + Count(c, "ELLIPSE") +
                      (ver == 0 ? Count(c, "POLYLINE") : 0),
                  e.curves);
      }
    }
  }
}

}  // namespace
}  // namespace parvex::testing
