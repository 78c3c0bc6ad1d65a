// Turns one DOS-edition drawing (JWC) or shape (JWK) into one DXF model and
// lets the model write the file. The DOS formats know no blocks, solids,
// dimensions, SXF line types or drawing frames; their records carry their
// own colour and line-type codes. One mapper serves one conversion.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>
#include <string>

#include "common/conversion_settings.h"
#include "common/result.h"
#include "converter/context/conversion_context.h"
#include "converter/dxf/dxf_curve_polylines.h"
#include "converter/jwc/jwc_data.h"

namespace parvex {

class TDXFmodel;
class ImageFileFinder;

// What the mapping reads of a JWC drawing or a JWK shape. The mapping
// empties the entity arrays as it is done with them (see JwcDxfMapper).
struct JwcDrawingView {
  bool shape = false;  // JWK: full-size coordinates, model space only
  JwcEntityModel* entities = nullptr;
  std::u16string comment1, comment2;
  int32_t drawTime = 0;  // editing time in seconds (JWK: 0)
  // Scale of each layer group, rounded to six decimals (JWK: its own scale
  // sixteen times).
  std::array<double, 16> groupScales{};
  std::span<const TEntJwcLayerGroup> lgrp;  // 16 groups; empty for JWK
  std::span<const TEntJwcLayer> lay;        // 256 layers; empty for JWK
  std::span<const TEntJwcVten> vten;        // the drawing's virtual points
};

JwcDrawingView MakeDrawingView(TJwcData& jwc);
JwcDrawingView MakeDrawingView(TJwkData& jwk);

// The curve of an arc record as the DXF model takes it: start, sweep and
// tilt in degrees in [0, 360) (a sweep of 0 is the whole curve), the axis
// ratio within (0, 1] and the radius factor of the major axis. A
// flattening above 1 makes the second axis the major one: the axes are
// exchanged (radius factor h, ratio 1 / h) and the ellipse is turned by 90
// degrees with its parameter angles moved back by as much. A flattening of
// 0 (or less) gives the thinnest ellipse a DXF reader takes, ratio 1e-6.
struct JwcArcCurve {
  double radiusFactor = 1;
  double ratio = 1;
  double start = 0, sweep = 0, tilt = 0;
};
JwcArcCurve ArcCurveOf(const TEntJwcArc2& e);

// Whether a line belongs to a curve that becomes a polyline: a curve
// member (bit 6 or 7 of flg2) not marked otherwise (bit 5 of flg2 or
// flg3), with curve polylines on.
bool JoinsCurvePolyline(const TEntJwcLine& e, bool curveToPolyline);
// Whether the line is the last member of its curve (bits 6 and 7).
bool EndsCurve(const TEntJwcLine& e);

// A text line centred on the midpoint of its stored ends, in the record's
// own units: start and end of the baseline, character width, height and
// spacing (vertical texts exchange width and height), angle in radians.
struct JwcTextLine {
  double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
  double w = 0, h = 0, d = 0;
  double angle = 0;
  bool vertical = false;
};
// `sizeFactor` multiplies the text kind's sizes (a JWK shape's scale).
JwcTextLine TextLineOf(const TEntJwcMoji2& e, const TEntJwcMojiType& kind, double sizeFactor,
                       TextStyleMode mode);

// The entity pass releases each entity array of the drawing once its
// records are in the DXF model, so that a large drawing's records are not
// held twice, as read and as DXF records, while the model grows and while
// the file is written. The drawing keeps its header and tables.
class JwcDxfMapper {
 public:
  JwcDxfMapper(const JwcDrawingView& drawing, ConversionContext& context);
  ~JwcDxfMapper();
  JwcDxfMapper(const JwcDxfMapper&) = delete;
  JwcDxfMapper& operator=(const JwcDxfMapper&) = delete;

  Status FileOutDXF(const std::filesystem::path& destination, DxfVersion ver);

 private:
  // Where the entities of one layer group land. A JWC point (x, y) becomes
  // (x * s + tx, y * s + ty); JWK points stay as they are (s 1, no shift)
  // and only sizes are multiplied (by `size`).
  struct Place {
    int g = 0;
    int sp = 0;
    double s = 1, tx = 0, ty = 0;
    double size = 1;    // factor of text, image and point sizes
    double radius = 1;  // factor of radii
    double X(double x) const { return x * s + tx; }
    double Y(double y) const { return y * s + ty; }
  };
  Place PlaceOf(int lay) const;
  // Reports a raw point to the viewport of its layer group (model and
  // paper space only).
  void Report(const Place& p, double x, double y);
  bool Reporting() const { return space_ == OutputSpace::ModelAndPaper; }
  static int LineLayer(int typ, int lay);

  void DxfOutLayer();
  void DxfOutStyle();
  void DxfOutEntity();
  void ReserveTopLevel();
  void DxfOutImages();
  void DxfOutImage(const TEntJwcMoji2& e);
  void DxfOutLine(const TEntJwcLine& e);
  void DxfOutPLines();
  void DxfOutArc(const TEntJwcArc2& e);
  void DxfOutMoji(TEntJwcMoji2& e);
  void DxfOutTen(const TEntJwcTen& e);
  void DxfOutVten(const TEntJwcVten& e);

  const JwcDrawingView& d_;
  JwcEntityModel& ents_;
  ConversionContext& ctx_;
  OutputSpace space_ = OutputSpace::Model;
  std::unique_ptr<TDXFmodel> m_;
  std::filesystem::path destination_;
  std::unique_ptr<ImageFileFinder> images_;  // made by the first image text
  DxfCurveJoiner joiner_;
  int layerGroupMost_ = 0;
};

}  // namespace parvex
