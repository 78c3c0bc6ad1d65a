// The DXF audit helper must catch the faults ezdxf forgives: each case
// breaks one thing in a clean file and expects the raw walk to say so.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "converter/dxf/dxf_model.h"
#include "converter/dxf/dxf_writer.h"
#include "tests/dxfaudit/dxf_audit.h"
#include "tests/support/temp_folder.h"

namespace parvex {
namespace {

std::string CleanFile(DxfVersion ver = DxfVersion::R2000) {
  TDXFmodel m;
  m.SetDXFVer(ver, OutputSpace::Model);
  m.SetAppName(u"audit");
  m.AddLtype(u"Continuous", u"", 0, {});
  m.AddLayer(u"0", 7, 1, 0, true, true);
  m.AddLayer(u"壁", 3, 1, 0, true, true);
  m.AddStyle({.nam = u"Standard", .fo1 = u"txt", .mhl = 2.5});
  const int b = m.AddBlockDef(u"B1", 1);
  m.AddLine(b, {.x2 = 1, .y2 = 1});
  m.AddLine(kTopLevel, {.attr = {.layer = 1}, .x2 = 100, .y2 = 50});
  m.AddMoji(kTopLevel, {.attr = {.layer = 1}, .x1 = 10, .y1 = 10, .x2 = 40, .y2 = 10, .w = 5,
                        .h = 5, .st = u"日本語"});
  m.AddBlock(kTopLevel, {.bln = b, .x = 50, .y = 25});
  m.AddPLine(kTopLevel, {.v = {{0, 0, 0}, {1, 1, 0}}});
  m.AddArc(kTopLevel, {.x = 20, .y = 20, .r = 5, .ratio = 0.5, .sweep = 90});
  DxfStringOutput out;
  DxfTextSink sink(out);
  EXPECT_TRUE(m.WriteDXF("/nonexistent/source.jww", sink));
  return out.bytes;
}

// A broken file and the finding the raw walk must report for it.
struct Case {
  const char* what;
  std::string bytes;
  const char* finding;
};

// Audits every case's bytes (in one run) and expects its finding.
template <std::size_t N>
void ExpectFindings(const testing::TempFolder& folder, const Case (&cases)[N]) {
  std::vector<std::filesystem::path> files;
  for (const Case& c : cases)
    files.push_back(folder.Write("case" + std::to_string(files.size()) + ".dxf", c.bytes));
  const auto reports = testing::AuditDxfFiles(files);
  for (std::size_t i = 0; i < N; ++i) {
    const Case& c = cases[i];
    const testing::DxfAuditReport& r = reports[i];
    ASSERT_TRUE(r.run_error.empty()) << c.what << ": " << r.run_error;
    bool found = false;
    for (const std::string& p : r.raw_problems) found |= p.find(c.finding) != std::string::npos;
    EXPECT_TRUE(found) << c.what << ":\n" << r.Describe();
  }
}

// Replaces the first `from` at or after the first `anchor`.
std::string Edit(std::string s, const std::string& anchor, const std::string& from,
                 const std::string& to) {
  const std::size_t a = s.find(anchor);
  const std::size_t p = a == std::string::npos ? a : s.find(from, a);
  if (p == std::string::npos) {
    ADD_FAILURE() << "no " << from << " after " << anchor;
    return s;
  }
  return s.replace(p, from.size(), to);
}

TEST(DxfAuditHelper, CatchesFaultsEzdxfForgives) {
  const testing::TempFolder folder;
  const std::string clean = CleanFile();
  const testing::DxfAuditReport base = testing::AuditDxf(folder.Write("audit_clean.dxf", clean));
  ASSERT_TRUE(base.Clean()) << base.Describe();

  const std::string ents = "ENTITIES\r\n";
  std::string lf = clean;
  for (std::size_t p; (p = lf.find("\r\n")) != std::string::npos;) lf.replace(p, 2, "\n");
  const Case cases[] = {
      {"LF line ends", lf, "without CR LF"},
      {"no CR LF at the end", clean.substr(0, clean.size() - 2), "last line"},
      {"bytes outside code page 932", Edit(clean, ents, "\x93\xfa", "\x85\x40"), "decode"},
      {"nan", Edit(clean, ents, " 11\r\n100.0", " 11\r\nnan"), "finite real"},
      {"integer code with a real", Edit(clean, ents, " 72\r\n     5", " 72\r\n5.0"), "integer"},
      {"unknown layer", Edit(clean, "  0\r\nINSERT", "  8\r\n0\r\n", "  8\r\nNOPE\r\n"),
       "undefined layer"},
      {"unknown line type", Edit(clean, "  0\r\nINSERT", "  8\r\n0\r\n", "  8\r\n0\r\n  6\r\nDOTS\r\n"),
       "undefined line type"},
      {"unknown block", Edit(clean, "  0\r\nINSERT", "  2\r\nB1", "  2\r\nB2"), "undefined block"},
      {"unknown style", Edit(clean, ents, "  7\r\nStandard", "  7\r\nMincho"), "undefined style"},
      {"POLYLINE without SEQEND", Edit(clean, "  0\r\nSEQEND", "SEQEND", "LINE"), "SEQEND"},
      {"TABLE without ENDTAB", Edit(clean, "  2\r\nVIEW", "  0\r\nENDTAB\r\n", ""), "ENDTAB"},
      {"section without ENDSEC", Edit(clean, ents, "  0\r\nENDSEC\r\n", ""), "ENDSEC"},
  };
  ExpectFindings(folder, cases);
}

TEST(DxfAuditHelper, HandlesAndOwners) {
  const testing::TempFolder folder;
  const std::string clean = CleanFile();
  // The handle of the first entity, and of the model-space block record.
  const std::size_t e = clean.find("ENTITIES\r\n  0\r\nLINE\r\n  5\r\n") + 27;
  const std::string line = clean.substr(e, clean.find("\r\n", e) - e);
  const std::size_t t = clean.find("  0\r\nTEXT\r\n  5\r\n") + 16;
  const std::string text = clean.substr(t, clean.find("\r\n", t) - t);
  const Case cases[] = {
      {"handle used twice", Edit(clean, "  0\r\nTEXT", "  5\r\n" + text, "  5\r\n" + line),
       "used twice"},
      {"handle at the seed", Edit(clean, "  0\r\nTEXT", "  5\r\n" + text, "  5\r\nFFFFF"),
       "HANDSEED"},
      {"owner names nothing", Edit(clean, "  0\r\nTEXT", "330\r\n", "330\r\nEEEEE\r\n999\r\n"),
       "no object"},
      {"owner is the wrong record",
       Edit(clean, "  0\r\nTEXT", "330\r\n", "330\r\n" + text + "\r\n999\r\n"), "expected"},
  };
  ExpectFindings(folder, cases);
}

// The value line after the first `code` line at or after `anchor`.
std::string ValueAfter(const std::string& s, const std::string& anchor, const std::string& code) {
  const std::size_t a = s.find(anchor);
  const std::size_t c = a == std::string::npos ? a : s.find(code + "\r\n", a);
  if (c == std::string::npos) {
    ADD_FAILURE() << "no " << code << " after " << anchor;
    return {};
  }
  const std::size_t v = c + code.size() + 2;
  return s.substr(v, s.find("\r\n", v) - v);
}

// Every occurrence of the line `from` as the line `to`.
std::string RenameLine(std::string s, const std::string& from, const std::string& to) {
  const std::string f = "\r\n" + from + "\r\n";
  const std::string t = "\r\n" + to + "\r\n";
  for (std::size_t p = 0; (p = s.find(f, p)) != std::string::npos; p += t.size() - 2) {
    s.replace(p, f.size(), t);
  }
  return s;
}

// What strict readers refuse and ezdxf takes: pointers to objects of the
// wrong type, R12 sub-entities without handles while $HANDLING is 1,
// blocks named like layouts, parameters beyond a whole turn, GUIDs that
// are not GUIDs or not distinct.
TEST(DxfAuditHelper, CatchesWhatStrictReadersRefuse) {
  const testing::TempFolder folder;
  const std::string r12 = CleanFile(DxfVersion::R12);
  const std::string f2000 = CleanFile(DxfVersion::R2000);
  const std::string f2007 = CleanFile(DxfVersion::R2007);
  for (const std::string* f : {&r12, &f2000, &f2007}) {
    const testing::DxfAuditReport base = testing::AuditDxf(folder.Write("strict_clean.dxf", *f));
    ASSERT_TRUE(base.Clean()) << base.Describe();
  }
  const std::string layer = ValueAfter(f2007, "  0\r\nLAYER\r\n", "  5");
  const std::string header = "HEADER\r\n";
  const std::string fingerprint = ValueAfter(f2007, "$FINGERPRINTGUID", "  2");
  const std::string version = ValueAfter(f2007, "$VERSIONGUID", "  2");
  const std::string vertex = ValueAfter(r12, "  0\r\nVERTEX\r\n", "  5");
  const Case cases[] = {
      {"$CMATERIAL naming a layer",
       Edit(f2007, header, header, header + "  9\r\n$CMATERIAL\r\n347\r\n" + layer + "\r\n"),
       "not a MATERIAL"},
      {"$INTERFEREOBJVS naming nothing",
       Edit(f2007, header, header, header + "  9\r\n$INTERFEREOBJVS\r\n345\r\nFFFFF\r\n"),
       "no object"},
      {"VPORT 348 naming a layer",
       Edit(f2007, "*Active\r\n", "*Active\r\n", "*Active\r\n348\r\n" + layer + "\r\n"),
       "not a VISUALSTYLE"},
      {"R12 vertex without handle",
       Edit(r12, "  0\r\nVERTEX\r\n", "  5\r\n" + vertex + "\r\n", ""), "$HANDLING is 1"},
      {"block named *Model_Space", RenameLine(f2000, "B1", "*Model_Space"), "defined twice"},
      {"block named *Paper_Space5", RenameLine(f2000, "B1", "*Paper_Space5"), "no layout"},
      {"whole ellipse ending above 2 pi",
       Edit(f2000, "  0\r\nELLIPSE", " 42\r\n1.5707963267949", " 42\r\n6.28318530717959"),
       "beyond a whole turn"},
      {"two equal GUIDs", Edit(f2007, "$VERSIONGUID", version, fingerprint), "same GUID"},
      {"a GUID that is not one", Edit(f2000, "$FINGERPRINTGUID", "{", "{X"), "not a GUID"},
  };
  ExpectFindings(folder, cases);
}

}  // namespace
}  // namespace parvex
