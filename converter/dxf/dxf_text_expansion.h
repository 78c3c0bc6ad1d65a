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

// The replacement of `text` (already cut and clamped by the model), or
// nothing when the text stays as it is. The expansion engine
// (converter/expand, ExpandText) is not applied yet: every text stays as
// it is.
std::optional<TDXF_MojiExpansion> ExpandMoji(const TDXF_Moji& text,
                                             const TextExpansionInputs& inputs);

}  // namespace parvex
