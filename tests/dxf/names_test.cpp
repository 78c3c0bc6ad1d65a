#include <string>

#include <gtest/gtest.h>

#include "converter/dxf/dxf_model.h"
#include "converter/dxf/dxf_names.h"

namespace parvex {
namespace {

TEST(DxfNames, CleanPerVersion) {
  struct Case {
    const char16_t* name;
    int ver;
    DxfNameKind kind;
    const char16_t* clean;
  };
  const Case cases[] = {
      // Valid names stay as they are.
      {u"SXF_破線", 1, DxfNameKind::Ltype, u"SXF_破線"},
      {u"Continuous", 0, DxfNameKind::Ltype, u"Continuous"},
      {u"DEFPOINTS", 2, DxfNameKind::Layer, u"DEFPOINTS"},
      {u"*D12", 0, DxfNameKind::AnonymousBlock, u"*D12"},
      {u"*D12", 1, DxfNameKind::AnonymousBlock, u"*D12"},
      // A drawing's block named like a layout or an anonymous block, in any
      // letter case: its '*' becomes '_'.
      {u"*Model_Space", 1, DxfNameKind::Block, u"_Model_Space"},
      {u"*paper_space", 2, DxfNameKind::Block, u"_paper_space"},
      {u"*Paper_Space0", 0, DxfNameKind::Block, u"_Paper_Space0"},
      {u"*u1", 0, DxfNameKind::Block, u"_u1"},
      {u"*D12", 1, DxfNameKind::Block, u"_D12"},
      {u" *X3", 2, DxfNameKind::Block, u"_X3"},
      // Characters DXF forbids, in every version; a '*' is kept only as the
      // first character of a block name.
      {u"a<b>c/d\\e\"f:g;h?i*j|k=l`m", 1, DxfNameKind::Block, u"abcdefghijklm"},
      {u"a<b>c/d\\e\"f:g;h?i*j|k=l`m", 2, DxfNameKind::Layer, u"abcdefghijklm"},
      {u"*a*b", 2, DxfNameKind::Layer, u"ab"},
      {u"**x", 1, DxfNameKind::Block, u"_x"},
      {u"**x", 1, DxfNameKind::AnonymousBlock, u"*x"},
      // Blanks and control characters.
      {u"  窓 W1\t ", 1, DxfNameKind::Block, u"窓 W1"},
      {u"\u3000a b\u3000", 2, DxfNameKind::Style, u"a b"},
      {u" a b ", 0, DxfNameKind::Block, u"ab"},
      // R12 keeps $ - _ digits and Latin letters only.
      {u"平面図-1", 0, DxfNameKind::Block, u"-1"},
      {u"ＡＢ＿1.x", 0, DxfNameKind::Block, u"ＡＢ＿1x"},
      // Code page 932 cannot hold é (R12 drops it anyway); 2007 is UTF-8.
      {u"caf\u00E9", 1, DxfNameKind::Layer, u"caf_"},
      {u"caf\u00E9", 2, DxfNameKind::Layer, u"caf\u00E9"},
      {u"a\U0001F600", 1, DxfNameKind::Layer, u"a__"},
      {u"a\U0001F600", 2, DxfNameKind::Layer, u"a\U0001F600"},
      // Nothing left: the fallback.
      {u"平面図", 0, DxfNameKind::Block, u"FALLBACK"},
      {u" ?* ", 2, DxfNameKind::Layer, u"FALLBACK"},
      {u"*", 1, DxfNameKind::Block, u"FALLBACK"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CleanDxfName(c.name, static_cast<DxfVersion>(c.ver), c.kind, u"FALLBACK"), c.clean)
        << "ver " << c.ver << " index " << (&c - cases);
  }
  // Widths: 31 for R12, 255 otherwise.
  EXPECT_EQ(CleanDxfName(std::u16string(40, u'A'), DxfVersion::R12, DxfNameKind::Block, u""),
            std::u16string(31, u'A'));
  EXPECT_EQ(CleanDxfName(std::u16string(200, u'全'), DxfVersion::R2000, DxfNameKind::Block, u""),
            std::u16string(127, u'全'));
}

TEST(DxfNames, BlockDefinitionNamesAreValidAndUnique) {
  struct Case {
    int ver;
    std::vector<std::u16string> names;
    std::vector<std::u16string> stored;
  };
  const std::u16string forty(40, u'A');
  const Case cases[] = {
      {1, {u"A", u"a"}, {u"A", u"a_1"}},
      {1, {u"NONAME", u" "}, {u"NONAME", u"NONAME_1"}},
      {1, {u"a/b", u"ab"}, {u"ab", u"ab_1"}},
      // R12 cuts to 31 and keeps the suffix within 31.
      {0, {forty, forty}, {std::u16string(31, u'A'), std::u16string(29, u'A') + u"_1"}},
      // Two names that differ only in characters code page 932 cannot
      // hold would be the same name in the file.
      {1, {u"x\u00E9", u"x\u00E8"}, {u"x_", u"x__1"}},
      {2, {u"x\u00E9", u"x\u00E8"}, {u"x\u00E9", u"x\u00E8"}},
      // Upper case as written: R12 writes capitals, full-width too.
      {0, {u"ｂ", u"Ｂ"}, {u"ｂ", u"Ｂ_1"}},
      // A drawing's "*Model_Space" is an ordinary name, unique like others.
      {1, {u"_Model_Space", u"*Model_Space", u"*MODEL_SPACE"},
       {u"_Model_Space", u"_Model_Space_1", u"_MODEL_SPACE_2"}},
  };
  for (const Case& c : cases) {
    TDXFmodel m;
    m.SetDXFVer(static_cast<DxfVersion>(c.ver), OutputSpace::Model);
    for (std::size_t i = 0; i < c.names.size(); ++i) {
      ASSERT_EQ(m.AddBlockDef(c.names[i], 0), static_cast<int>(i));
      EXPECT_EQ(m.deBlockDef[i].nam, c.stored[i]) << "ver " << c.ver << " name " << i;
    }
  }
}

TEST(DxfNames, AnonymousBlocksOfTheModelKeepTheirStar) {
  TDXFmodel m;
  m.SetDXFVer(DxfVersion::R2000, OutputSpace::Model);
  ASSERT_EQ(m.AddAnonymousBlockDef(u"*D1", 0), 0);
  ASSERT_EQ(m.AddAnonymousBlockDef(u"*d1", 0), 1);
  ASSERT_EQ(m.AddBlockDef(u"*D1", 7), 2);
  EXPECT_EQ(m.deBlockDef[0].nam, u"*D1");
  EXPECT_EQ(m.deBlockDef[1].nam, u"*d1_1");
  EXPECT_EQ(m.deBlockDef[2].nam, u"_D1");
  // Found by the name it was given.
  EXPECT_EQ(m.GetBlockIdx(u"*D1"), 0);
  EXPECT_EQ(m.GetBlockIdx(u"_D1"), 2);
}

TEST(DxfNames, TablesMakeNamesUnique) {
  TDXFmodel m;
  m.SetDXFVer(DxfVersion::R2000, OutputSpace::Model);
  m.AddLtype(u"Continuous", u"", 0, {});
  m.AddLtype(u"continuous", u"", 0, {});
  m.AddLayer(u"A", 7, 1, 0, true, true);
  m.AddLayer(u"A", 7, 1, 0, true, true);
  m.AddLayer(u"a", 7, 1, 0, true, true);
  m.AddStyle({.nam = u"Standard", .fo1 = u"txt", .mw = -2, .mhl = 2.5});
  m.AddStyle({.nam = u"STANDARD", .fo1 = u"txt", .mh = 1e11, .mhl = 2.5});
  EXPECT_EQ(m.ltps[1].nam, u"continuous_1");
  EXPECT_EQ(m.lays[1].nam, u"A_1");
  EXPECT_EQ(m.lays[2].nam, u"a_2");
  EXPECT_EQ(m.msts[1].nam, u"STANDARD_1");
  // No fixed height stays none; width factors keep their clamp.
  EXPECT_EQ(m.msts[0].mh, 0);
  EXPECT_DOUBLE_EQ(m.msts[0].mw, 2);
  EXPECT_DOUBLE_EQ(m.msts[1].mh, 1e10);
  m.AddStyle({.nam = u"S2", .fo1 = u"txt", .mh = -1e-12, .mw = 0, .mhl = 2.5});
  m.AddStyle({.nam = u"S3", .fo1 = u"txt", .mh = -3, .mw = 1, .mhl = 2.5});
  EXPECT_EQ(m.msts[2].mh, 0);
  EXPECT_DOUBLE_EQ(m.msts[2].mw, 1e-10);
  EXPECT_DOUBLE_EQ(m.msts[3].mh, 3);
  EXPECT_EQ(m.FindLayer(u"a_1"), 1);
  EXPECT_EQ(m.FindLtype(u"CONTINUOUS"), 0);
  EXPECT_EQ(m.FindStyle(u"none"), -1);

  TDXFmodel r12;
  r12.SetDXFVer(DxfVersion::R12, OutputSpace::Model);
  const std::u16string name31(31, u'L');
  r12.AddLayer(name31, 7, 1, 0, true, true);
  r12.AddLayer(name31, 7, 1, 0, true, true);
  EXPECT_EQ(r12.lays[1].nam, std::u16string(29, u'L') + u"_1");
}

TEST(DxfNames, LayerNameHelpers) {
  TDXFmodel m;
  m.SetDXFVer(DxfVersion::R12, OutputSpace::Model);
  EXPECT_EQ(m.AdjustLayerName(15, 10, u"平面図-1"), u"-1");
  EXPECT_EQ(m.AdjustLayerName(15, 10, u"平面図"), u"F-A");
  m.SetDXFVer(DxfVersion::R2000, OutputSpace::Model);
  EXPECT_EQ(m.AdjustLayerName(0, 0, u"a$b-c_d＄e－f＿g!h”i"), u"a$b-c_de－f＿ghi");
  m.SetLayerNameType(LayerNameType::GroupAndLayer);
  EXPECT_EQ(m.DefautLayerName(26, u"Ａ 1", u""), u"Ａ1-A");
  EXPECT_EQ(m.DefautLayerName(26, u"G", u" L "), u"G-L");
  EXPECT_EQ(m.DefautLayerName(26, u"", u"L"), u"L");
  m.SetLayerNameType(LayerNameType::Number);
  EXPECT_EQ(m.DefautLayerName(255, u"G", u"L"), u"256");
}

}  // namespace
}  // namespace parvex
