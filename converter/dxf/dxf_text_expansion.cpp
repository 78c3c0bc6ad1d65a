#include "converter/dxf/dxf_text_expansion.h"

#include <utility>

#include "converter/expand/control_codes.h"
#include "converter/expand/text_macros.h"

namespace parvex {

int LayerGroupOfLayer(int layer) {
  constexpr int kFixedLayers = 4;
  if (layer < kFixedLayers) return -1;
  const int group = (layer - kFixedLayers) / 16;
  return group < 16 ? group : -1;
}

std::optional<TDXF_MojiExpansion> ExpandMoji(const TDXF_Moji& text,
                                             const TextExpansionInputs& inputs) {
  // Most texts carry no code: they are let through before anything is
  // copied.
  if (!(inputs.ExpandMacros && CheckMojiExp1(text.st)) &&
      !(inputs.ExpandControlCodes && CheckMojiExp2(text.st))) {
    return std::nullopt;
  }
  TextToExpand t;
  t.Text = text.st;
  t.X = text.x1;
  t.Y = text.y1;
  t.EndX = text.x2;
  t.EndY = text.y2;
  t.Width = text.w;
  t.Height = text.h;
  t.Spacing = text.d;
  t.AngleDeg = text.a;
  t.Colour = text.attr.colour;
  t.Vertical = text.tate;
  t.Slanted = text.syat;
  t.LayerGroup = LayerGroupOfLayer(text.attr.layer);
  ExpandedText expanded = ExpandText(t, inputs);
  if (expanded.Kind == TextExpansionKind::None) return std::nullopt;

  TDXF_MojiExpansion out;
  out.lines.reserve(expanded.Lines.size());
  for (const TextLine& l : expanded.Lines) {
    out.lines.push_back({.attr = {.space = text.attr.space, .layer = text.attr.layer,
                                  .colour = l.Colour},
                         .x1 = l.X1, .y1 = l.Y1, .x2 = l.X2, .y2 = l.Y2});
  }
  out.texts.reserve(expanded.Pieces.size());
  for (TextPiece& p : expanded.Pieces) {
    TDXF_Moji m = text;
    m.attr.colour = p.Colour;
    m.tate = p.Vertical;
    m.syat = p.Slanted;
    m.x1 = p.X1;
    m.y1 = p.Y1;
    m.x2 = p.X2;
    m.y2 = p.Y2;
    m.w = p.Width;
    m.h = p.Height;
    m.d = p.Spacing;
    m.a = p.AngleDeg;
    m.st = std::move(p.Text);
    out.texts.push_back(std::move(m));
  }
  return out;
}

}  // namespace parvex
