// The expansion of Jw_cad's text macros (file name, dates, scale, ...) and
// control codes, as the DXF model applies it to every text it is given, at
// the top level and in block definitions alike: a pure function from one
// text and the inputs of the conversion to what replaces the text.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "converter/dxf/dxf_records.h"

namespace parvex {

// The inputs of the expansion, fixed once per conversion.
struct TDXF_Moji_Exp_Info {
  bool flag1 = false;              // expand embedded text macros
  bool flag2 = false;              // expand control codes
  std::u16string filename;         // the source drawing
  double filedate = 0;             // its last write: days since 1899-12-30, time as fraction
  std::u16string memo1;            // first line of the drawing's memo
  std::u16string memo2;            // the rest of it
  std::array<double, 16> scale{};  // layer-group scales
  double prtscale = 1;
  double nowdate = 0;  // the time of the conversion, as filedate
  int drawtime = 0;
  std::array<int, 9> col{};  // DXF colours of pen colours 1..9
};

// What replaces one text: lines and texts, added in this order (lines
// first) with the attributes they carry.
struct TDXF_MojiExpansion {
  std::vector<TDXF_Line> lines;
  std::vector<TDXF_Moji> texts;
};

// The replacement of `text` (already cut and clamped by the model), or
// nothing when the text stays as it is. No expansion is built yet: every
// text stays as it is.
std::optional<TDXF_MojiExpansion> ExpandMoji(const TDXF_Moji& text, const TDXF_Moji_Exp_Info& info);

}  // namespace parvex
