// Every real drawing of the shared corpus converts in all three versions
// and with each output space; ezdxf loads each result without recovery and
// finds nothing to audit, and the entities of model space are, kind by
// kind, what the reader's entities imply. Skipped when the corpus is
// absent.
#include <gtest/gtest.h>

#include <cmath>
#include <cctype>
#include <set>
#include <string>

#include "common/text_helpers.h"
#include "common/value_helpers.h"
#include "conversion_fixture.h"
#include "tests/dxfaudit/dxf_audit.h"

namespace parvex::testing {
namespace {

const std::filesystem::path kCorpus = PARVEX_SOURCE_DIR "/../shared/corpus";

// The extension of a drawing in lower case (".JWS" as ".jws").
std::string Kind(const std::filesystem::path& p) {
  std::string ext = p.extension().string();
  for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return ext;
}

std::vector<std::filesystem::path> CorpusFiles() {
  std::vector<std::filesystem::path> files;
  std::error_code ec;
  if (!std::filesystem::is_directory(kCorpus, ec)) return files;
  for (const auto& e : std::filesystem::recursive_directory_iterator(kCorpus, ec)) {
    const std::string kind = Kind(e.path());
    if (kind == ".jww" || kind == ".jws") files.push_back(e.path());
  }
  std::sort(files.begin(), files.end());
  return files;
}

// What model space must hold, by DXF type, for the top-level entities of a
// drawing converted with the default settings (points as POINT, no curve
// polylines, no dimension entities, no text expansion).
Counts ExpectedModelSpace(const JwwEntityModel& m, int version) {
  Counts c;
  bool hasPoints = false;
  for (const auto& no : m.EntNo) hasPoints = hasPoints || no.EntType == kJwwTen;
  for (const auto& def : m.EntBlockDef) {
    for (const auto& no : def.mNo) hasPoints = hasPoints || (def.ref_flag && no.EntType == kJwwTen);
  }
  const std::set<int> markers = {-7, -6, -5, -4, -2, -1, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11};
  const std::string ellipse = version == 0 ? "POLYLINE" : "ELLIPSE";

  auto line = [&](const TEntJwwLine& l) {
    if (Finite({l.start_x, l.start_y, l.end_x, l.end_y}) &&
        !SamePoint12(l.start_x, l.start_y, l.end_x, l.end_y)) {
      ++c["LINE"];
    }
  };
  auto point = [&](const TEntJwwTen& p) {
    if (!Finite({p.start_x, p.start_y})) return;
    if (p.bKariten == 1) {
      ++c["CIRCLE"];
      return;
    }
    int code = 0;
    if (p.att.nPenStyle == 100) {
      if (!Finite({p.radKaitenKaku, p.dBairitsu})) return;
      code = static_cast<int32_t>(p.nCode);
    }
    if (markers.count(code)) {
      if (hasPoints) ++c["INSERT"];
    } else {
      ++c["POINT"];
    }
  };
  auto arcKind = [&](double h, double sweepRad) -> std::string {
    if (std::fabs(h - 1) <= 1e-12) h = 1;
    const double sw = NormalizeDeg(std::fabs(sweepRad) * 180 / M_PI);
    if (std::fabs(h - 1) > 1e-14) return ellipse;
    return sw <= 1e-14 ? "CIRCLE" : "ARC";
  };
  auto text = [&](const TEntJwwMoji& t) {
    if (t.str.rfind(u"^@BM", 0) == 0 && t.str.find(u',') != std::u16string::npos) return;
    if (!Finite({t.start_x, t.start_y, t.end_x, t.end_y, t.dSizeX, t.dSizeY, t.dKankaku}))
      return;
    if (SamePoint12(t.start_x, t.start_y, t.end_x, t.end_y)) return;
    // Texts are cut to 255 columns; blank ones are not written.
    if (RemoveBlanks(t.str).empty()) return;
    ++c["TEXT"];
  };

  for (const auto& no : m.EntNo) {
    const size_t i = static_cast<size_t>(no.EntNo);
    switch (no.EntType) {
      case kJwwLine:
        line(m.EntLine.at(i));
        break;
      case kJwwEnko: {
        const auto& e = m.EntEnko.at(i);
        if (Finite({e.start_x, e.start_y, e.dHankei, e.radKaishiKaku, e.radEnkoKaku,
                       e.radKatamukiKaku, e.dHenpeiRitsu})) {
          ++c[arcKind(e.dHenpeiRitsu, e.radEnkoKaku)];
        }
        break;
      }
      case kJwwTen:
        point(m.EntTen.at(i));
        break;
      case kJwwMoji:
        text(m.EntMoji.at(i));
        break;
      case kJwwSunpo: {
        const auto& s = m.EntSunpo.at(i);
        line(s.Sen);
        if (s.bSxfMode != 0) {
          line(s.Ho1);
          line(s.Ho2);
          point(s.Te1);
          point(s.Te2);
        }
        text(s.Moji);
        break;
      }
      case kJwwSolid: {
        const auto& s = m.EntSolid.at(i);
        const int style = s.att.nPenStyle;
        if (style <= 100) {
          auto same = [](double ax, double ay, double bx, double by) {
            return SamePoint12(ax, ay, bx, by);
          };
          const bool p3 = !same(s.DPoint2_x, s.DPoint2_y, s.start_x, s.start_y) &&
                          !same(s.DPoint2_x, s.DPoint2_y, s.end_x, s.end_y);
          const bool p4 = !same(s.DPoint3_x, s.DPoint3_y, s.start_x, s.start_y) &&
                          !same(s.DPoint3_x, s.DPoint3_y, s.end_x, s.end_y);
          ++c[(p3 || p4) ? "SOLID" : "LINE"];
        } else if (style == 101 || style == 105 || style == 106) {
          c["SOLID"] += 72;
        } else if (style == 111) {
          ++c[arcKind(s.end_y, std::fabs(s.DPoint3_y - 100) <= 1e-10 ? 0 : s.DPoint3_x)];
        }
        break;
      }
      case kJwwBlock: {
        const auto& b = m.EntBlock.at(i);
        for (const auto& def : m.EntBlockDef) {
          if (def.nNumber == b.nNumber) {
            if (def.ref_flag) ++c["INSERT"];
            break;
          }
        }
        break;
      }
      default:
        break;
    }
  }
  for (auto it = c.begin(); it != c.end();) it = it->second == 0 ? c.erase(it) : std::next(it);
  return c;
}

class CorpusConversion : public ConversionTest,
                         public ::testing::WithParamInterface<std::filesystem::path> {};

// Both readers are exercised: the corpus holds drawings of both kinds,
// whatever the case of their extensions.
TEST(CorpusCoverage, BothKindsOfDrawing) {
  const auto files = CorpusFiles();
  if (files.empty()) GTEST_SKIP() << "no corpus at " << kCorpus;
  std::set<std::string> kinds;
  for (const auto& f : files) kinds.insert(Kind(f));
  EXPECT_EQ(kinds, (std::set<std::string>{".jws", ".jww"}));
}

// Entities of all spaces and blocks together, by type, viewports aside.
Counts AllSpacesAndBlocks(const DxfAuditReport& r) {
  Counts sum;
  for (const auto* group : {&r.layouts, &r.blocks}) {
    for (const auto& [name, counts] : *group) {
      for (const auto& [type, n] : counts) sum[type] += n;
    }
  }
  sum.erase("VIEWPORT");
  return sum;
}

// In every version, with each output space. With one paper space and with
// one layout per frame, the entities of all spaces and blocks together are
// those of the model-space conversion: nothing lost or doubled.
TEST_P(CorpusConversion, InEveryVersionAndOutputSpace) {
  const std::filesystem::path& file = GetParam();
  // The drawing classes have no virtual destructor: each is kept as itself.
  auto jww = std::make_unique<TJwwData>();
  auto jws = std::make_unique<TJwsData>();
  const JwwEntityModel* model = nullptr;
  if (Kind(file) == ".jww") {
    ASSERT_TRUE(jww->FileIn(file)) << file;
    model = jww.get();
  } else {
    ASSERT_TRUE(jws->FileIn(file)) << file;
    model = jws.get();
  }
  const OutputSpace spaces[] = {OutputSpace::Model, OutputSpace::ModelAndPaper,
                                OutputSpace::Layouts};
  for (int version = 0; version < 3; ++version) {
    std::vector<std::filesystem::path> outs;
    for (OutputSpace space : spaces) {
      ConversionSettings s = SettingsFor(version);
      s.OutputSpace = space;
      outs.push_back(Convert(file, s, "c" + std::to_string(version) + "_" +
                                          std::to_string(SettingNumber(space)) + ".dxf"));
    }
    const auto reports = AuditDxfFiles(outs);
    ASSERT_EQ(reports.size(), outs.size());
    for (size_t i = 0; i < outs.size(); ++i) {
      SCOPED_TRACE(file.string() + " " + kVersionNames[version] + ", output space " +
                   std::to_string(SettingNumber(spaces[i])));
      const DxfAuditReport& report = reports[i];
      ASSERT_TRUE(report.run_error.empty()) << report.run_error;
      EXPECT_TRUE(report.Clean()) << report.Describe();
      EXPECT_TRUE(ReadDxfPairs(outs[i]).nonFinite.empty());
      if (i == 0) {
        Counts modelSpace;
        if (report.layouts.count("Model")) modelSpace = report.layouts.at("Model");
        EXPECT_EQ(modelSpace, ExpectedModelSpace(*model, version));
      } else {
        EXPECT_EQ(AllSpacesAndBlocks(report), AllSpacesAndBlocks(reports[0]));
      }
    }
  }
}

// With dimensions as DIMENSION entities, in every version: the files pass
// the audit, and every kind of entity counts as without them over model
// space and all blocks (what a "*D" block takes is not written again).
TEST_P(CorpusConversion, WithDimensionEntities) {
  const std::filesystem::path& file = GetParam();
  std::vector<std::filesystem::path> outs;
  for (int version = 0; version < 3; ++version) {
    for (bool dims : {false, true}) {
      ConversionSettings st = SettingsFor(version);
      st.DimensionAsEntity = dims;
      outs.push_back(Convert(file, st, "v" + std::to_string(version) + (dims ? "d" : "") + ".dxf"));
    }
  }
  const std::vector<DxfAuditReport> reports = AuditDxfFiles(outs);
  for (size_t k = 0; k < reports.size(); k += 2) {
    SCOPED_TRACE(file.string() + " " + kVersionNames[k / 2]);
    const DxfAuditReport& off = reports[k];
    const DxfAuditReport& on = reports[k + 1];
    ASSERT_TRUE(on.run_error.empty()) << on.run_error;
    EXPECT_TRUE(on.Clean()) << on.Describe();
    Counts withoutDimensions = on.entities;
    withoutDimensions.erase("DIMENSION");
    EXPECT_EQ(withoutDimensions, off.entities);
  }
}

GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(CorpusConversion);
INSTANTIATE_TEST_SUITE_P(Corpus, CorpusConversion, ::testing::ValuesIn(CorpusFiles()),
                         [](const auto& info) {
                           // Test names allow only letters, digits and "_".
                           std::string name = "f" + std::to_string(info.index) + "_";
                           for (char ch : info.param.stem().string()) {
                             if (std::isalnum(static_cast<unsigned char>(ch))) name += ch;
                           }
                           return name;
                         });

}  // namespace
}  // namespace parvex::testing
