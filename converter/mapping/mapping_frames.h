// The drawing-frame search of a conversion with one layout per frame: which
// lines of the drawing are frame edges, which texts mark a print origin,
// and the frames that result, in the order of their layouts.
#pragma once

#include <optional>
#include <string_view>

#include "converter/context/conversion_context.h"
#include "converter/dxf/dxf_frames.h"
#include "converter/mapping/jw_drawing_view.h"

namespace parvex {

// The text that opens a print-origin mark; what follows it says how the
// sheet is printed.
inline constexpr std::u16string_view kPrintOriginMark = u"【印刷原点】";

// What the rest of a print-origin text says.
struct PrintOrigin {
  // Print magnification: the number before the first "%" (else "％");
  // 1 without one, and 1 when that prefix is not a number as a whole or
  // lies outside 0.001 .. 1000000 percent.
  double magnification = 1;
  // The integer in the up to 8 characters after the first of "N=", "n=",
  // "N:", "n:" (else of their full-width forms); 0 when they are not an
  // integer as a whole; 99999999 without a marker, so that such sheets
  // come last.
  int number = 99999999;
  // The sheet is turned ("回転" or "逆転"): width and height exchanged.
  bool turned = false;
};
PrintOrigin ReadPrintOrigin(std::u16string_view rest);

// Fills `frames` for the drawing (nothing unless the settings ask for one
// layout per frame), in layout order:
// - frame edges: top-level lines of pen colour 9, style 16 and width 200
//   on a shown layer of a shown group (every such line of a shape file),
//   horizontal or vertical within 1e-8 and at least 1 long; the
//   rectangles they close;
// - one frame per print-origin text (a top-level text of pen colour 9 and
//   text kind 0 on a shown layer, starting with kPrintOriginMark): the
//   printer paper divided by the magnification, placed about the text's
//   start point by the drawing's print anchor (a shape file: centred);
// - without any of these, the whole paper;
// then sorted by number (DxfFrameFinder::Zw_SortN).
void DxfOutZumenWaku(const JwDrawingView& d, const ConversionContext& ctx,
                     DxfFrameFinder& frames);

}  // namespace parvex
