// With one paper space, the viewport of each layer-group scale shows the
// extent of that group's entities. The entity passes report the top
// level's; this pass reports the contents of every placed block, at every
// nesting depth, through the block tree: each member's points, placed by
// the tree node, go to the viewport of the member's own layer group.
//
// Each definition is measured once: per viewport, the box and the convex
// outline of its members' points. A node then places only those (the box
// corners, or the outline when it turns the block), which gives the same
// extent as placing every point. Should the outlines of a drawing cost
// more than kExactReportWork points, further turned nodes place the box
// corners: a viewport then may come out larger, never smaller.
#include <cmath>
#include <cstddef>
#include <map>
#include <optional>
#include <vector>

#include "common/geometry.h"
#include "common/value_helpers.h"
#include "converter/dxf/dxf_model.h"
#include "converter/mapping/jw_dxf_mapper.h"
#include "converter/mapping/mapping_shapes.h"

namespace parvex {

namespace {

constexpr std::size_t kExactReportWork = 100'000'000;

// Calls f(attributes, point) for every point that the entity passes report
// for a member of `list` at the top level (nested inserts aside: they are
// tree nodes of their own).
template <class F>
class MemberPoints {
 public:
  explicit MemberPoints(F& f) : f_(f) {}

  void List(const JwEntityList& list) {
    for (const TEntJwwNo& no : list.no) {
      if (no.EntNo < 0) continue;
      const std::size_t i = static_cast<std::size_t>(no.EntNo);
      switch (no.EntType) {
        case kJwwLine:
          if (i < list.line.size()) Line(list.line[i]);
          break;
        case kJwwEnko:
          if (i < list.enko.size()) Arc(list.enko[i]);
          break;
        case kJwwTen:
          if (i < list.ten.size()) Point(list.ten[i]);
          break;
        case kJwwMoji:
          if (i < list.moji.size()) Text(list.moji[i]);
          break;
        case kJwwSunpo:
          if (i < list.sunpo.size()) Dimension(list.sunpo[i]);
          break;
        case kJwwSolid:
          if (i < list.solid.size()) Solid(list.solid[i]);
          break;
        default:
          break;
      }
    }
  }

 private:
  void Line(const TEntJwwLine& e) {
    if (!Finite({e.start_x, e.start_y, e.end_x, e.end_y})) return;
    if (SamePoint12(e.start_x, e.start_y, e.end_x, e.end_y)) return;
    f_(e.att, Pt{e.start_x, e.start_y});
    f_(e.att, Pt{e.end_x, e.end_y});
  }

  void Arc(const TEntJwwEnko& e) {
    if (!Finite({e.start_x, e.start_y, e.dHankei, e.radKaishiKaku, e.radEnkoKaku,
                 e.radKatamukiKaku, e.dHenpeiRitsu})) {
      return;
    }
    const ArcAngles a = ToArcAngles(e.radKaishiKaku, e.radEnkoKaku, e.radKatamukiKaku);
    ForCurveSamples(Pt{e.start_x, e.start_y}, e.dHankei, SnapFlattening(e.dHenpeiRitsu), a,
                    [&](Pt q) { f_(e.att, q); });
  }

  void Point(const TEntJwwTen& e) {
    if (Finite({e.start_x, e.start_y})) f_(e.att, Pt{e.start_x, e.start_y});
  }

  void Text(const TEntJwwMoji& e) {
    if (IsImageText(e)) return;
    if (!Finite({e.start_x, e.start_y, e.end_x, e.end_y, e.dSizeX, e.dSizeY, e.dKankaku})) return;
    if (SamePoint12(e.start_x, e.start_y, e.end_x, e.end_y)) return;
    for (const Pt& q : TextBoxOf(e).corners) f_(e.att, q);
  }

  void Dimension(const TEntJwwSunpo& e) {
    Line(e.Sen);
    if (e.bSxfMode != 0) {
      Line(e.Ho1);
      Line(e.Ho2);
      Point(e.Te1);
      Point(e.Te2);
    }
    Text(e.Moji);
  }

