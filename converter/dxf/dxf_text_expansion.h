// The seam between the DXF model and the text expansion: a pure function
// from one text record and the conversion's expansion inputs to the texts
// and lines that replace it, which the model applies to every text added
// to it, at the top level and in block definitions alike.
#pragma once

#include <optional>
#include <vector>

#include "converter/dxf/dxf_records.h"
#include "converter/expand/text_expansion.h"

namespace parvex {

// What replaces one text: lines and texts, added in this order with the
// attributes they carry.
struct TDXF_MojiExpansion {
  std::vector<TDXF_Line> lines;
  std::vector<TDXF_Moji> texts;
};

// The layer group (0..15) of a layer of the model's table, whose first four
// layers are the fixed ones and whose drawing layers follow group by group
// (4 + group x 16 + layer); -1 for a fixed layer.
int LayerGroupOfLayer(int layer);

// The replacement of `text` (already cut and clamped by the model), or
// nothing when the text stays as it is. A text that is one macro code
// becomes one text showing its value; a text carrying control codes
// becomes its laid-out pieces, each with its own colour and slant, and the
// lines of its underlines and strike-throughs, which take the text's space
// and layer, the colour of the text where they are drawn, and line type and
// lineweight by layer. The pieces keep the text's style, font and
// base-point kind.
std::optional<TDXF_MojiExpansion> ExpandMoji(const TDXF_Moji& text,
                                             const TextExpansionInputs& inputs);

}  // namespace parvex
