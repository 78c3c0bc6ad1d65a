// Turns one Windows-edition drawing (JWW or JWS) into one DXF model and
// lets the model write the file. One mapper serves one conversion: it owns
// the model from its creation to the end of FileOutDXF.
#pragma once

#include <array>
#include <filesystem>
#include <memory>
#include <optional>
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

class ImageFileFinder;
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
    // Factor for the scale of a block placed here (an INSERT, or the
    // picture block of a dimension): a definition's contents are placed
    // once, by the rule for block contents; this makes them come out at
    // this placement's scale (1 unless the two differ).
    double blockScale = 1;
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
  // Dimensions (mapping_dimensions.cpp): the "*D" blocks of the recognised
  // groups, made before the definitions and entities; then the DIMENSION
  // entities of the top level (def -1) or of drawing definition `def`,
  // written into container bn.
  void DxfOutDimBlock();
  void DxfOutDimMember(const JwEntityList& list, const TEntJwwNo& no, int bn, double dx,
                       double dy);
  bool TakenByDimension(const TEntJwwNo& no) const;
  void DxfOutDim(int def, int bn);
  void DxfOutDimEnt(const TDXF_Dimension& r, int bn);
  // Images (mapping_images.cpp): the image texts of a list, placed before
  // its other entities; none for R12.
  void DxfOutImages(const JwEntityList& list, int bn, double dx, double dy);
  void DxfOutImage(const TEntJwwMoji& e, int bn, double dx, double dy);

  // Placement of an entity with attributes att in container bn (kTopLevel
  // or a block definition) with the offset pair (dx, dy), for every pass.
  // `frame` returns the index of the drawing frame that holds the entity's
  // raw geometry, -1 for none (the Clip functions below); it is called only
  // when the placement depends on it (one layout per frame, base group, top
  // level). Contents of block definitions belong to their definition: they
  // are never put into a layout, whatever layout an insert lands in.
  template <typename FrameFn>
  Place Placement(const TEntJwwAttr& att, int bn, double dx, double dy, FrameFn frame) const {
    // The entities of a "*D" block all take their dimension's placement.
    if (dimPlace_) return *dimPlace_;
    return PlaceIn(att, bn, dx, dy, TestsFrame(att, bn) ? frame() : -1);
  }
  bool TestsFrame(const TEntJwwAttr& att, int bn) const;
  Place PlaceIn(const TEntJwwAttr& att, int bn, double dx, double dy, int frame) const;
  // Grows the viewport of the placement's layer group by the point (paper
  // millimetres, unscaled) with one paper space (top level only).
  void Report(const Place& p, double x, double y);
  // Reports the contents of every placed block to the viewports of their
  // layer groups (one paper space; mapping_block_tree.cpp).
  void DxfOutBlockTree();
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
  // Colours already matched to a colour number: a small table that the
  // colours of a drawing's pens mostly hit, and behind it all of them.
  struct RecentAci {
    uint32_t color = 0;
    int aci = -1;  // -1: empty
  };
  mutable std::array<RecentAci, 64> recentAci_{};
  mutable std::unordered_map<uint32_t, int> aciCache_;
  std::vector<int> blockIndex_;                       // per EntBlockDef entry
  std::unordered_map<uint32_t, int> blockOfNumber_;   // block number -> model index
  std::unordered_set<const TEntJwwBlock*> cutInserts_;  // nested inserts left out
  // Dimensions: the order-list entries a "*D" block took, the DIMENSIONs
  // waiting for their container, and while a "*D" block is filled the
  // placement every entity written into it takes.
  struct PendingDimension {
    int def = -1;
    TDXF_Dimension record;
  };
  std::unordered_set<const TEntJwwNo*> dimTaken_;
  std::vector<PendingDimension> dimensions_;
  std::optional<Place> dimPlace_;
  std::filesystem::path destination_;       // the DXF file being made
  std::unique_ptr<ImageFileFinder> images_;  // image files, made on first need
};

}  // namespace parvex
