// Paper size of a drawing: by the paper code that JWW and JWC headers
// carry, or from the drawing's extents for shape files.
#pragma once

#include "converter/context/conversion_context.h"

namespace parvex {

// Width x height in millimetres of Jw_cad paper code `code`: 0 A0... as
// Jw_cad numbers them (1 A1, 2 A2, 3 A3, 4 A4, 8..11 the 2A..5A sizes,
// 12..14 the 10 m, 50 m and 100 m sheets). Any other code gives A0 landscape
// (1189 x 841).
PaperSize PaperSizeOfCode(int code);

// The extents' width and height (absolute differences).
PaperSize PaperSizeOfExtents(const DrawingExtents& extents);

}  // namespace parvex
