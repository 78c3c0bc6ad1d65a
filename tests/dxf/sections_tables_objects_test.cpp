// CLASSES, TABLES and OBJECTS: what each version holds, and the links
// between tables, block records, layouts and image definitions.
#include <map>
#include <string>

#include <gtest/gtest.h>

#include "converter/dxf/dxf_model.h"
#include "model_records.h"

namespace parvex {
namespace {

using testing::DxfRecord;
using testing::OfType;
using testing::WriteRecords;

std::vector<std::string> Types(const std::vector<DxfRecord>& recs, const std::string& section) {
  std::vector<std::string> out;
  for (const DxfRecord& r : recs) {
    if (r.section == section && r.type != "SECTION" && r.type != "ENDSEC") out.push_back(r.type);
  }
  return out;
}

TEST(DxfTables, EmptyModelStillWritesEveryTable) {
  for (int ver : {0, 1, 2}) {
    TDXFmodel m;
    m.SetDXFVer(static_cast<DxfVersion>(ver), OutputSpace::Model);
    const auto recs = WriteRecords(m);
    std::vector<std::string> tables;
    for (const DxfRecord& r : OfType(recs, "TABLE")) tables.push_back(r.Str(2));
    std::vector<std::string> want = {"VPORT", "LTYPE", "LAYER", "STYLE", "VIEW",
                                     "UCS",   "APPID", "DIMSTYLE"};
    if (ver != 0) want.push_back("BLOCK_RECORD");
    EXPECT_EQ(tables, want) << ver;
    const auto ltypes = OfType(recs, "LTYPE", "TABLES");
    EXPECT_EQ(ltypes.size(), ver == 0 ? 0u : 2u) << ver;  // ByBlock, ByLayer
    EXPECT_EQ(OfType(recs, "TABLE")[1].Str(70), "     0");
  }
}

TEST(DxfTables, LayerAndStyleRecords) {
  for (int ver : {0, 1}) {
    TDXFmodel m;
    m.SetDXFVer(static_cast<DxfVersion>(ver), OutputSpace::Model);
    m.AddLtype(u"Continuous", u"", 0, {});
    m.AddLayer(u"Hidden", 3, 1, 0, false, false);
    m.AddLayer(u"Thin", 3, 1, 18, true, true);
    m.AddStyle({.nam = u"Standard", .fo1 = u"txt", .mhl = 2.5});
    m.AddStyle({.nam = u"Second", .fo1 = u"ＭＳ ゴシック.TTF", .mhl = 2.5, .fla = true});
    m.AddStyle({.nam = u"Third", .fo1 = u"txt.shx", .mhl = 2.5});
    const auto recs = WriteRecords(m);
    const auto layers = OfType(recs, "LAYER", "TABLES");
    ASSERT_EQ(layers.size(), 2u);
    EXPECT_EQ(layers[0].Str(2), "Hidden");  // not upper-cased, even in R12
    EXPECT_EQ(layers[0].Str(62), "    -3");
    EXPECT_EQ(layers[0].Str(290), "     0");
    EXPECT_EQ(layers[0].Str(370), "    -3");
    EXPECT_EQ(layers[0].Str(390), "1");
    EXPECT_EQ(layers[0].Str(6), ver == 0 ? "CONTINUOUS" : "Continuous");
    EXPECT_FALSE(layers[1].Has(290));
    EXPECT_EQ(layers[1].Str(370), "    18");

    const auto styles = OfType(recs, "STYLE", "TABLES");
    ASSERT_EQ(styles.size(), 3u);
    EXPECT_EQ(styles[0].Str(2), ver == 0 ? "STANDARD" : "Standard");
    EXPECT_FALSE(styles[0].Has(1001));
    EXPECT_EQ(styles[1].Str(70), "     4");
    EXPECT_EQ(styles[1].All(1001).front(), "ACAD");
    EXPECT_EQ(testing::Utf8FromFile(styles[1].Str(1000), ver), "ＭＳ ゴシック");
    EXPECT_EQ(styles[1].Str(1071), "    32817");
    // The annotative data goes with the second style, 2000 and 2007 only.
    EXPECT_EQ(styles[1].All(1001).size(), ver == 0 ? 1u : 2u);
    EXPECT_FALSE(styles[2].Has(1001));
  }
}

TEST(DxfTables, DimensionStylesUseTheStandardTextStyle) {
  TDXFmodel m;
  m.SetDXFVer(DxfVersion::R2000, OutputSpace::Model);
  m.AddStyle({.nam = u"Standard", .fo1 = u"txt", .mhl = 2.5});
  const auto recs = WriteRecords(m);
  const auto styles = OfType(recs, "STYLE", "TABLES");
  const auto dims = OfType(recs, "DIMSTYLE", "TABLES");
  ASSERT_EQ(dims.size(), 2u);
  for (const DxfRecord& d : dims) EXPECT_EQ(d.Str(340), styles[0].Str(5));
  // The table lists its two records.
  const DxfRecord table = OfType(recs, "TABLE")[7];
  EXPECT_EQ(table.All(340), (std::vector<std::string>{dims[0].Str(105), dims[1].Str(105)}));

  TDXFmodel r12;
  r12.SetDXFVer(DxfVersion::R12, OutputSpace::Model);
  const auto r12dims = OfType(WriteRecords(r12), "DIMSTYLE", "TABLES");
  EXPECT_EQ(r12dims[1].Str(2), "ANNOTATIVE");
  EXPECT_FALSE(r12dims[0].Has(105) || r12dims[0].Has(340));
}

TEST(DxfTables, BlockRecordsOfLayoutsAndDefinitions) {
  TDXFmodel m;
  m.SetDXFVer(DxfVersion::R2007, OutputSpace::Model);
  m.Ltn = 4;
  m.AddBlockDef(u"部品", 1);
  const auto recs = WriteRecords(m);
  std::vector<std::string> got;
  for (const DxfRecord& r : OfType(recs, "BLOCK_RECORD", "TABLES")) {
    got.push_back(r.Str(2) + ">" + r.Str(340));
  }
  EXPECT_EQ(got, (std::vector<std::string>{"*Model_Space>2", "*Paper_Space>3", "*Paper_Space0>4",
                                           "*Paper_Space1>5", "*Paper_Space2>6", "部品>0"}));
  EXPECT_EQ(OfType(recs, "TABLE").back().Str(70), "     2");
}

TEST(DxfClasses, PerVersionAndImages) {
  struct Case {
    int ver;
    bool image;
    std::size_t count;
    bool placeholder;
  };
  for (const Case& c : {Case{0, true, 0, false}, Case{1, false, 10, true},
                        Case{1, true, 14, true}, Case{2, false, 8, false},
                        Case{2, true, 12, false}}) {
    TDXFmodel m;
    m.SetDXFVer(static_cast<DxfVersion>(c.ver), OutputSpace::Model);
    if (c.image) m.AddFList(u"/x/a.png", u"/out/", 1, 1, 1, 1);
    const auto classes = OfType(WriteRecords(m), "CLASS");
    ASSERT_EQ(classes.size(), c.count) << c.ver;
    bool placeholder = false;
    for (const DxfRecord& r : classes) {
      placeholder |= r.Str(1) == "ACDBPLACEHOLDER";
      EXPECT_EQ(r.Has(91), c.ver == 2);
    }
    EXPECT_EQ(placeholder, c.placeholder);
    if (c.image && c.ver != 0) {
      EXPECT_EQ(classes.back().Str(1), "IMAGEDEF_REACTOR");
    }
  }
}

TEST(DxfObjects, WithoutImages) {
  TDXFmodel m;
  m.SetDXFVer(DxfVersion::R2000, OutputSpace::Model);
  const auto recs = WriteRecords(m);
  EXPECT_EQ(Types(recs, "OBJECTS"),
            (std::vector<std::string>{"DICTIONARY", "DICTIONARY", "DICTIONARY", "DICTIONARY",
                                      "ACDBDICTIONARYWDFLT", "ACDBPLACEHOLDER", "LAYOUT", "LAYOUT",
                                      "LAYOUT"}));
  TDXFmodel r12;
  r12.SetDXFVer(DxfVersion::R12, OutputSpace::Model);
  EXPECT_TRUE(Types(WriteRecords(r12), "OBJECTS").empty());
}

TEST(DxfObjects, LayoutsAndTheirPaperSizes) {
  struct Case {
    int spa;
    int ltn;
    std::vector<std::string> sizes;  // 44 x 45 of Model, layout 1, 2, ...
  };
  const Case cases[] = {
      {0, 2, {"420.0x297.0", "420.0x297.0", "420.0x297.0"}},
      {1, 2, {"420.0x297.0", "420.0x297.0", "0.0x0.0"}},
      {2, 3, {"420.0x297.0", "420.0x297.0", "297.0x210.0", "210.0x148.5"}},
      {2, 4, {"420.0x297.0", "420.0x297.0", "297.0x210.0", "210.0x148.5", "0.0x0.0"}},
  };
  for (const Case& c : cases) {
    TDXFmodel m;
    m.SetDXFVer(DxfVersion::R2000, static_cast<OutputSpace>(c.spa));
    m.SetPap(0, 0, 10, 10, 420, 297);
    m.Ltn = c.ltn;
    if (c.spa == 2) {
      m.layoutFrames = {{1, -210, -148.5, 210, 148.5}, {2, 0, 0, 297, 210}, {3, 0, 0, 210, 148.5}};
    }
    const auto recs = WriteRecords(m);
    std::vector<std::string> sizes;
    for (const DxfRecord& r : OfType(recs, "LAYOUT")) sizes.push_back(r.Str(44) + "x" + r.Str(45));
    EXPECT_EQ(sizes, c.sizes) << c.spa << " " << c.ltn;
    // The layout dictionary maps each name to its layout, and each layout
    // points at its block record.
    const auto dicts = OfType(recs, "DICTIONARY", "OBJECTS");
    const DxfRecord& layoutDict = dicts[3];
    std::vector<std::string> entries;
    for (const std::string& k : layoutDict.All(3)) entries.push_back(testing::Utf8FromFile(k, 1));
    EXPECT_EQ(entries.size(), static_cast<std::size_t>(c.ltn) + 1);
    EXPECT_EQ(entries.back(), "レイアウト" + std::to_string(c.ltn));
    EXPECT_EQ(layoutDict.All(350).back(), std::to_string(c.ltn + 2));
    std::map<std::string, std::string> recordOf;
    for (const DxfRecord& r : OfType(recs, "BLOCK_RECORD", "TABLES")) recordOf[r.Str(5)] = r.Str(340);
    for (const DxfRecord& l : OfType(recs, "LAYOUT")) {
      EXPECT_EQ(recordOf[l.All(330).back()], l.Str(5));
    }
  }
}

TEST(DxfObjects, ImageDefinitionsAndReactors) {
  TDXFmodel m;
  m.SetDXFVer(DxfVersion::R2007, OutputSpace::Model);
  m.AddFList(u"/x/Plan.PNG", u"/out/", 200, 100, 20, 10);
  m.AddFList(u"/x/other.jpg", u"/out/", 10, 10, 1, 1);
  m.AddImage(kTopLevel, {.ix = 200, .iy = 100, .sx = 20, .sy = 10, .fna = u"/x/Plan.PNG"});
  const int b = m.AddBlockDef(u"B", 1);
  // The same file named in another letter case still refers to it.
  m.AddImage(b, {.ix = 200, .iy = 100, .sx = 20, .sy = 10, .fna = u"/x/plan.png"});
  m.AddImage(kTopLevel, {.attr = {.space = 5}, .ix = 200, .iy = 100, .sx = 20, .sy = 10,
                         .fna = u"/x/Plan.PNG"});  // no layout 5: not written
  const auto recs = WriteRecords(m);
  const auto images = OfType(recs, "IMAGE");
  ASSERT_EQ(images.size(), 2u);
  const auto defs = OfType(recs, "IMAGEDEF");
  ASSERT_EQ(defs.size(), 2u);
  EXPECT_EQ(defs[0].Str(1), "Plan.png");
  EXPECT_EQ(images[0].Str(340), defs[0].Str(5));
  EXPECT_EQ(images[1].Str(340), defs[0].Str(5));
  // Reactor list of the first definition: its dictionary, then the reactors
  // of both images (block first); the second has none.
  const auto reactors = OfType(recs, "IMAGEDEF_REACTOR");
  ASSERT_EQ(reactors.size(), 2u);
  const std::vector<std::string> owners = defs[0].All(330);
  ASSERT_EQ(owners.size(), 4u);
  EXPECT_EQ(owners[1], reactors[0].Str(5));
  EXPECT_EQ(owners[2], reactors[1].Str(5));
  EXPECT_EQ(defs[1].All(330).size(), 2u);
  for (std::size_t i = 0; i < 2; ++i) {
    EXPECT_EQ(images[i].Str(360), reactors[i].Str(5));
    EXPECT_EQ(reactors[i].Str(330), images[i].Str(5));
  }
  const DxfRecord imageDict = OfType(recs, "DICTIONARY")[4];
  EXPECT_EQ(imageDict.All(3), (std::vector<std::string>{"Plan.png", "other.jpg"}));
}

// Each write numbers the model afresh: an image whose layout is gone by
// the second write leaves neither an IMAGE nor a reactor behind.
TEST(DxfObjects, EachWriteNumbersAfresh) {
  TDXFmodel m;
  m.SetDXFVer(DxfVersion::R2000, OutputSpace::Model);
  m.AddFList(u"/x/a.png", u"/out/", 10, 10, 1, 1);
  m.AddImage(kTopLevel,
             {.attr = {.space = 3}, .ix = 10, .iy = 10, .sx = 1, .sy = 1, .fna = u"/x/a.png"});
  m.Ltn = 3;
  const auto first = WriteRecords(m);
  ASSERT_EQ(OfType(first, "IMAGE").size(), 1u);
  EXPECT_EQ(OfType(first, "IMAGE")[0].block, "*Paper_Space1");
  EXPECT_EQ(OfType(first, "IMAGEDEF_REACTOR").size(), 1u);
  m.Ltn = 2;
  const auto second = WriteRecords(m);
  EXPECT_TRUE(OfType(second, "IMAGE").empty());
  EXPECT_TRUE(OfType(second, "IMAGEDEF_REACTOR").empty());
  EXPECT_EQ(OfType(second, "IMAGEDEF")[0].All(330).size(), 2u);
}

}  // namespace
}  // namespace parvex
