// Text macros and control codes through the whole conversion: a drawing
// whose texts are codes, at the top level, in a block definition and as a
// dimension text, converted with each combination of the two switches in
// every version; the moment of conversion from SOURCE_DATE_EPOCH; the
// command line's switches; and the corpus with both expansions on.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <vector>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <optional>
#include <set>

#include "common/path_helpers.h"
#include "common/platform/codepage.h"
#include "common/platform/files.h"
#include "conversion_fixture.h"
#include "converter/app/drawing_conversion.h"
#include "converter/expand/control_codes.h"
#include "converter/expand/conversion_moment.h"
#include "tests/dxfaudit/dxf_audit.h"
#include "tests/support/environment.h"
#include "tests/support/jww_writer.h"
#include "tests/support/program_run.h"

namespace parvex::testing {
namespace {

namespace fs = std::filesystem;

// 2019-05-01 00:00:00 UTC, the first day of the Reiwa era, a Wednesday.
constexpr const char* kEpoch = "1556668800";

// Sets SOURCE_DATE_EPOCH for a test and restores it afterwards.
class ExpansionTest : public ConversionTest {
 protected:
  void SetUp() override {
    if (const char* v = std::getenv(kSourceDateEpochVariable)) saved_ = v;
    SetVariable(kSourceDateEpochVariable, kEpoch);
  }
  void TearDown() override {
    if (saved_) {
      SetVariable(kSourceDateEpochVariable, saved_->c_str());
    } else {
      RemoveVariable(kSourceDateEpochVariable);
    }
  }

  // Writes the drawing as codes.jww with its reference variables beside
  // it (named by a Jw_win.jwf in the program folder), its file time set to
  // 2005-06-15 12:00 UTC (the same year and month in every time zone).
  fs::path SaveWithVariables(const TJwwData& d) {
    const fs::path app = dir_ / "app";
    fs::create_directories(app);
    folder_.Write("app/Jw_win.jwf", "REF_FILE=vars.txt\r\n");
    folder_.Write("vars.txt", "%%owner\tParvex Co.\r\n");
    const fs::path source = Save(d, "codes.jww");
    using namespace std::chrono;
    const sys_seconds saved = sys_days{year{2005} / June / 15} + hours{12};
    platform::FileTimes times;
    times.Access.tv_sec = times.Write.tv_sec = saved.time_since_epoch().count();
    EXPECT_TRUE(platform::SetFileTimes(source, times));
    return source;
  }

  DxfPairs ConvertWithVariables(const fs::path& source, const ConversionSettings& s) {
    const fs::path out = dir_ / ("e" + std::to_string(++serial_) + ".dxf");
    const Status r = ConvertDrawing(s, source, out, dir_ / "app");
    EXPECT_TRUE(r.ok()) << r.reason();
    EXPECT_TRUE(PassesDxfAudit(out));
    return ReadDxfPairs(out);
  }