  void Solid(const TEntJwwSolid& e) {
    if (!Finite({e.start_x, e.start_y, e.end_x, e.end_y, e.DPoint2_x, e.DPoint2_y, e.DPoint3_x,
                 e.DPoint3_y})) {
      return;
    }
    const int style = e.att.nPenStyle;
    if (style <= 100) {
      // The corners a polygon keeps lie among these four.
      for (const Pt& q : {Pt{e.start_x, e.start_y}, Pt{e.end_x, e.end_y},
                          Pt{e.DPoint2_x, e.DPoint2_y}, Pt{e.DPoint3_x, e.DPoint3_y}}) {
        f_(e.att, q);
      }
      return;
    }
    if (style != 101 && style != 105 && style != 106 && style != 111) return;
    const CurvedArea area = CurvedAreaOf(e);
    const Pt c = area.c;
    const double r = area.r, h = area.h;
    const ArcAngles& a = area.a;
    if (style == 111) {
      ForCurveSamples(c, r, h, a, [&](Pt q) { f_(e.att, q); });
      return;
    }
    constexpr int kSteps = 72;
    const double step = std::fabs(a.sw) <= 1e-10 ? 360.0 / kSteps : a.sw / kSteps;
    for (int i = 0; i <= kSteps; ++i) f_(e.att, CurvePoint(c, r, h, a.k, a.sa + i * step));
    if (style == 101) {
      const Pt start = CurvePoint(c, r, h, a.k, a.sa);
      const Pt end = CurvePoint(c, r, h, a.k, a.sa + kSteps * step);
      f_(e.att, SolidFanPoint(c, r, h, a, area.last, start, end));
    }
  }

  F& f_;
};

// A definition's member points as each viewport needs them.
struct ViewportOutline {
  int viewport = 0;
  PointOutline outline;
};
using DefinitionOutlines = std::vector<ViewportOutline>;

}  // namespace

void JwDxfMapper::DxfOutBlockTree() {
  if (ctx_.Settings.OutputSpace != OutputSpace::ModelAndPaper || d_.blockTree.empty()) return;
  const int base = ctx_.Settings.BaseLayerGroup;
  auto viewportOf = [&](const TEntJwwAttr& att) {
    const int g = att.nGLayer <= 15 ? att.nGLayer : base;
    return m_->deLgp[static_cast<std::size_t>(g)].n;
  };
  auto measure = [&](const TEntJwwBlockDef& def) {
    std::map<int, std::vector<Point2>> points;
    auto add = [&](const TEntJwwAttr& att, Pt q) { points[viewportOf(att)].push_back({q.x, q.y}); };
    MemberPoints<decltype(add)>(add).List(MembersOf(def));
    DefinitionOutlines outlines;
    for (auto& [viewport, pts] : points)
      outlines.push_back({viewport, MakePointOutline(std::move(pts))});
    return outlines;
  };

  const double dx = ctx_.DrawingPaperSize.Width / 2, dy = ctx_.DrawingPaperSize.Height / 2;
  std::vector<std::optional<DefinitionOutlines>> measured(d_.blockDefs.size());
  std::size_t work = 0;
  for (const TEntJwwBlockTree& node : d_.blockTree) {
    if (node.defno < 0 || static_cast<std::size_t>(node.defno) >= d_.blockDefs.size()) continue;
    auto& outlines = measured[static_cast<std::size_t>(node.defno)];
    if (!outlines) outlines = measure(d_.blockDefs[static_cast<std::size_t>(node.defno)]);
    for (const ViewportOutline& v : *outlines) {
      if (!v.outline.Any) continue;
      work += OutlineCost(v.outline, node.r2, node.r3);
      // Beyond the work limit the box corners, placed, enclose the rest.
      const bool exact = work <= kExactReportWork;
      auto report = [&](double u, double w) {
        const double x = node.x + node.r1 * u + node.r2 * w + dx;
        const double y = node.y + node.r3 * u + node.r4 * w + dy;
        if (Finite({x, y})) m_->SetVPortMinMax(v.viewport, x, y);
      };
      ForOutlinePoints(v.outline, exact ? node.r2 : 0, exact ? node.r3 : 0, report);
    }
  }
}

}  // namespace parvex
