// Expansion of Jw_cad's text macros and control codes as a pure function:
// a text and the inputs of one conversion in, the text pieces and lines
// that replace it out. Nothing here knows the DXF model; the model calls
// ExpandText for every text it receives and stores what comes back.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "common/platform/local_time.h"

namespace parvex {

// The most display columns a text keeps (half-width characters count one,
// others two); longer texts are cut before they are expanded.
inline constexpr int kTextColumnLimit = 255;

// One Jw_cad reference variable: a name beginning with "%%" and its value.
struct UserVariable {
  std::u16string Name;
  std::u16string Value;
};

// What one conversion knows for the expansion; filled once per drawing.
struct TextExpansionInputs {
  bool ExpandMacros = false;        // replace texts that are one macro code
  bool ExpandControlCodes = false;  // lay out texts carrying "^" codes
  // Full path of the source drawing, as the file-name and folder codes show it.
  std::u16string SourcePath;
  // Last-write time of the source drawing and the moment of conversion, both
  // local time. An unset or impossible date gives empty values for the codes
  // that show it.
  platform::LocalDateTime FileDate;
  platform::LocalDateTime Now;
  // The drawing's memo: its first line and the rest (see SplitMemo).
  std::u16string Memo1;
  std::u16string Memo2;
  // Scale of each layer group as the drawing stores it (50 means 1:50).
  std::array<double, 16> LayerGroupScales{1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1};
  double PrintScale = 1;  // the drawing's print magnification
  std::int64_t EditingSeconds = 0;  // accumulated editing time of the drawing
  // DXF colour numbers of pen colours 1 to 9.
  std::array<int, 9> PenColours{1, 2, 3, 4, 5, 6, 7, 8, 9};
  std::vector<UserVariable> UserVariables;
};

// A text as it enters the DXF model. Angles in degrees; sizes in the
// model's units. Width is the width of a full-width character.
struct TextToExpand {
  std::u16string Text;
  double X = 0, Y = 0;        // start of the baseline
  double EndX = 0, EndY = 0;  // end of the baseline, kept when nothing expands
  double Width = 1;
  double Height = 1;
  double Spacing = 0;
  double AngleDeg = 0;
  int Colour = 0;  // DXF colour number as the model keeps it
  bool Vertical = false;
  bool Slanted = false;
  int LayerGroup = -1;  // 0..15; any other value for the model's fixed layers
};

// One text that replaces (part of) the original. Layer, style, font and
// space are the original's.
struct TextPiece {
  std::u16string Text;
  double X1 = 0, Y1 = 0, X2 = 0, Y2 = 0;
  double Width = 0;
  double Height = 0;
  double Spacing = 0;
  double AngleDeg = 0;
  int Colour = 0;
  bool Vertical = false;
  bool Slanted = false;

  bool operator==(const TextPiece&) const = default;
};

// An underline or strike-through drawn for control codes; line type and
// lineweight by layer.
struct TextLine {
  int Colour = 0;
  double X1 = 0, Y1 = 0, X2 = 0, Y2 = 0;

  bool operator==(const TextLine&) const = default;
};

enum class TextExpansionKind {
  None,          // stored as received (one piece, the original)
  Macro,         // the text was one macro code and shows its value
  ControlCodes,  // the text was laid out into pieces and lines
};

struct ExpandedText {
  TextExpansionKind Kind = TextExpansionKind::None;
  std::vector<TextPiece> Pieces;
  std::vector<TextLine> Lines;
};

// What replaces `text`: with macros on and the text one macro code, one
// piece with the code's value and the end point at the value's run length;
// otherwise, with control codes on and the text carrying them, its laid-out
// pieces and lines; otherwise the text itself. Width and height are taken
// as absolute values within [1e-10, 1e10] and the text is cut to
// kTextColumnLimit columns first.
ExpandedText ExpandText(const TextToExpand& text, const TextExpansionInputs& inputs);

struct MemoLines {
  std::u16string First;
  std::u16string Rest;
};
// Splits a memo at its first CR LF, else its first CR, else its first LF;
// without a break the whole memo is the first line.
MemoLines SplitMemo(std::u16string_view memo);

}  // namespace parvex