  std::optional<std::string> saved_;
};

// Texts of width 4, height 4 and no spacing: a half-width character takes
// 2, so that laid-out positions are whole numbers.
TEntJwwMoji CodedText(const TEntJwwAttr& a, double y, std::u16string s) {
  TEntJwwMoji t = Text(a, 0, y, 10, y, std::move(s), 1, 4, 4);
  t.dKankaku = 0;
  return t;
}

// Top level, group 0 at 1:1 on A3 paper (a point (x, y) of the drawing is
// (x + 210, y + 148.5) in the DXF), pen 1 (ACI 1, the layer's colour);
// group 1 at 1:50; pen 3 is ACI 5.
TJwwData CodesDrawing() {
  TJwwData d = MakeColouredDrawing();
  d.EntLgrp[1].adScale = 50;
  d.Enthd.strMemo = u"first\r\nsecond";
  d.Enthd.lnDrawTime = 5400;
  d.Enthd.dPrtBairitsu = 2;
  const TEntJwwAttr a = Attr(0, 0, 1, 1);
  AddEntity(d, CodedText(a, 0, u"N/mm^u2"));
  AddEntity(d, CodedText(a, -20, u"ABC^_DE^#F"));
  AddEntity(d, CodedText(a, -40, u"AB^$3CD^/EF"));
  AddEntity(d, CodedText(a, -60, u"abcdef^2"));
  TEntJwwMoji vertical = CodedText(a, -80, u"GH^_IJ");
  vertical.end_x = 0;
  vertical.end_y = -90;
  vertical.att.sFlg = 0x20;
  AddEntity(d, vertical);
  const TEntJwwAttr g1 = Attr(1, 0, 1, 1);
  for (const char16_t* s : {u"%SS", u"%SP"}) AddEntity(d, Text(g1, 0, -100, 10, -100, s));
  for (const char16_t* s : {u"%f", u"%F", u"%mm", u"%T", u"%%owner", u"%G\uFF27\uFF25\uFF25",
                            u"%j", u"%wa", u"=y", u"=m"}) {
    AddEntity(d, Text(a, 0, 100, 10, 100, s));
  }
  TEntJwwSunpo dim;
  dim.att = a;
  dim.Sen = Line(a, 0, -130, 30, -130);
  dim.Moji = CodedText(a, -140, u"30^d5");
  AddEntity(d, dim);

  TEntJwwBlockDef part;
  part.att = a;
  part.nNumber = 1;
  part.strName = u"PART";
  AddMember(part, CodedText(a, 0, u"X^oY"));
  AddMember(part, Text(a, 0, 10, 10, 10, u"%f"));
  d.EntBlockDef = {part};
  TEntJwwBlock insert;
  insert.att = a;
  insert.DPKijunTen_x = 50;
  insert.DPKijunTen_y = 50;
  insert.dBairitsuX = insert.dBairitsuY = 1;
  insert.nNumber = 1;
  AddEntity(d, insert);
  return d;
}

// The records of a list by their text; a text shown twice is kept once
// under its first record and noted in `repeated`.
struct TextsByValue {
  std::map<std::string, const DxfRecord*> at;
  std::set<std::string> repeated;
  explicit TextsByValue(const std::vector<DxfRecord>& records, const std::string& block = "") {
    for (const DxfRecord& r : records) {
      if (r.type != "TEXT" || r.block != block) continue;
      if (!at.emplace(r.Str(1), &r).second) repeated.insert(r.Str(1));
    }
  }
  const DxfRecord* operator[](const std::string& text) const {
    auto it = at.find(text);
    return it == at.end() ? nullptr : it->second;
  }
};

struct Placed {
  std::string text;
  double x1, y1, x2, y2;
  double height, widthFactor;
  int colour;  // 0: by layer
  bool slanted;
};

void ExpectPlaced(const TextsByValue& texts, const Placed& e) {
  const DxfRecord* r = texts[e.text];
  ASSERT_NE(r, nullptr) << e.text;
  EXPECT_NEAR(r->Num(10), e.x1, 1e-9) << e.text;
  EXPECT_NEAR(r->Num(20), e.y1, 1e-9) << e.text;
  EXPECT_NEAR(r->Num(11), e.x2, 1e-9) << e.text;
  EXPECT_NEAR(r->Num(21), e.y2, 1e-9) << e.text;
  EXPECT_NEAR(r->Num(40), e.height, 1e-9) << e.text;
  EXPECT_NEAR(r->Num(41), e.widthFactor, 1e-9) << e.text;
  EXPECT_EQ(r->Int(62), e.colour) << e.text;
  EXPECT_EQ(r->Has(51), e.slanted) << e.text;
  if (e.slanted) {
    EXPECT_DOUBLE_EQ(r->Num(51), 28) << e.text;
  }
}

class BothExpansions : public ExpansionTest, public ::testing::WithParamInterface<int> {};

TEST_P(BothExpansions, CodesShowTheirValuesPiecesAndLines) {
  const int version = GetParam();
  const fs::path source = SaveWithVariables(CodesDrawing());
  ConversionSettings s = SettingsFor(version);
  s.ExpandEmbeddedText = s.ExpandControlCodes = true;
  const DxfPairs dxf = ConvertWithVariables(source, s);
  const TextsByValue texts(dxf.entities);
  EXPECT_TRUE(texts.repeated.empty()) << *texts.repeated.begin();

  // Hand-computed layouts. "N/mm^u2": five half-width places of 2, the
  // raised 2 half size, half a height up, a quarter place after "mm".
  // "ABC^_DE^#F": the run is cut at "^#" a tenth of a place before the pen.
  // "AB^$3CD^/EF": pieces cut where the colour and the slant change.
  // "abcdef^2": the line is shortened by two half-width places, so the six
  // characters share 8. "30^d5": the dimension text, 5 lowered.
  const Placed placed[] = {
      {"N/mm ", 210, 148.5, 220, 148.5, 4, 0.5, 0, false},
      {"2", 218.5, 150.5, 219.5, 150.5, 2, 0.5, 0, false},
      {"ABCDE", 210, 128.5, 219.8, 128.5, 4, 0.5, 0, false},
      {"F", 220.2, 128.5, 222, 128.5, 4, 0.5, 0, false},
      {"AB", 210, 108.5, 213.8, 108.5, 4, 0.5, 0, false},
      {"CD", 214.2, 108.5, 217.8, 108.5, 4, 0.5, 5, false},
      {"EF", 218.2, 108.5, 222, 108.5, 4, 0.5, 5, true},
      {"abcdef", 210, 88.5, 218, 88.5, 4, 1.0 / 3, 0, false},
      {"30 ", 210, 8.5, 216, 8.5, 4, 0.5, 0, false},
      {"5", 214.5, 8.5, 215.5, 8.5, 2, 0.5, 0, false},
  };
  for (const Placed& p : placed) ExpectPlaced(texts, p);

  // The underline of "DE", a tenth of the height below the baseline, and
  // that of the vertical text; the dimension's own line.
  std::vector<std::array<double, 4>> lines;
  for (const DxfRecord* l : dxf.OfType("LINE"))
    lines.push_back({l->Num(10), l->Num(20), l->Num(11), l->Num(21)});
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_NEAR(lines[0][0], 216, 1e-9);
  EXPECT_NEAR(lines[0][1], 128.1, 1e-9);
  EXPECT_NEAR(lines[0][2], 220, 1e-9);
  EXPECT_NEAR(lines[0][3], 128.1, 1e-9);

  // Vertical writing: one vertical piece, underlined from after "H" on.
  const DxfRecord* vertical = texts["GHIJ"];
  ASSERT_NE(vertical, nullptr);
  EXPECT_EQ(vertical->Int(72), 3);
  EXPECT_EQ(vertical->Str(7), "MOJI1T");
  // The line starts at the text moved half its width to the right of the
  // writing direction (down the page) and 0.1 height further: x 211.6.
  EXPECT_NEAR(lines[1][0], 211.6, 1e-9);
  EXPECT_NEAR(lines[1][1], 60.5, 1e-9);
  EXPECT_NEAR(lines[1][2], 211.6, 1e-9);
  EXPECT_NEAR(lines[1][3], 52.5, 1e-9);

  // Macros: the scale of group 1 and the print magnification. Model space
  // draws every group at the base group's scale (1:1 here); the end of
  // "1/50" lies its run length away: four half-width characters of 1.5 and
  // three half spacings of 0.25.
  const DxfRecord* scale = texts["1/50"];
  ASSERT_NE(scale, nullptr);
  EXPECT_NEAR(scale->Num(10), 210, 1e-9);
  EXPECT_NEAR(scale->Num(11), 210 + 4 * 1.5 + 3 * 0.25, 1e-9);
  EXPECT_NEAR(scale->Num(21), 48.5, 1e-9);
  const std::string path = platform::ToUtf8(platform::PathToText(source));
  for (const std::string& value : std::vector<std::string>{"1/25", "codes.jww", path, "first\u3000second", "1 : 30", "Parvex Co.",
        "令和元年", "2019/ 5/ 1", "WED", "05", "06"}) {
    EXPECT_NE(texts[value], nullptr) << value;
  }

  // The block definition is laid out in its own coordinates.
  const TextsByValue block(dxf.blockEntities, "PART");
  ExpectPlaced(block, {"X", 0, 0, 2, 0, 4, 0.5, 0, false});
  ExpectPlaced(block, {"Y", 0.5, 1, 1.5, 1, 2, 0.5, 0, false});
  EXPECT_NE(block["codes.jww"], nullptr);
}

INSTANTIATE_TEST_SUITE_P(Versions, BothExpansions, ::testing::Values(0, 1, 2),
                         [](const auto& info) { return std::string(kVersionNames[info.param]); });

// With dimensions written as DIMENSION entities, a dimension's text is laid
// out inside the dimension's own block, in every version, and nowhere else;
// the DIMENSION itself keeps the plain characters.
TEST_F(ExpansionTest, DimensionBlockTextsAreExpanded) {
  TJwwData d = MakeColouredDrawing();
  TEntJwwAttr a = Attr(0, 0, 1, 1);
  a.lGroup = 7;
  AddEntity(d, Line(a, 0, 0, 30, 0));
  a.sFlg = 0x4010;  // the text flags of a linear dimension's text
  AddEntity(d, CodedText(a, 1, u"30^d5"));
  const fs::path source = SaveWithVariables(d);
  for (int version = 0; version < 3; ++version) {
    SCOPED_TRACE(kVersionNames[version]);
    ConversionSettings s = SettingsFor(version);
    s.ExpandEmbeddedText = s.ExpandControlCodes = true;
    s.DimensionAsEntity = true;
    const DxfPairs dxf = ConvertWithVariables(source, s);
    const std::vector<const DxfRecord*> dims = dxf.OfType("DIMENSION");
    ASSERT_EQ(dims.size(), 1u);
    // The DIMENSION's own text, shown when a CAD program rebuilds it, holds
    // the characters without the codes.
    EXPECT_EQ(dims[0]->Str(1), "305");
    EXPECT_TRUE(dxf.OfType("TEXT").empty());
    // The same layout as at the top level: "30" and a space, the 5 lowered.
    const TextsByValue block(dxf.blockEntities, dims[0]->Str(2));
    ExpectPlaced(block, {"30 ", 210, 149.5, 216, 149.5, 4, 0.5, 0, false});
    ExpectPlaced(block, {"5", 214.5, 149.5, 215.5, 149.5, 2, 0.5, 0, false});
    EXPECT_EQ(block["30^d5"], nullptr);
  }
}

// With a switch off, the texts it governs stay as the drawing stores them.
TEST_F(ExpansionTest, EachSwitchOffKeepsItsTextsAsWritten) {
  const fs::path source = SaveWithVariables(CodesDrawing());
  struct Case {
    bool macros, codes;
    std::vector<std::string> shown, notShown;
  } cases[] = {
      {false, true, {"%SS", "%%owner", "=y", "N/mm ", "ABCDE"}, {"1/50", "N/mm^u2"}},
      {true, false, {"1/50", "Parvex Co.", "N/mm^u2", "ABC^_DE^#F", "30^d5"}, {"%SS", "N/mm "}},
      {false, false, {"%SS", "N/mm^u2", "AB^$3CD^/EF", "abcdef^2"}, {"1/50", "N/mm "}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string("macros ") + (c.macros ? "on" : "off") + ", codes " +
                 (c.codes ? "on" : "off"));
    ConversionSettings s = SettingsFor(1);
    s.ExpandEmbeddedText = c.macros;
    s.ExpandControlCodes = c.codes;
    const DxfPairs dxf = ConvertWithVariables(source, s);
    const TextsByValue texts(dxf.entities);
    for (const std::string& v : c.shown) EXPECT_NE(texts[v], nullptr) << v;
    for (const std::string& v : c.notShown) EXPECT_EQ(texts[v], nullptr) << v;
    // Without control codes no underline is drawn: the dimension line only.
    EXPECT_EQ(dxf.OfType("LINE").size(), c.codes ? 3u : 1u);
    const TextsByValue block(dxf.blockEntities, "PART");
    EXPECT_NE(block[c.codes ? "X" : "X^oY"], nullptr);
    EXPECT_NE(block[c.macros ? "codes.jww" : "%f"], nullptr);
  }
}

// The same drawing converted twice with SOURCE_DATE_EPOCH set gives the
// same bytes; a value that is no time fails the conversion and says why.
TEST_F(ExpansionTest, SourceDateEpochMakesConversionsReproducible) {
  TJwwData d = MakeColouredDrawing();
  const TEntJwwAttr a = Attr(0, 0, 1, 1);
  for (const char16_t* s : {u"%y", u"%m", u"%d", u"%H", u"%M", u"%S", u"%J"})
    AddEntity(d, Text(a, 0, 0, 10, 0, s));
  const fs::path source = Save(d, "dates.jww");
  for (int version = 0; version < 3; ++version) {
    ConversionSettings s = SettingsFor(version);
    s.ExpandEmbeddedText = true;
    const std::string v = std::to_string(version);
    const fs::path first = Convert(source, s, "first" + v + ".dxf");
    const fs::path second = Convert(source, s, "second" + v + ".dxf");
    EXPECT_EQ(TempFolder::Read(first), TempFolder::Read(second)) << kVersionNames[version];
    const DxfPairs dxf = ReadDxfPairs(first);
    const TextsByValue texts(dxf.entities);
    EXPECT_NE(texts["令和元年 5月 1日"], nullptr);
  }

  for (const char* bad : {"yesterday", "1556668800.5", "99999999999999"}) {
    SetVariable(kSourceDateEpochVariable, bad);
    const fs::path out = dir_ / "bad.dxf";
    const Status r = ConvertDrawing(SettingsFor(1), source, out);
    EXPECT_FALSE(r.ok()) << bad;
    EXPECT_NE(r.reason().find("SOURCE_DATE_EPOCH"), std::string::npos) << r.reason();
    EXPECT_FALSE(fs::exists(out)) << bad;
  }
}

// parvex-cli convert's switches reach the conversion, over a settings file
// that turns both expansions off.
TEST_F(ExpansionTest, CommandLineSwitches) {
  TJwwData d = MakeColouredDrawing();
  d.EntLgrp[0].adScale = 50;
  AddEntity(d, Text(Attr(0, 0, 1, 1), 0, 0, 10, 0, u"%SS"));
  AddEntity(d, CodedText(Attr(0, 0, 1, 1), 10, u"N/mm^u2"));
  const fs::path source = Save(d, "cli.jww");
  // A settings file as the launcher writes it, with lines 23 and 24 (the
  // two expansions) off.
  std::string dat = "\xEF\xBB\xBF";
  for (int line = 0; line < 33; ++line) {
    dat += line == 14 ? "1" : line == 20 ? "0.5" : line == 23 || line == 24 ? "False" : "0";
    dat += "\r\n";
  }
  const fs::path settings = folder_.Write("Parvex.dat", dat);
  const std::string datPath = platform::NarrowFromPath(settings);
  struct Case {
    std::vector<std::string> options;
    bool macros, codes;
  } cases[] = {
      {{}, true, true},
      {{"--no-expand-text"}, false, true},
      {{"--no-expand-codes"}, true, false},
      {{"--no-expand-text", "--no-expand-codes"}, false, false},
      {{"--settings", datPath}, false, false},
      {{"--settings", datPath, "--expand-text"}, true, false},
      {{"--settings", datPath, "--expand-codes"}, false, true},
  };
  const TempFolder logs;
  int n = 0;
  for (const Case& c : cases) {
    const fs::path out = dir_ / ("cli" + std::to_string(++n));
    std::vector<std::string> args = {"convert"};
    args.insert(args.end(), c.options.begin(), c.options.end());
    args.insert(args.end(), {"-o", platform::NarrowFromPath(out), platform::NarrowFromPath(source)});
    const Outcome o = ProgramRun(BuiltProgram("parvex-cli"), args, logs.Path()).Wait();
    SCOPED_TRACE(n);
    ASSERT_EQ(o.status, 0) << o.out << o.err;
    const TextsByValue texts(ReadDxfPairs(out / "cli.dxf").entities);
    EXPECT_EQ(texts["1/50"] != nullptr, c.macros) << n;
    EXPECT_EQ(texts["%SS"] != nullptr, !c.macros) << n;
    EXPECT_EQ(texts["N/mm "] != nullptr, c.codes) << n;
    EXPECT_EQ(texts["N/mm^u2"] != nullptr, !c.codes) << n;
  }
}

// Every drawing of the shared corpus converts with both expansions on in
// all three versions, ezdxf finds nothing to audit, and no text of the
// results carries a control code the layout handles. Skipped without the
// corpus.
std::vector<fs::path> CorpusDrawings() {
  const fs::path corpus = PARVEX_SOURCE_DIR "/../shared/corpus";
  std::vector<fs::path> files;
  std::error_code ec;
  for (const auto& e : fs::recursive_directory_iterator(corpus, ec)) {
    std::u16string ext = LowerExtension(platform::PathToText(e.path()));
    if (ext == u".jww" || ext == u".jws") files.push_back(e.path());
  }
  std::sort(files.begin(), files.end());
  return files;
}

TEST_F(ExpansionTest, CorpusWithBothExpansions) {
  const std::vector<fs::path> drawings = CorpusDrawings();
  if (drawings.empty()) GTEST_SKIP() << "no corpus";
  std::vector<fs::path> outputs;
  for (const fs::path& drawing : drawings) {
    for (int version = 0; version < 3; ++version) {
      ConversionSettings s = SettingsFor(version);
      s.ExpandEmbeddedText = s.ExpandControlCodes = true;
      outputs.push_back(
          Convert(drawing, s, "c" + std::to_string(outputs.size()) + ".dxf"));
    }
  }
  const std::vector<DxfAuditReport> reports = AuditDxfFiles(outputs);
  ASSERT_EQ(reports.size(), outputs.size());
  for (size_t i = 0; i < outputs.size(); ++i) {
    const std::string which =
        drawings[i / 3].string() + " " + kVersionNames[i % 3];
    EXPECT_TRUE(reports[i].run_error.empty()) << which << ": " << reports[i].run_error;
    EXPECT_TRUE(reports[i].Clean()) << which << ": " << reports[i].Describe();
    const DxfPairs dxf = ReadDxfPairs(outputs[i]);
    for (const auto* list : {&dxf.entities, &dxf.blockEntities}) {
      for (const DxfRecord& r : *list) {
        if (r.type != "TEXT") continue;
        EXPECT_FALSE(CheckMojiExp2(platform::FromUtf8(r.Str(1)))) << which << ": " << r.Str(1);
      }
    }
  }
}

}  // namespace
}  // namespace parvex::testing
