// The conversion settings as the converter holds them after loading and
// clamping the settings file.
#pragma once

namespace parvex {

struct ConversionSettings {
  int DxfVersion = 0;       // 0 = R12, 1 = 2000, 2 = 2007
  int ColorMode = 0;        // 0 = screen colours, 1 = printer colours
  int LayerNameType = 0;    // 0 = serial number, 1 = layer name, 2 = group and layer name
  int OutputSpace = 0;      // 0 = model, 1 = model and paper, 2 = model and layouts
  int BaseLayerGroup = 15;  // 0..15
  int PointConversion = 0;  // 0..6
  double PointRadius = 0.001;  // millimetres, 0.001..1000
  bool ExpandEmbeddedText = true;
  bool ExpandControlCodes = true;
  bool CurveToPolyline = false;
  int TextStyleMode = 0;  // 0 = text kinds 1..10, 1 = one kind, 2 = TrueType
  bool DimensionAsEntity = false;
  double PrinterPaperWidth = 420;
  double PrinterPaperHeight = 297;
  double PrintableWidth = 420;
  double PrintableHeight = 297;
};

}  // namespace parvex
