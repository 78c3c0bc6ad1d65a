// The drawing-frame search: frame edges and print-origin texts of the
// drawing's top level become the frames of the layouts.
#include "converter/mapping/mapping_frames.h"

#include <cmath>
#include <initializer_list>
#include <tuple>
#include <utility>

#include "common/number_text.h"
#include "common/value_helpers.h"

namespace parvex {

namespace {

// Frame edges are drawn with the auxiliary colour, the frame line style
// and the frame width.
constexpr int kFramePenColor = 9;
constexpr int kFramePenStyle = 16;
constexpr int kFramePenWidth = 200;

// Where a print-origin text lies on its sheet (the drawing's print
// setting): 0..8 row by row from the lower left.
struct Anchor {
  double ax, ay;  // centre offset in sheet widths and heights
};
constexpr Anchor kAnchors[9] = {{0.5, 0.5},  {0, 0.5},  {-0.5, 0.5}, {0.5, 0},   {0, 0},
                                {-0.5, 0},   {0.5, -0.5}, {0, -0.5},  {-0.5, -0.5}};

// Whether the layer of an entity is shown. Shape files have no layer
// states: everything counts.
bool Shown(const JwDrawingView& d, const TEntJwwAttr& a) {
  if (d.jws) return true;
  if (a.nGLayer > 15 || a.nLayer > 15) return false;
  const std::size_t g = a.nGLayer;
  const std::size_t l = g * 16 + a.nLayer;
  if (g >= d.lgrp.size() || l >= d.lay.size()) return false;
  return d.lgrp[g].anGLay != 0 && d.lay[l].aanLay != 0;
}

// The first of `markers` found in s (tried in order); npos and empty when
// none is.
using Markers = std::initializer_list<std::u16string_view>;
std::pair<std::size_t, std::size_t> FindFirstOf(std::u16string_view s, Markers markers) {
  for (std::u16string_view m : markers) {
    const std::size_t at = s.find(m);
    if (at != std::u16string_view::npos) return {at, m.size()};
  }
  return {std::u16string_view::npos, 0};
}

void AddFrameEdges(const JwDrawingView& d, DxfFrameFinder& frames) {
  for (const TEntJwwLine& e : d.top.line) {
    const TEntJwwAttr& a = e.att;
    if (a.nPenColor != kFramePenColor || a.nPenStyle != kFramePenStyle ||
        a.nPenWidth != kFramePenWidth || !Shown(d, a)) {
      continue;
    }
    const double w = std::fabs(e.start_x - e.end_x);
    const double h = std::fabs(e.start_y - e.end_y);
    if (w >= 1 && h <= 1e-8) {
      frames.Zw_AddH(e.start_x, e.start_y, e.end_x, e.end_y);
    } else if (w <= 1e-8 && h >= 1) {
      frames.Zw_AddV(e.start_x, e.start_y, e.end_x, e.end_y);
    }
  }
}

void AddPrintOrigins(const JwDrawingView& d, const ConversionContext& ctx,
                     DxfFrameFinder& frames) {
  // The drawing's print anchor; older drawings and shape files centre the
  // sheet on the text.
  int anchor = 4;
  if (!d.jws && d.jwVer >= 300) anchor = (d.nPrtSet / 10) % 10;
  const ConversionSettings& st = ctx.Settings;
  for (const TEntJwwMoji& t : d.top.moji) {
    if (t.att.nPenColor != kFramePenColor || t.nMojiShu % 100 != 0 || !Shown(d, t.att)) continue;
    if (!std::u16string_view(t.str).starts_with(kPrintOriginMark)) continue;
    if (!Finite({t.start_x, t.start_y})) continue;
    const PrintOrigin o =
        ReadPrintOrigin(std::u16string_view(t.str).substr(kPrintOriginMark.size()));
    double a = st.PrinterPaperWidth / o.magnification;
    double b = st.PrinterPaperHeight / o.magnification;
    if (o.turned) std::swap(a, b);
    double cx = t.start_x, cy = t.start_y;
    if (anchor >= 0 && anchor <= 8) {
      cx += kAnchors[anchor].ax * a;
      cy += kAnchors[anchor].ay * b;
    }
    frames.Zw_AddW(o.number, cx - a / 2, cx + a / 2, cy - b / 2, cy + b / 2);
  }
}

}  // namespace

PrintOrigin ReadPrintOrigin(std::u16string_view rest) {
  PrintOrigin o;
  const auto [percent, percentSize] = FindFirstOf(rest, {u"%", u"％"});
  if (percent != std::u16string_view::npos) {
    double g = TextToFloat(rest.substr(0, percent));
    if (g < 0.001 || g > 1000000) g = 100;
    o.magnification = g / 100;
  }
  auto [marker, markerSize] = FindFirstOf(rest, {u"N=", u"n=", u"N:", u"n:"});
  if (marker == std::u16string_view::npos)
    std::tie(marker, markerSize) = FindFirstOf(rest, {u"Ｎ＝", u"ｎ＝", u"Ｎ：", u"ｎ："});
  if (marker != std::u16string_view::npos)
    o.number = TextToInt(rest.substr(marker + markerSize, 8));
  o.turned = rest.find(u"回転") != std::u16string_view::npos ||
             rest.find(u"逆転") != std::u16string_view::npos;
  return o;
}

void DxfOutZumenWaku(const JwDrawingView& d, const ConversionContext& ctx,
                     DxfFrameFinder& frames) {
  frames.InitZwhv(true);
  if (ctx.Settings.OutputSpace != OutputSpace::Layouts) return;
  AddFrameEdges(d, frames);
  frames.Zw_SearchBox();
  frames.InitZwhv(false);
  AddPrintOrigins(d, ctx, frames);
  if (frames.Frames().empty()) {
    const double w = ctx.DrawingPaperSize.Width, h = ctx.DrawingPaperSize.Height;
    frames.Zw_AddW(0, -w / 2, w / 2, -h / 2, h / 2);
  }
  frames.Zw_SortN(ctx.Settings.DxfVersion);
}

}  // namespace parvex
