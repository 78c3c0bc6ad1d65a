// The conversion settings as the converter holds them after loading and
// clamping the settings file. The choices are enums; the settings file and
// the launcher's lists keep them as the numbers below.
#pragma once

namespace parvex {

enum class DxfVersion : int { R12 = 0, R2000 = 1, R2007 = 2 };

// Which of a drawing's two colour tables pen colours take.
enum class ColorMode : int { Screen = 0, Printer = 1 };

// How DXF layers are named: by serial number, by the drawing's layer name,
// or by layer-group and layer name.
enum class LayerNameType : int { Number = 0, Name = 1, GroupAndLayer = 2 };

// Model space only; model space with one paper space holding a viewport per
// layer-group scale; model space with one layout per drawing frame.
enum class OutputSpace : int { Model = 0, ModelAndPaper = 1, Layouts = 2 };

// What a drawing's points become.
enum class PointConversion : int {
  Point = 0,
  Circle = 1,
  DoubleCircle = 2,
  CircleCross = 3,
  Rhombus = 4,
  FilledRhombus = 5,
  FilledOctagon = 6,
};

// Text styles: one per text kind 1..10, one for all texts, or one per
// TrueType font.
enum class TextStyleMode : int { PerKind = 0, OneStyle = 1, TrueType = 2 };

// The number an enum setting is stored as.
template <class E>
constexpr int SettingNumber(E value) {
  return static_cast<int>(value);
}

struct ConversionSettings {
  parvex::DxfVersion DxfVersion = parvex::DxfVersion::R12;
  parvex::ColorMode ColorMode = parvex::ColorMode::Screen;
  parvex::LayerNameType LayerNameType = parvex::LayerNameType::Number;
  parvex::OutputSpace OutputSpace = parvex::OutputSpace::Model;
  int BaseLayerGroup = 15;  // 0..15
  parvex::PointConversion PointConversion = parvex::PointConversion::Point;
  double PointRadius = 0.001;  // millimetres, 0.001..1000
  bool ExpandEmbeddedText = true;
  bool ExpandControlCodes = true;
  bool CurveToPolyline = false;
  parvex::TextStyleMode TextStyleMode = parvex::TextStyleMode::PerKind;
  bool DimensionAsEntity = false;
  double PrinterPaperWidth = 420;
  double PrinterPaperHeight = 297;
  double PrintableWidth = 420;
  double PrintableHeight = 297;
  // Threads a conversion writes its DXF file with; 0: one per core. Not
  // kept in the settings file.
  int WriteThreads = 0;
};

}  // namespace parvex
