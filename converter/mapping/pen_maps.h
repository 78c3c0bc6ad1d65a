// How a Jw_cad pen (style, width) becomes a DXF line type and lineweight.
#pragma once

namespace parvex {

// Pen style (line type number of an entity) to the 1-based index of the DXF
// line-type table the mapping builds: 1..18 the default line types, 19..32
// the SXF standard ones, 33..48 the drawing's SXF user-defined ones.
int PenStyleToLtype(int penStyle);

// Pen width in hundredths of a millimetre to the nearest standard DXF
// lineweight (0 stays 0 = default).
int PenWidthToLineweight(int penWidth);

}  // namespace parvex
