#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "converter/expand/text_expansion.h"
#include "common/platform/codepage.h"

namespace parvex {
namespace {

using platform::ToUtf8;

TextExpansionInputs BothOn() {
  TextExpansionInputs in;
  in.ExpandMacros = true;
  in.ExpandControlCodes = true;
  in.LayerGroupScales[2] = 50;
  in.Memo1 = u"ab";
  in.UserVariables = {{u"%%v", u"ab\uFF65\uFF65\uFF65"}, {u"%%c", u"N/mm^u2"}};
  in.PenColours = {11, 12, 13, 14, 15, 16, 17, 18, 19};
  return in;
}

// Width 3, height 4, spacing 1, at (10, 20), angle 0, colour 5, group 2;
// the stored end lies elsewhere so that a kept end is recognisable.
TextToExpand Text(std::u16string_view s) {
  TextToExpand t;
  t.Text = std::u16string(s);
  t.X = 10;
  t.Y = 20;
  t.EndX = 99;
  t.EndY = 98;
  t.Width = 3;
  t.Height = 4;
  t.Spacing = 1;
  t.Colour = 5;
  t.LayerGroup = 2;
  return t;
}

TEST(ExpandText, MacroValueGetsABaselineOfItsOwnLength) {
  struct Case {
    std::u16string_view text;
    bool vertical;
    double angle;
    std::u16string_view shown;
    double length;
  } cases[] = {
      // Four half-width characters: 4 x 1.5 + 3 x 0.5.
      {u"%SS", false, 0, u"1/50", 7.5},
      // Vertical: every character full, 2 x 3 + 1.
      {u"%m1", true, 90, u"ab", 7},
      // Stretch dots after the first character keep their room but are cut.
      {u"%%v", false, 0, u"ab", 5 * 1.5 + 4 * 0.5},
      // A macro's value is not laid out again for control codes.
      {u"%%c", false, 0, u"N/mm^u2", 7 * 1.5 + 6 * 0.5},
      // Dots from the start are the value itself.
      {u"%j2", false, 0, u"\uFF65\uFF65", 2 * 1.5 + 0.5},
  };
  for (const auto& c : cases) {
    TextToExpand t = Text(c.text);
    t.Vertical = c.vertical;
    t.AngleDeg = c.angle;
    const ExpandedText out = ExpandText(t, BothOn());
    ASSERT_EQ(out.Kind, TextExpansionKind::Macro) << ToUtf8(c.text);
    ASSERT_EQ(out.Pieces.size(), 1u);
    EXPECT_TRUE(out.Lines.empty());
    const TextPiece& p = out.Pieces[0];
    EXPECT_EQ(ToUtf8(p.Text), ToUtf8(c.shown));
    const double a = c.angle * M_PI / 180;
    EXPECT_NEAR(p.X2, 10 + c.length * std::cos(a), 1e-9) << ToUtf8(c.text);
    EXPECT_NEAR(p.Y2, 20 + c.length * std::sin(a), 1e-9) << ToUtf8(c.text);
    EXPECT_EQ(p.X1, 10);
    EXPECT_EQ(p.Spacing, 1);  // a value keeps the text's spacing
    EXPECT_EQ(p.Colour, 5);
    EXPECT_EQ(p.Vertical, c.vertical);
  }
}

TEST(ExpandText, LongMacroValueIsCutBeforeItIsMeasured) {
  TextExpansionInputs in = BothOn();
  in.Memo1 = std::u16string(300, u'a');
  const ExpandedText out = ExpandText(Text(u"%m1"), in);
  ASSERT_EQ(out.Pieces.size(), 1u);
  EXPECT_EQ(out.Pieces[0].Text, std::u16string(kTextColumnLimit, u'a'));
  EXPECT_NEAR(out.Pieces[0].X2, 10 + 255 * 1.5 + 254 * 0.5, 1e-9);
}

// "N/mm^u2" at width 4, no spacing: five half-width places of 2 each; the
// raised 2 is half size, half a height up, a quarter pitch after "m".
TEST(ExpandText, CodedTextIsLaidOutAtItsMeasuredLength) {
  TextToExpand t = Text(u"N/mm^u2");
  t.X = 0;
  t.Y = 0;
  t.Width = 4;
  t.Spacing = 0;
  const ExpandedText out = ExpandText(t, BothOn());
  ASSERT_EQ(out.Kind, TextExpansionKind::ControlCodes);
  ASSERT_EQ(out.Pieces.size(), 2u);
  EXPECT_EQ(out.Pieces[0], (TextPiece{u"2", 8.5, 2, 9.5, 2, 1, 2, 0, 0, 5, false, false}));
  EXPECT_EQ(out.Pieces[1], (TextPiece{u"N/mm ", 0, 0, 10, 0, 2, 4, 0, 0, 5, false, false}));
  EXPECT_TRUE(out.Lines.empty());

  // Reserve: "abc^3" at width 4, spacing 1 keeps one character width, 4.
  t.Text = u"abc^3";
  t.Spacing = 1;
  const ExpandedText reserved = ExpandText(t, BothOn());
  ASSERT_EQ(reserved.Pieces.size(), 1u);
  EXPECT_NEAR(reserved.Pieces[0].X2, 4, 1e-12);
  EXPECT_NEAR(reserved.Pieces[0].Width, 4.0 / 3, 1e-12);

  // A raised character alone is laid out in its own half-width place; the
  // run it leaves is a blank.
  t.Text = u"^u2";
  t.Spacing = 0;
  const ExpandedText alone = ExpandText(t, BothOn());
  ASSERT_EQ(alone.Kind, TextExpansionKind::ControlCodes);
  ASSERT_EQ(alone.Pieces.size(), 2u);
  EXPECT_EQ(alone.Pieces[0], (TextPiece{u"2", 0.5, 2, 1.5, 2, 1, 2, 0, 0, 5, false, false}));
  EXPECT_EQ(alone.Pieces[1].Text, u" ");
}

TEST(ExpandText, SwitchesAndTextsThatStayAsWritten) {
  TextExpansionInputs macrosOnly = BothOn();
  macrosOnly.ExpandControlCodes = false;
  TextExpansionInputs codesOnly = BothOn();
  codesOnly.ExpandMacros = false;
  struct Case {
    std::u16string_view text;
    const TextExpansionInputs* in;
    TextExpansionKind kind;
  } cases[] = {
      {u"%SS", &codesOnly, TextExpansionKind::None},
      {u"a^_b", &macrosOnly, TextExpansionKind::None},
      {u"%%a^_b", &codesOnly, TextExpansionKind::ControlCodes},
      {u"plain", &macrosOnly, TextExpansionKind::None},
      {u"^_^#", &codesOnly, TextExpansionKind::None},  // nothing to lay out: kept
      {u"^$3", &codesOnly, TextExpansionKind::None},
      {u"^u2", &codesOnly, TextExpansionKind::ControlCodes},
  };
  for (const auto& c : cases) {
    const ExpandedText out = ExpandText(Text(c.text), *c.in);
    EXPECT_EQ(out.Kind, c.kind) << ToUtf8(c.text);
    if (c.kind != TextExpansionKind::None) continue;
    ASSERT_EQ(out.Pieces.size(), 1u);
    EXPECT_EQ(out.Pieces[0], (TextPiece{std::u16string(c.text), 10, 20, 99, 98, 3, 4, 1, 0, 5, false, false}));
  }
}

TEST(ExpandText, SizesAreClampedAndLongTextsCut) {
  TextToExpand t = Text(std::u16string(300, u'\u3042'));
  t.Width = 0;
  t.Height = -1e20;
  const ExpandedText out = ExpandText(t, BothOn());
  ASSERT_EQ(out.Pieces.size(), 1u);
  EXPECT_EQ(out.Pieces[0].Text.size(), 127u);  // 254 columns; a 128th would make 256
  EXPECT_EQ(out.Pieces[0].Width, 1e-10);
  EXPECT_EQ(out.Pieces[0].Height, 1e10);
}

TEST(ExpandText, MemoSplitsAtItsFirstBreak) {
  struct Case {
    std::u16string_view memo, first, rest;
  } cases[] = {
      {u"a\r\nb\r\nc", u"a", u"b\r\nc"},
      {u"a\nb\rc", u"a\nb", u"c"},  // CR before LF alone
      {u"a\nb", u"a", u"b"},
      {u"ab", u"ab", u""},
      {u"", u"", u""},
      {u"\r\n", u"", u""},
  };
  for (const auto& c : cases) {
    const MemoLines m = SplitMemo(c.memo);
    EXPECT_EQ(m.First, c.first) << ToUtf8(c.memo);
    EXPECT_EQ(m.Rest, c.rest) << ToUtf8(c.memo);
  }
}

}  // namespace
}  // namespace parvex
