#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "converter/expand/control_codes.h"
#include "common/platform/codepage.h"

namespace parvex {
namespace {

using platform::ToUtf8;

constexpr std::array<int, 9> kPens = {11, 12, 13, 14, 15, 16, 17, 18, 19};

TEST(ControlCodes, Recognition) {
  struct Case {
    std::u16string_view text;
    bool coded;
  } cases[] = {
      {u"^u", false},  // two characters are never treated
      {u"ab", false},
      {u"abc", false},
      {u"ab\u30FB", true},  // stretch dots need no "^"
      {u"ab\uFF65", true},
      {u"a\u30FB", false},
      {u"a^3b", true},  // reserve digits count anywhere
      {u"a^$1", true},
      {u"a^$0", false},
      {u"a^$x", false},
      {u"a^$", false},
      {u"a^xb", false},
      {u"a^m b", false},  // a line break mark, not one of these codes
      {u"a^^", true},
      {u"N/mm^u2", true},
      {u"x^B", true},
      {u"x^w", true},
      {u"ab^", false},
  };
  for (const auto& c : cases) EXPECT_EQ(CheckMojiExp2(c.text), c.coded) << ToUtf8(c.text);
}

TEST(ControlCodes, CharactersInPositionsAndLineLength) {
  // Width 4, spacing 1: a half-width character takes 2 plus 0.5 spacing.
  struct Case {
    std::u16string_view text;
    bool vertical;
    std::u16string_view shown;
    double length;
    int positions;
  } cases[] = {
      {u"ABC^_DE^#F", false, u"ABCDEF", 6 * 2 + 5 * 0.5, 6},
      {u"^oX", false, u"^oX", 3 * 2 + 2 * 0.5, 3},  // overlays need a character before them
      {u"^_^oX", false, u"^oX", 3 * 2 + 2 * 0.5, 3},
      {u"^*^_^^", false, u"^_", 2 + 0.5 + 2, 2},  // literal mode
      {u"^*^u2", false, u"^u2", 3 * 2 + 2 * 0.5, 3},  // literal up to the end
      {u"a^3b", false, u"a^3b", 4 * 2 + 3 * 0.5, 4},  // "^3" inside the text is shown
      // A trailing "^k" shortens the line by k half-width places, never
      // below one character width.
      {u"abc^3", false, u"abc", 4, 3},
      {u"abcdefgh^3", false, u"abcdefgh", 8 * 2 + 7 * 0.5 - (3 * 2 + 2 * 0.5 + 0.5), 8},
      {u"あいう^1", false, u"あいう", 3 * 4 + 2 * 1 - (2 + 1), 3},
      // Stretch: the dots are removed and their room stays.
      {u"ab\u30FB\u30FB", false, u"ab", 4.5 + (4 + 1) + (4 + 0.5), 2},
      {u"ab\uFF65", false, u"ab", 4.5 + 2 + 0.5, 2},
      {u"ああ\uFF65", false, u"ああ", 9 + 2 + 1, 2},
      {u"\u30FB\u30FB\u30FB", false, u"\u30FB", 4 + 2 * (4 + 1), 1},
      // A raised character takes a half-width place of its own.
      {u"m^u2", false, u"m", 2 + 0.5 + 2, 2},
      {u"N/mm^u2", false, u"N/mm", 4 * 2 + 4 * 0.5 + 2, 5},
      {u"m^u", false, u"m", 2, 1},  // a code without its character does nothing
      {u"m^u2", true, u"m", 4, 1},  // vertical: nothing, and no half widths
      {u"ab^_", true, u"ab", 4 + 1 + 4, 2},
      {u"ab\u30FB", true, u"ab", 9 + 4 + 1, 2},
      {u"X^wab", false, u"X", 2, 1},
      {u"X^wあb", false, u"Xb", 2 + 0.5 + 2, 2},  // only two half-width characters pair up
      {u"a^$3b^$xc", false, u"abc", 3 * 2 + 2 * 0.5, 3},
      {u"ab^u", false, u"ab", 4.5, 2},
      {u"\U0002000B^u\U0002000B", false, u"\U0002000B", 4 + 1 + 2, 2},  // a surrogate pair is one character
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ToUtf8(GetMojiExp2Str(c.text)), ToUtf8(c.shown)) << ToUtf8(c.text);
    EXPECT_DOUBLE_EQ(GetMojiExp2Len(c.vertical, c.text, 1, 4), c.length) << ToUtf8(c.text);
    EXPECT_EQ(ControlCodePositions(c.vertical, c.text), c.positions) << ToUtf8(c.text);
  }
}

void ExpectPiece(const TextPiece& a, const TextPiece& e, const std::string& where) {
  EXPECT_EQ(ToUtf8(a.Text), ToUtf8(e.Text)) << where;
  EXPECT_NEAR(a.X1, e.X1, 1e-9) << where << " " << ToUtf8(e.Text);
  EXPECT_NEAR(a.Y1, e.Y1, 1e-9) << where << " " << ToUtf8(e.Text);
  EXPECT_NEAR(a.X2, e.X2, 1e-9) << where << " " << ToUtf8(e.Text);
  EXPECT_NEAR(a.Y2, e.Y2, 1e-9) << where << " " << ToUtf8(e.Text);
  EXPECT_NEAR(a.Width, e.Width, 1e-9) << where << " " << ToUtf8(e.Text);
  EXPECT_NEAR(a.Height, e.Height, 1e-9) << where << " " << ToUtf8(e.Text);
  EXPECT_EQ(a.Colour, e.Colour) << where << " " << ToUtf8(e.Text);
  EXPECT_EQ(a.Vertical, e.Vertical) << where << " " << ToUtf8(e.Text);
  EXPECT_EQ(a.Slanted, e.Slanted) << where << " " << ToUtf8(e.Text);
}

void ExpectLine(const TextLine& a, const TextLine& e, const std::string& where) {
  EXPECT_EQ(a.Colour, e.Colour) << where;
  EXPECT_NEAR(a.X1, e.X1, 1e-9) << where;
  EXPECT_NEAR(a.Y1, e.Y1, 1e-9) << where;
  EXPECT_NEAR(a.X2, e.X2, 1e-9) << where;
  EXPECT_NEAR(a.Y2, e.Y2, 1e-9) << where;
}

// Pitch 2, height 4, angle 0, colour 7, from the origin unless a case says
// otherwise. Pieces are listed in the order they are made: code pieces as
// their code is met, runs when they are flushed.
struct LayoutCase {
  std::u16string_view text;
  std::vector<TextPiece> pieces;
  std::vector<TextLine> lines;
  bool vertical = false;
  bool slanted = false;
  double angle = 0;
};

// Plain text for places that hold no layout (a DIMENSION's own text): every
// shown character in its order, no code, no colour digit, no trailing
// reserve.
TEST(ControlCodes, PlainTextKeepsEveryShownCharacter) {
  const struct {
    std::u16string_view text, plain;
  } cases[] = {
      {u"30^d5", u"305"},
      {u"N/mm^u2", u"N/mm2"},
      {u"ABC^_DE^#F", u"ABCDEF"},
      {u"a^$3b^$xc", u"abc"},
      {u"X^oY^nZ", u"XYZ"},
      {u"abc^3", u"abc"},
      {u"^*^u2", u"^u2"},  // literal mode shows the code
      {u"m^u", u"m"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ToUtf8(ControlCodesRemoved(c.text)), ToUtf8(c.plain)) << ToUtf8(c.text);
  }
}

TextPiece P(std::u16string_view text, double x1, double y1, double x2, double y2, double w = 2,
            double h = 4, int colour = 7, bool slanted = false, bool vertical = false) {
  return {std::u16string(text), x1, y1, x2, y2, w, h, 0, 0, colour, vertical, slanted};
}

TEST(ControlCodes, LayoutIntoPiecesAndLines) {
  const LayoutCase cases[] = {
      // Underline from the pen after C to the pen after E, 0.1 height below;
      // the run is flushed at "^#" ending 0.1 pitch before the pen.
      {u"ABC^_DE^#F",
       {P(u"ABCDE", 0, 0, 9.8, 0), P(u"F", 10.2, 0, 12, 0)},
       {{7, 6, -0.4, 10, -0.4}},
       false},
      // Strike-through at half height, to the end of the text.
      {u"AB^-C", {P(u"ABC", 0, 0, 6, 0)}, {{7, 4, 2, 6, 2}}},
      // Half-size Y 0.75 pitch back from the end of X, a quarter height up.
      {u"X^oY", {P(u"Y", 0.5, 1, 1.5, 1, 1, 2), P(u"X", 0, 0, 2, 0)}, {}},
      {u"X^nY", {P(u"Y", 0, 0, 2, 0), P(u"X", 0, 0, 2, 0)}, {}},
      {u"X^BY", {P(u"Y", 0.4, 0, 2.4, 0), P(u"X", 0, 0, 2, 0)}, {}},
      {u"X^bY", {P(u"Y", 0.8, 0, 2.8, 0), P(u"X", 0, 0, 2, 0)}, {}},
      {u"X^wab", {P(u"ab", 0.2, 1.2, 1.8, 1.2, 0.8, 1.6), P(u"X", 0, 0, 2, 0)}, {}},
      {u"X^wY", {P(u"Y", 0.6, 1.2, 1.4, 1.2, 0.8, 1.6), P(u"X", 0, 0, 2, 0)}, {}},
      // Raised, lowered, centred: a quarter pitch after the pen, the run
      // gets a space in their place.
      {u"m^u2", {P(u"2", 2.5, 2, 3.5, 2, 1, 2), P(u"m ", 0, 0, 4, 0)}, {}},
      {u"m^d2", {P(u"2", 2.5, 0, 3.5, 0, 1, 2), P(u"m ", 0, 0, 4, 0)}, {}},
      {u"m^c2", {P(u"2", 2.5, 1, 3.5, 1, 1, 2), P(u"m ", 0, 0, 4, 0)}, {}},
      // Vertical writing: placed from one pitch back and one height up;
      // the pen stays.
      {u"AB^uC",
       {P(u"C", 2, 4, 3, 4, 1, 2, 7, false, true), P(u"AB", 0, 0, 4, 0, 2, 4, 7, false, true)},
       {},
       true},
      {u"AB^dC",
       {P(u"C", 3, 4, 4, 4, 1, 2, 7, false, true), P(u"AB", 0, 0, 4, 0, 2, 4, 7, false, true)},
       {},
       true},
      {u"AB^cC",
       {P(u"C", 2.5, 4, 3.5, 4, 1, 2, 7, false, true), P(u"AB", 0, 0, 4, 0, 2, 4, 7, false, true)},
       {},
       true},
      {u"X^oY",
       {P(u"Y", 0.5, 0, 1.5, 0, 1, 2, 7, false, true), P(u"X", 0, 0, 2, 0, 2, 4, 7, false, true)},
       {},
       true},
      // Pen colours: pieces and lines flushed at the switch keep the colour
      // before it; the underline restarts at the pen.
      {u"AB^$3CD^_E^$5F",
       {P(u"AB", 0, 0, 3.8, 0), P(u"CDE", 4.2, 0, 9.8, 0, 2, 4, 13), P(u"F", 10.2, 0, 12, 0, 2, 4, 15)},
       {{13, 8, -0.4, 10, -0.4}, {15, 10, -0.4, 12, -0.4}}},
      // A colour switch at the start leaves the run where it starts.
      {u"^$9AB", {P(u"AB", 0, 0, 4, 0, 2, 4, 19)}, {}},
      {u"AB^$0C", {P(u"ABC", 0, 0, 6, 0)}, {}},
      {u"AB^$", {P(u"AB", 0, 0, 4, 0)}, {}},
      // Slanting from "^/" to "^#".
      {u"AB^/CD^#E",
       {P(u"AB", 0, 0, 3.8, 0), P(u"CD", 4.2, 0, 7.8, 0, 2, 4, 7, true), P(u"E", 8.2, 0, 10, 0)},
       {}},
      {u"AB^/CD", {P(u"ABCD", 0, 0, 8, 0, 2, 4, 7, false, true)}, {}, true},
      {u"AB^/CD", {P(u"ABCD", 0, 0, 8, 0, 2, 4, 7, true)}, {}, false, true},
      // Literal mode: no underline.
      {u"^*^_^^", {P(u"^_", 0, 0, 4, 0)}, {}},
      {u"^oX", {P(u"^oX", 0, 0, 6, 0)}, {}},
      {u"^_^oX", {P(u"^oX", 0, 0, 6, 0)}, {{7, 0, -0.4, 6, -0.4}}},
      {u"a^!b^\\c^&d^%e", {P(u"abcde", 0, 0, 10, 0)}, {}},
      // Trailing reserve and stretch dots are not drawn.
      {u"abc^3", {P(u"abc", 0, 0, 6, 0)}, {}},
      {u"ab\u30FB\u30FB", {P(u"ab", 0, 0, 4, 0)}, {}},
      // Rotated a quarter turn: "up" points to negative x.
      {u"A^-BC^#", {P(u"ABC", 0, 0, 0, 5.8)}, {{7, -2, 2, -2, 6}}, false, false, 90},
  };
  for (const auto& c : cases) {
    CodedTextStart start;
    start.Pitch = 2;
    start.Height = 4;
    start.AngleDeg = c.angle;
    start.Colour = 7;
    start.Vertical = c.vertical;
    start.Slanted = c.slanted;
    const ControlCodeLayout out = GetMojiExp2exp(start, c.text, kPens);
    const std::string where = ToUtf8(c.text) + (c.vertical ? " (vertical)" : "");
    ASSERT_EQ(out.Pieces.size(), c.pieces.size()) << where;
    ASSERT_EQ(out.Lines.size(), c.lines.size()) << where;
    for (size_t i = 0; i < c.pieces.size(); ++i) {
      ExpectPiece(out.Pieces[i], c.pieces[i], where);
      EXPECT_DOUBLE_EQ(out.Pieces[i].AngleDeg, c.angle) << where;
      EXPECT_EQ(out.Pieces[i].Spacing, 0) << where;
    }
    for (size_t i = 0; i < c.lines.size(); ++i) ExpectLine(out.Lines[i], c.lines[i], where);
  }
}

// Every prefix of texts full of codes: nothing reads past the end, and
// every piece shows characters of the text.
TEST(ControlCodes, TextsCutAnywhereLayOutSafely) {
  const std::u16string loneHalves = {char16_t{0xD800}, u'^', u'u', char16_t{0xDC00}};
  const std::u16string texts[] = {
      u"A^u", u"^$", u"^w", u"X^wa", u"X^w\U0002000B", u"^*^", u"ab^", loneHalves,
      u"a^_b^-c^/d^$3e^#f^ug^dh^ci^oj^nk^Bl^bm^wno^*^_^^p^!^\\^&^%q^9\u30FB\uFF65"};
  for (const std::u16string& full : texts) {
    for (size_t n = 0; n <= full.size(); ++n) {
      const std::u16string s = full.substr(0, n);
      CodedTextStart start;
      start.Pitch = 1;
      const ControlCodeLayout out = GetMojiExp2exp(start, s, kPens);
      for (const TextPiece& p : out.Pieces) EXPECT_FALSE(p.Text.empty()) << ToUtf8(s);
      (void)GetMojiExp2Len(false, s, 1, 2);
      (void)GetMojiExp2Str(s);
      (void)CheckMojiExp2(s);
    }
  }
}

}  // namespace
}  // namespace parvex
