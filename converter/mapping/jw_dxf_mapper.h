// Turns one Windows-edition drawing (JWW or JWS) into one DXF model and
// lets the model write the file. One mapper serves one conversion: it owns
// the model from its creation to the end of FileOutDXF.
#pragma once

#include <array>
#include <filesystem>
#include <memory>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "common/result.h"
#include "converter/context/conversion_context.h"
#include "converter/dxf/dxf_curve_polylines.h"
#include "converter/dxf/dxf_frames.h"
#include "converter/dxf/dxf_records.h"
#include "converter/mapping/jw_drawing_view.h"

namespace parvex {

class TDXFmodel;
class TgraAttribute;

class JwDxfMapper {
 public:
  JwDxfMapper(const JwDrawingView& drawing, ConversionContext& context,
              TgraAttribute& attributes);
  ~JwDxfMapper();
  JwDxfMapper(const JwDxfMapper&) = delete;
  JwDxfMapper& operator=(const JwDxfMapper&) = delete;

  // Maps the drawing and writes `destination` as DXF version `ver`
  // (0 R12, 1 2000, 2 2007), or says why the file was not written.
  Status FileOutDXF(const std::filesystem::path& destination, DxfVersion ver);

 private:
  // Where one entity lands: space, scale and translation (placement rule).
  struct Place {
    int g = 0;        // layer group used for the placement
    int sp = 0;       // space code
    double s = 1;     // scale
    double tx = 0;    // translation (top level only)
    double ty = 0;
    bool top = true;  // top level (not inside a block definition)
    double X(double x) const { return x * s + (top ? tx : 0); }
    double Y(double y) const { return y * s + (top ? ty : 0); }
    // The attributes a with this placement's space.
    DxfAttributes In(DxfAttributes a) const {
      a.space = sp;
      return a;
    }
  };

  // Tables.
  void DxfOutLtype();
  void DxfOutLayer();
  void DxfOutStyle();
  bool DxfHasTen() const;
  void GetFontNames();
  int GetFontNamesIndex(std::u16string s) const;

  // Entity passes.
  void DxfOutEntity();
  void ReserveTopLevel();
  void OutList(const JwEntityList& list, int bn, double dx, double dy);
  void DxfOutLine(const TEntJwwLine& e, int bn, double dx, double dy);
  void DxfOutEnko(const TEntJwwEnko& e, int bn, double dx, double dy);
  void DxfOutTen(const TEntJwwTen& e, int bn, double dx, double dy);
  void DxfOutSolid(const TEntJwwSolid& e, int bn, double dx, double dy);
  void DxfOutMoji(const TEntJwwMoji& e, int bn, double dx, double dy);
  void DxfOutSunpo(const TEntJwwSunpo& e, int bn, double dx, double dy);

  // Blocks (mapping_blocks.cpp): the definitions the block tree reached,
  // their model indexes, and the inserts.
  void DxfOutBlockDefs();
  int BlockDefIndex(size_t k) const;  // model index of EntBlockDef[k], -1 if not written
  int WrittenBlock(uint32_t number) const;  // model index of block `number`, -1 if none
  void DxfOutBlock(const TEntJwwBlock& e, int bn, double dx, double dy);
  // Curve polylines (mapping_polylines.cpp): true when the entity went to
  // the collector instead of being written; `no` is its order-list entry.
  bool ToCurveCollector(const TEntJwwLine& e, int no);
  bool ToCurveCollector(const TEntJwwEnko& e, int no);
  // Joins the collected segments, writes the polylines, empties the
  // collector.
  void DxfOutPLines(int bn, double dx, double dy);
  void DxfOutPLine(const TDXF_PolyWorkSub& e, int bn, double dx, double dy);

  // Placement: `frame` returns the frame index for the raw geometry
  // (OutputSpace 2, base group only), -1 when it lies in none.
  template <typename FrameFn>
  Place Placement(const TEntJwwAttr& att, int bn, double dx, double dy, FrameFn frame) const;
  void Report(const Place& p, double x, double y);
  // Index of the drawing frame that holds the raw geometry, -1 for none.
  int ClipTen(double x, double y) const;
  int ClipLine(double x1, double y1, double x2, double y2) const;
  int ClipArc(double x, double y, double r, double h, double sa, double sw, double k) const;
  int ClipSquare(double x1, double y1, double x2, double y2, double x3, double y3, double x4,
                 double y4) const;
  // Layer, colour, line type and lineweight of an entity (attribute rule).
  DxfAttributes AttributeRule(const TEntJwwAttr& att) const;
  int LayerIndex(const TEntJwwAttr& att) const;
  int ColourOf(int penColor) const;
  // DXF colour of an alpha-RGB colour; the nearest-colour search is costly
  // and drawings use few colours, so results are kept.
  int AciOf(uint32_t color) const;
  double GroupScale(int g) const;

  const JwDrawingView& d_;
  ConversionContext& ctx_;
  TgraAttribute& attr_;
  std::unique_ptr<TDXFmodel> m_;
  DxfFrameFinder frames_;
  DxfCurveJoiner joiner_;
  int layerGroupMost_ = 0;
  std::vector<std::u16string> fontNames_;
  mutable std::unordered_map<uint32_t, int> aciCache_;
  std::vector<int> blockIndex_;                       // per EntBlockDef entry
  std::unordered_map<uint32_t, int> blockOfNumber_;   // block number -> model index
  std::unordered_set<const TEntJwwBlock*> cutInserts_;  // nested inserts left out
};

}  // namespace parvex
