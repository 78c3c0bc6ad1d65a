// The placement rule of every entity pass: where a drawing point lands in
// the DXF model and in which space, the frame tests it asks, and the
// reports to the viewports of one paper space.
#include <cmath>

#include "converter/dxf/dxf_model.h"
#include "converter/mapping/jw_dxf_mapper.h"

namespace parvex {

bool JwDxfMapper::TestsFrame(const TEntJwwAttr& att, int bn) const {
  const ConversionSettings& st = ctx_.Settings;
  const int g = att.nGLayer <= 15 ? att.nGLayer : st.BaseLayerGroup;
  return st.OutputSpace == OutputSpace::Layouts && bn == kTopLevel && g == st.BaseLayerGroup;
}

JwDxfMapper::Place JwDxfMapper::PlaceIn(const TEntJwwAttr& att, int bn, double dx, double dy,
                                        int frame) const {
  const ConversionSettings& st = ctx_.Settings;
  Place p;
  p.top = bn == kTopLevel;
  p.g = att.nGLayer <= 15 ? att.nGLayer : st.BaseLayerGroup;
  const TDXF_LGroup& lg = m_->deLgp[static_cast<std::size_t>(p.g)];
  p.s = lg.sc;
  p.tx = lg.dx;
  p.ty = lg.dy;
  p.sp = 0;
  switch (st.OutputSpace) {
    case OutputSpace::Model:
      break;
    case OutputSpace::ModelAndPaper:
      p.sp = p.g == st.BaseLayerGroup ? 1 : 0;
      break;
    case OutputSpace::Layouts: {
      // Model space, and every block's contents, at the scale of the
      // busiest layer group; a base-group entity inside a frame in that
      // frame's layout at paper size, the frame's lower-left corner at the
      // layout's origin.
      const double modelScale = GroupScale(layerGroupMost_);
      p.s = modelScale;
      p.tx = 0;
      p.ty = 0;
      const auto frames = frames_.Frames();
      if (!TestsFrame(att, bn) || frame < 0 || frame >= static_cast<int>(frames.size())) break;
      const TJwZumenWakuWork& f = frames[static_cast<std::size_t>(frame)];
      p.sp = frame + 1;
      p.s = 1;
      p.tx = -(f.x1 + dx);
      p.ty = -(f.y1 + dy);
      // A block placed in a layout shows contents made at model scale.
      const double ratio = 1 / modelScale;
      if (std::isfinite(ratio)) p.blockScale = ratio;
      break;
    }
  }
  return p;
}

int JwDxfMapper::ClipTen(double x, double y) const { return frames_.Zw_ClipTen(x, y); }

int JwDxfMapper::ClipLine(double x1, double y1, double x2, double y2) const {
  return frames_.Zw_ClipLine(x1, y1, x2, y2);
}

int JwDxfMapper::ClipArc(double x, double y, double r, double h, double sa, double sw,
                         double k) const {
  return frames_.Zw_ClipArc(x, y, r, h, sa, sw, k);
}

int JwDxfMapper::ClipSquare(double x1, double y1, double x2, double y2, double x3, double y3,
                            double x4, double y4) const {
  return frames_.Zw_ClipSquare(x1, y1, x2, y2, x3, y3, x4, y4);
}

void JwDxfMapper::Report(const Place& p, double x, double y) {
  if (ctx_.Settings.OutputSpace != OutputSpace::ModelAndPaper || !p.top) return;
  m_->SetVPortMinMax(m_->deLgp[static_cast<std::size_t>(p.g)].n, x, y);
}

}  // namespace parvex
