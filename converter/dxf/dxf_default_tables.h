// The fixed content every conversion puts into a new DXF model before the
// drawing's own tables: line types, layers, text styles, and the block
// definitions that points are drawn with.
//
// Call order (the table indices below rely on it):
//   AddDefaultLtypes, AddSxfLtypes, the drawing's line types,
//   AddDefaultLayers, the drawing's layers,
//   AddDefaultStyles, the drawing's styles,
//   AddTenBlock and AddMarkerBlocks when the drawing has points.
// So line type 1 is "Continuous" and 9 "DOT2"; layer 0 is "0", 1
// "DEFPOINTS", 2 "HOJO" (auxiliary entities), 3 "VP" (paper-space
// viewports); style 0 is "Standard" and 1 "Annotative".
//
// SetDXFVer must have been called: the table names depend on the version.
#pragma once

namespace parvex {

class TDXFmodel;

inline constexpr int kLtypeContinuous = 1;
inline constexpr int kLtypeDot2 = 9;
inline constexpr int kLayerZero = 0;
inline constexpr int kLayerDefpoints = 1;
inline constexpr int kLayerHojo = 2;
inline constexpr int kLayerVp = 3;

// 18 line types: Continuous, DOT, DASHED, ... DASHEDX4.
void AddDefaultLtypes(TDXFmodel& m);
// The 14 SXF standard line types "SXF_破線" ... "SXF_三点二短鎖線".
void AddSxfLtypes(TDXFmodel& m);
// Layers "0", "DEFPOINTS", "HOJO", "VP".
void AddDefaultLayers(TDXFmodel& m);
// Styles "Standard" and "Annotative".
void AddDefaultStyles(TDXFmodel& m);
// The point block "_TRANS_TEN" for PointConversion 2..6 (m.tentyp), drawn
// with radius m.tenrad; sets m.tenidx to its index (-1 when none).
void AddTenBlock(TDXFmodel& m);
// The "_TRANS_TMARKER..." blocks that the drawing's point markers insert.
void AddMarkerBlocks(TDXFmodel& m);

}  // namespace parvex
