// Jw_cad's control codes: two-character codes introduced by "^" that draw a
// character raised, lowered or over its neighbour, underline or strike
// through part of a text, slant it, change its pen colour, reserve space at
// the end of the line, or stretch the line ("・" or "･" at its end). DXF has
// no such markup, so a coded text is laid out here into plain text pieces
// and lines.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "converter/expand/text_expansion.h"

namespace parvex {

// True when the text carries a code that the layout handles.
bool CheckMojiExp2(std::u16string_view s);

// The characters that take a normal character position, in order.
std::u16string GetMojiExp2Str(std::u16string_view s);

// Every character the text shows, in order, without the codes: also the
// raised, lowered, centred and overlaid ones, each where it stands in the
// text. For places that hold plain text only.
std::u16string ControlCodesRemoved(std::u16string_view s);

// The length of the laid-out line for character width pw and spacing pd
// (half-width characters take half of both in horizontal writing).
double GetMojiExp2Len(bool vertical, std::u16string_view s, double pd, double pw);

// Number of character positions the layout steps through: the characters of
// GetMojiExp2Str, plus, in horizontal writing, one for every raised, lowered
// or centred character (each takes a position of its own in the line).
int ControlCodePositions(bool vertical, std::u16string_view s);

// The start of a coded text and what it is drawn with.
struct CodedTextStart {
  double X = 0, Y = 0;
  double Pitch = 1;  // advance of every character position
  double Height = 1;
  double AngleDeg = 0;
  int Colour = 0;
  bool Vertical = false;
  bool Slanted = false;
};

struct ControlCodeLayout {
  std::vector<TextPiece> Pieces;
  std::vector<TextLine> Lines;
};

// Lays the coded text out from its start, every character position
// advancing by the pitch. `penColours` are the DXF colours of pens 1 to 9.
// Pieces have spacing 0.
ControlCodeLayout GetMojiExp2exp(const CodedTextStart& start, std::u16string_view s,
                                 const std::array<int, 9>& penColours);

}  // namespace parvex
