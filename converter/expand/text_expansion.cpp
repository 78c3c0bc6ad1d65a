#include "converter/expand/text_expansion.h"

#include <algorithm>
#include <cmath>

#include "common/text_helpers.h"
#include "converter/expand/control_codes.h"
#include "converter/expand/text_macros.h"

namespace parvex {
namespace {

constexpr char16_t kStretchDot = u'\uFF65';  // "･"

double ClampSize(double v) { return std::clamp(std::fabs(v), 1e-10, 1e10); }

TextPiece AsPiece(const TextToExpand& t) {
  return {t.Text,  t.X,       t.Y,        t.EndX,  t.EndY,     t.Width,
          t.Height, t.Spacing, t.AngleDeg, t.Colour, t.Vertical, t.Slanted};
}

// One piece with the macro's value; the baseline runs as long as the value.
ExpandedText MacroText(const TextToExpand& t, const TextExpansionInputs& in) {
  // The value is cut to what a text keeps before it is measured, so that
  // the baseline matches the characters stored.
  std::u16string value =
      CopyWidthFrom(GetMojiExp1(t.LayerGroup, t.Text, in), 0, kTextColumnLimit).Part;
  const double length = t.Vertical ? TextRunLengthSimple(value, t.Width, t.Spacing)
                                   : TextRunLength(value, t.Width, t.Spacing);
  // Stretch dots that follow other characters only reserve room: the value
  // is cut before the first of them and keeps the full length.
  const size_t dot = value.find(kStretchDot);
  if (dot != std::u16string::npos && dot > 0) value.resize(dot);
  const double a = t.AngleDeg * 3.14159265358979323846 / 180.0;
  TextPiece p = AsPiece(t);
  p.Text = std::move(value);
  p.X2 = t.X + length * std::cos(a);
  p.Y2 = t.Y + length * std::sin(a);
  return {TextExpansionKind::Macro, {std::move(p)}, {}};
}

ExpandedText CodedText(const TextToExpand& t, int positions, const TextExpansionInputs& in) {
  CodedTextStart start;
  start.X = t.X;
  start.Y = t.Y;
  start.Pitch = GetMojiExp2Len(t.Vertical, t.Text, t.Spacing, t.Width) / positions;
  start.Height = t.Height;
  start.AngleDeg = t.AngleDeg;
  start.Colour = t.Colour;
  start.Vertical = t.Vertical;
  start.Slanted = t.Slanted;
  ControlCodeLayout layout = GetMojiExp2exp(start, t.Text, in.PenColours);
  return {TextExpansionKind::ControlCodes, std::move(layout.Pieces), std::move(layout.Lines)};
}

}  // namespace

ExpandedText ExpandText(const TextToExpand& text, const TextExpansionInputs& inputs) {
  TextToExpand t = text;
  t.Width = ClampSize(t.Width);
  t.Height = ClampSize(t.Height);
  t.Text = CopyWidthFrom(t.Text, 0, kTextColumnLimit).Part;

  if (inputs.ExpandMacros && CheckMojiExp1(t.Text)) return MacroText(t, inputs);
  // A coded text is laid out when it has a character position to lay out,
  // a raised or lowered character alone included ("^u2"); one without
  // any ("^_^#") is kept as written.
  if (inputs.ExpandControlCodes && CheckMojiExp2(t.Text)) {
    const int positions = ControlCodePositions(t.Vertical, t.Text);
    if (positions > 0) return CodedText(t, positions, inputs);
  }
  return {TextExpansionKind::None, {AsPiece(t)}, {}};
}

MemoLines SplitMemo(std::u16string_view memo) {
  size_t at = memo.find(u"\r\n");
  size_t breakLength = 2;
  if (at == std::u16string_view::npos) {
    at = memo.find(u'\r');
    breakLength = 1;
  }
  if (at == std::u16string_view::npos) at = memo.find(u'\n');
  if (at == std::u16string_view::npos) return {std::u16string(memo), {}};
  return {std::u16string(memo.substr(0, at)), std::u16string(memo.substr(at + breakLength))};
}

}  // namespace parvex
