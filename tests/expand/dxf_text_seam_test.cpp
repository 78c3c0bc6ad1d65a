// The DXF model's text seam: what a text added to the model becomes, at the
// top level and in a block definition, with the attributes each piece and
// line takes.
#include <gtest/gtest.h>

#include <string>

#include "common/platform/codepage.h"
#include "converter/dxf/dxf_model.h"
#include "converter/dxf/dxf_text_expansion.h"

namespace parvex {
namespace {

using platform::ToUtf8;

// Layers 0..51 (the four fixed ones and groups 0 to 2) of colour 7; pens 1
// to 9 are ACI 11 to 19; group 2 is drawn at 1:50.
class TextSeam : public ::testing::Test {
 protected:
  void SetUp() override {
    m.SetDXFVer(DxfVersion::R2000, OutputSpace::Model);
    for (int i = 0; i < 4 + 3 * 16; ++i)
      m.AddLayer(platform::FromUtf8("L" + std::to_string(i)), 7, 1, 0, true, true);
    inputs.ExpandMacros = true;
    inputs.ExpandControlCodes = true;
    inputs.PenColours = {11, 12, 13, 14, 15, 16, 17, 18, 19};
    inputs.LayerGroupScales[2] = 50;
    m.SetMojiExpInfo(inputs);
  }
  TDXFmodel m;
  TextExpansionInputs inputs;
};

// Layer 39 is group 2, layer 3.
constexpr int kLayer = 4 + 2 * 16 + 3;

TDXF_Moji Coded(TDXFmodel& m, std::u16string text) {
  return {.attr = {.space = 1, .layer = kLayer, .colour = 3}, .style = 5, .bas = 2,
          .font = m.FontIndex(u"F"), .x1 = 10, .y1 = 20, .x2 = 99, .y2 = 0, .w = 4, .h = 4,
          .d = 0, .a = 0, .st = std::move(text)};
}

// "AB^_C^$2D": the underline is cut where the pen colour changes; each part
// and each piece keeps the colour it was drawn with. Lines take the text's
// space and layer, line type and lineweight by layer.
TEST_F(TextSeam, PiecesAndLinesInEveryContainer) {
  const int block = m.AddBlockDef(u"B", 1);
  for (const int bn : {kTopLevel, block}) {
    SCOPED_TRACE(bn);
    ASSERT_TRUE(m.AddMoji(bn, Coded(m, u"AB^_C^$2D")));
    const DxfEntities& c = *m.Container(bn);
    ASSERT_EQ(c.Order().size(), 4u);
    EXPECT_EQ(c.Order()[0].kind, DxfEntityKind::Line);
    EXPECT_EQ(c.Order()[1].kind, DxfEntityKind::Line);
    EXPECT_EQ(c.Order()[2].kind, DxfEntityKind::Text);
    EXPECT_EQ(c.Order()[3].kind, DxfEntityKind::Text);
    const auto& lines = c.Records<TDXF_Line>();
    ASSERT_EQ(lines.size(), 2u);
    const struct {
      int colour;
      double x1, x2;
    } expectedLines[] = {{3, 14, 16}, {12, 16, 18}};
    for (size_t i = 0; i < 2; ++i) {
      const TDXF_Line& l = lines[i];
      EXPECT_EQ(l.attr.space, 1);
      EXPECT_EQ(l.attr.layer, kLayer);
      EXPECT_EQ(l.attr.colour, expectedLines[i].colour);
      EXPECT_EQ(l.attr.ltype, 0);
      EXPECT_EQ(l.attr.lineweight, 0);
      EXPECT_NEAR(l.x1, expectedLines[i].x1, 1e-12);
      EXPECT_NEAR(l.x2, expectedLines[i].x2, 1e-12);
      EXPECT_NEAR(l.y1, 19.6, 1e-12);
      EXPECT_NEAR(l.y2, 19.6, 1e-12);
    }
    const auto& texts = c.Records<TDXF_Moji>();
    ASSERT_EQ(texts.size(), 2u);
    const struct {
      std::u16string text;
      int colour;
      double x1, x2;
    } expectedTexts[] = {{u"ABC", 3, 10, 15.8}, {u"D", 12, 16.2, 18}};
    for (size_t i = 0; i < 2; ++i) {
      const TDXF_Moji& t = texts[i];
      EXPECT_EQ(ToUtf8(t.st), ToUtf8(expectedTexts[i].text));
      EXPECT_EQ(t.attr.colour, expectedTexts[i].colour);
      EXPECT_EQ(t.attr.space, 1);
      EXPECT_EQ(t.attr.layer, kLayer);
      EXPECT_EQ(t.style, 5);
      EXPECT_EQ(t.bas, 2);
      EXPECT_EQ(m.FontName(t.font), u"F");
      EXPECT_NEAR(t.x1, expectedTexts[i].x1, 1e-12);
      EXPECT_NEAR(t.x2, expectedTexts[i].x2, 1e-12);
      EXPECT_EQ(t.y1, 20);
      EXPECT_EQ(t.w, 2);
      EXPECT_EQ(t.h, 4);
      EXPECT_EQ(t.d, 0);
    }
  }
}

// The scale codes take the group of the text's layer; the fixed layers
// show 1:1.
TEST_F(TextSeam, LayerGroupOfATextsLayer) {
  const struct {
    int layer, group;
  } groups[] = {{0, -1}, {3, -1}, {4, 0}, {19, 0}, {20, 1}, {kLayer, 2}, {259, 15}, {260, -1}};
  for (const auto& g : groups) EXPECT_EQ(LayerGroupOfLayer(g.layer), g.group) << g.layer;

  const struct {
    int layer;
    std::u16string shown;
  } cases[] = {{kLayer, u"1/50"}, {2, u"1/1"}, {4, u"1/1"}};
  for (const auto& c : cases) {
    TDXF_Moji t = Coded(m, u"%SS");
    t.attr.layer = c.layer;
    const std::optional<TDXF_MojiExpansion> e = ExpandMoji(t, inputs);
    ASSERT_TRUE(e.has_value());
    ASSERT_EQ(e->texts.size(), 1u);
    EXPECT_EQ(e->texts[0].st, c.shown) << c.layer;
    EXPECT_EQ(e->texts[0].attr.layer, c.layer);
    EXPECT_TRUE(e->lines.empty());
  }
}

// Texts that stay: plain ones, and coded ones with their switch off.
TEST_F(TextSeam, TextsThatStayAsTheyAre) {
  TextExpansionInputs off = inputs;
  off.ExpandMacros = false;
  off.ExpandControlCodes = false;
  for (const char16_t* s : {u"%SS", u"AB^_C"}) EXPECT_FALSE(ExpandMoji(Coded(m, s), off)) << ToUtf8(s);
  EXPECT_FALSE(ExpandMoji(Coded(m, u"plain"), inputs));

  ASSERT_TRUE(m.AddMoji(kTopLevel, Coded(m, u"plain")));
  const TDXF_Moji& t = m.Top().Records<TDXF_Moji>().back();
  EXPECT_EQ(t.st, u"plain");
  EXPECT_EQ(t.x2, 99);  // the stored end is kept
  EXPECT_EQ(t.w, 4);
}

}  // namespace
}  // namespace parvex
