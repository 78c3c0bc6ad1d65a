// Dimensions as DIMENSION entities: the grouping of a drawing's entities by
// group number, the recognisers that decide which groups are dimensions,
// and the mapper's pass that writes each recognised group into its "*D"
// block and adds the DIMENSION naming it.
#include "converter/mapping/mapping_dimensions.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <initializer_list>
#include <numbers>
#include <span>
#include <string_view>
#include <unordered_map>

#include "common/geometry.h"
#include "common/number_text.h"
#include "common/value_helpers.h"
#include "converter/dxf/dxf_model.h"
#include "converter/mapping/jw_dxf_mapper.h"

namespace parvex {

namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kRadToDeg = 180.0 / kPi;
constexpr double kDegToRad = kPi / 180.0;

// DXF dimension types (group 70): the kind plus 32 (the block belongs to
// this dimension alone) and 128 (the text stands where the drawing put it).
constexpr int kDimRotated = 0 + 32 + 128;
constexpr int kDimDiameter = 3 + 32 + 128;
constexpr int kDimRadius = 4 + 32 + 128;
constexpr int kDimAngular3Point = 5 + 32 + 128;

// The dimension style every DIMENSION names: the file's current one, which
// its DIMSTYLE table defines. Without a name a reader would take
// "Standard", which the file does not define.
constexpr std::u16string_view kDimStyle = u"ISO-25";

// Text markers and flag patterns that make a group a dimension of a kind.
// A marker left empty tests nothing.
struct TextTest {
  std::array<std::u16string_view, 2> markers;
  std::uint16_t mask;
  std::uint16_t pattern;
};
constexpr TextTest kDiameterText{{u"φ", u""}, 0x5710, 0x4210};
constexpr TextTest kRadiusText{{u"R", u"Ｒ"}, 0x5710, 0x4110};
constexpr TextTest kAngularText{{u"ﾟ", u"°"}, 0x5710, 0x4410};
constexpr TextTest kLinearText{{u"", u""}, 0x4710, 0x4010};

bool Accepts(const TextTest& t, const TEntJwwMoji& text) {
  if ((text.att.sFlg & t.mask) == t.pattern) return true;
  return std::any_of(t.markers.begin(), t.markers.end(), [&](std::u16string_view m) {
    return !m.empty() && text.str.find(m) != std::u16string::npos;
  });
}

struct Pt {
  double x = 0;
  double y = 0;
};

// The record an order-list entry names, or nullptr when the entry is of
// another kind or its index lies outside the array.
template <class T>
const T* Entry(std::span<const T> records, const TEntJwwNo& no, JwwEntityKind kind) {
  if (no.EntType != kind || no.EntNo < 0 || static_cast<std::size_t>(no.EntNo) >= records.size())
    return nullptr;
  return &records[static_cast<std::size_t>(no.EntNo)];
}

// An image is carried as a text "^@BM<file>,<numbers>".
bool IsImageText(const std::u16string& s) {
  return s.starts_with(u"^@BM") && s.find(u',') != std::u16string::npos;
}

// The group number an entry joins, or nothing when it joins none. 0 means
// a group of its own (SXF-mode dimension records).
std::optional<std::uint32_t> GroupKey(const JwEntityList& l, const TEntJwwNo& no) {
  auto keyed = [](const TEntJwwAttr& a) -> std::optional<std::uint32_t> {
    if (a.lGroup == 0) return std::nullopt;
    return a.lGroup;
  };
  if (const auto* e = Entry(l.line, no, kJwwLine)) return keyed(e->att);
  if (const auto* e = Entry(l.enko, no, kJwwEnko)) return keyed(e->att);
  if (const auto* e = Entry(l.ten, no, kJwwTen)) return keyed(e->att);
  if (const auto* e = Entry(l.solid, no, kJwwSolid)) return keyed(e->att);
  if (const auto* e = Entry(l.moji, no, kJwwMoji)) {
    if (SamePoint12(e->start_x, e->start_y, e->end_x, e->end_y) || IsImageText(e->str))
      return std::nullopt;
    return keyed(e->att);
  }
  if (const auto* e = Entry(l.sunpo, no, kJwwSunpo)) {
    if (e->bSxfMode != 0) return 0u;
    return keyed(e->att);
  }
  return std::nullopt;  // block inserts and empty entries
}

// ---- Geometry of the tests ---------------------------------------------------

// Direction of a line modulo a half turn, in [0, pi).
double Direction180(const TEntJwwLine& l) {
  const double a = VectorAngle(l.end_x - l.start_x, l.end_y - l.start_y);
  return a >= kPi ? a - kPi : a;
}

// Angle between two directions modulo a half turn, in [0, pi/2].
double AngleBetween(double a, double b) {
  const double d = std::fabs(a - b);
  return std::min(d, kPi - d);
}

// p lies on the segment: within 1e-12 of its line and of its extent.
bool OnSegment(const TEntJwwLine& l, double px, double py) {
  const SegmentProjection s = PointWithinSegment(l.start_x, l.start_y, l.end_x, l.end_y, px, py);
  return s.Within && std::fabs(s.Offset) <= kTolerance12;
}

bool SameDegrees(double a, double b) {
  const double d = std::fabs(a - b);
  return d <= kTolerance12 || std::fabs(d - 360) <= kTolerance12;
}

// A point lies in the direction `deg` from the centre (the centre itself
// lies in every direction).
bool InDirection(double cx, double cy, double px, double py, double deg) {
  if (SamePoint12(cx, cy, px, py)) return true;
  return SameDegrees(NormalizeDeg(VectorAngle(px - cx, py - cy) * kRadToDeg), deg);
}

DimensionSegment SegmentOf(const TEntJwwLine& l) { return {l.start_x, l.start_y, l.end_x, l.end_y}; }

// A segment turned so that its first point is the end nearer to (x, y).
DimensionSegment NearerFirst(const TEntJwwLine& l, double x, double y) {
  if (Distance(l.end_x, l.end_y, x, y) < Distance(l.start_x, l.start_y, x, y))
    return {l.end_x, l.end_y, l.start_x, l.start_y};
  return SegmentOf(l);
}

// ---- Recognisers ---------------------------------------------------------------

class Recogniser {
 public:
  Recogniser(const DimensionGroup& g, const JwEntityList& l) : g_(g), l_(l) {}

  std::optional<RecognisedDimension> Run() {
    if (g_.key == 0) return FromSxfRecord();
    if (auto d = LineBased(DimensionKind::Diameter, kDiameterText)) return d;
    if (auto d = LineBased(DimensionKind::Radius, kRadiusText)) return d;
    if (auto d = Angular()) return d;
    return LineBased(DimensionKind::Linear, kLinearText);
  }

 private:
  const TEntJwwNo& No(int member) const { return l_.no[static_cast<std::size_t>(member)]; }
  const TEntJwwLine* LineOf(int m) const { return Entry(l_.line, No(m), kJwwLine); }
  const TEntJwwEnko* ArcOf(int m) const { return Entry(l_.enko, No(m), kJwwEnko); }
  const TEntJwwMoji* TextOf(int m) const { return Entry(l_.moji, No(m), kJwwMoji); }
  const TEntJwwSunpo* RecordOf(int m) const { return Entry(l_.sunpo, No(m), kJwwSunpo); }

  const TEntJwwMoji* FirstText() const {
    for (int m : g_.members) {
      if (const auto* t = TextOf(m)) return t;
    }
    return nullptr;
  }

  // The DIMENSION's attributes from a record: its layer, its line's pens.
  static TEntJwwAttr RecordAttr(const TEntJwwSunpo& r) {
    TEntJwwAttr a = r.Sen.att;
    a.nGLayer = r.att.nGLayer;
    a.nLayer = r.att.nLayer;
    return a;
  }

  std::optional<RecognisedDimension> FromSxfRecord() const {
    if (g_.members.size() != 1) return std::nullopt;
    const TEntJwwSunpo* r = RecordOf(g_.members.front());
    if (r == nullptr) return std::nullopt;
    RecognisedDimension d;
    d.kind = DimensionKind::SxfRecord;
    d.attr = RecordAttr(*r);
    d.text = &r->Moji;
    d.line = SegmentOf(r->Sen);
    d.ext1 = NearerFirst(r->Ho1, r->Kt1.start_x, r->Kt1.start_y);
    d.ext2 = NearerFirst(r->Ho2, r->Kt2.start_x, r->Kt2.start_y);
    return d;
  }

  // Diameter, radius and linear dimensions: a dimension line with its text
  // (from the first dimension record, else the first line and the first
  // text), lines continuing it at either end, and for linear dimensions
  // the extension lines.
  std::optional<RecognisedDimension> LineBased(DimensionKind kind, const TextTest& test) const {
    const TEntJwwLine* line = nullptr;
    const TEntJwwMoji* text = nullptr;
    RecognisedDimension d;
    d.kind = kind;
    std::vector<int> used;  // members that are part of the dimension line
    for (int m : g_.members) {
      if (const TEntJwwSunpo* r = RecordOf(m)) {
        if (r->bSxfMode != 0) return std::nullopt;
        line = &r->Sen;
        text = &r->Moji;
        d.attr = RecordAttr(*r);
        break;
      }
    }
    if (line == nullptr) {
      for (int m : g_.members) {
        if (const TEntJwwLine* l = LineOf(m)) {
          line = l;
          used.push_back(m);
          d.attr = l->att;
          break;
        }
      }
      text = FirstText();
    }
    if (line == nullptr || text == nullptr || !Accepts(test, *text)) return std::nullopt;
    d.text = text;
    d.line = SegmentOf(*line);

    // Lines of the same direction touching the start or the end.
    const double dir = Direction180(*line);
    std::optional<Pt> atStart, atEnd;
    for (int m : g_.members) {
      const TEntJwwLine* l = LineOf(m);
      if (l == nullptr || l == line || AngleBetween(Direction180(*l), dir) > kTolerance12) continue;
      auto otherEnd = [&](double x, double y) -> std::optional<Pt> {
        if (SamePoint12(l->start_x, l->start_y, x, y)) return Pt{l->end_x, l->end_y};
        if (SamePoint12(l->end_x, l->end_y, x, y)) return Pt{l->start_x, l->start_y};
        return std::nullopt;
      };
      if (!atStart) {
        if ((atStart = otherEnd(line->start_x, line->start_y))) {
          used.push_back(m);
          continue;
        }
      }
      if (!atEnd && (atEnd = otherEnd(line->end_x, line->end_y))) used.push_back(m);
    }
    // A radius runs from the centre side to the arc: its continuation, the
    // leader beyond the arc, belongs at the second end.
    if (kind == DimensionKind::Radius && atStart && !atEnd) {
      d.line = {d.line.x2, d.line.y2, d.line.x1, d.line.y1};
    }
    if (kind == DimensionKind::Linear) {
      for (int m : g_.members) {
        const TEntJwwLine* l = LineOf(m);
        if (l == nullptr || l == line || std::find(used.begin(), used.end(), m) != used.end())
          continue;
        if (AngleBetween(Direction180(*l), dir) <= kPi / 4) continue;
        if (!d.ext1 && OnSegment(*l, line->start_x, line->start_y)) {
          d.ext1 = SegmentOf(*l);
        } else if (!d.ext2 && OnSegment(*l, line->end_x, line->end_y)) {
          d.ext2 = SegmentOf(*l);
        }
      }
    }
    return d;
  }

  // An angular dimension: the first circular arc, the first text, and the
  // lines along the arc's two end directions.
  std::optional<RecognisedDimension> Angular() const {
    const TEntJwwEnko* arc = nullptr;
    for (int m : g_.members) {
      const TEntJwwEnko* a = ArcOf(m);
      if (a != nullptr && std::fabs(a->dHenpeiRitsu - 1) <= kTolerance12) {
        arc = a;
        break;
      }
    }
    const TEntJwwMoji* text = FirstText();
    if (arc == nullptr || text == nullptr || !Accepts(kAngularText, *text)) return std::nullopt;
    RecognisedDimension d;
    d.kind = DimensionKind::Angular;
    d.attr = arc->att;
    d.text = text;
    d.cx = arc->start_x;
    d.cy = arc->start_y;
    d.r = arc->dHankei;
    d.sa = NormalizeDeg((arc->radKaishiKaku + arc->radKatamukiKaku) * kRadToDeg);
    d.ea = NormalizeDeg(d.sa + arc->radEnkoKaku * kRadToDeg);
    if (arc->radEnkoKaku < 0) std::swap(d.sa, d.ea);
    d.line = {d.cx + d.r * std::cos(d.sa * kDegToRad), d.cy + d.r * std::sin(d.sa * kDegToRad),
              d.cx + d.r * std::cos(d.ea * kDegToRad), d.cy + d.r * std::sin(d.ea * kDegToRad)};
    for (int m : g_.members) {
      const TEntJwwLine* l = LineOf(m);
      if (l == nullptr) continue;
      auto along = [&](double deg) {
        return InDirection(d.cx, d.cy, l->start_x, l->start_y, deg) &&
               InDirection(d.cx, d.cy, l->end_x, l->end_y, deg);
      };
      if (!d.ext1 && along(d.sa)) {
        d.ext1 = NearerFirst(*l, d.cx, d.cy);
      } else if (!d.ext2 && along(d.ea)) {
        d.ext2 = NearerFirst(*l, d.cx, d.cy);
      }
    }
    return d;
  }

  const DimensionGroup& g_;
  const JwEntityList& l_;
};

// Direction from (x1, y1) to (x2, y2) in degrees in [0, 360), on a grid of
// 1e-12.
double DirectionDeg(double x1, double y1, double x2, double y2) {
  return SnapTo1e12(NormalizeDeg(VectorAngle(x2 - x1, y2 - y1) * kRadToDeg));
}

// The attachment point of the DIMENSION text from the text's base code:
// Jw_cad numbers the rows from the bottom, DXF from the top. A code outside
// 0..9 is treated as 0 (no base code).
int AttachmentOf(int baseCode) {
  if (baseCode < 0 || baseCode > 9) return 0;
  switch (baseCode) {
    case 1: return 7;
    case 2: return 8;
    case 3: return 9;
    case 7: return 1;
    case 8: return 2;
    case 9: return 3;
    default: return baseCode;
  }
}

}  // namespace

std::vector<DimensionGroup> GroupDimensionMembers(const JwDrawingView& d) {
  std::vector<DimensionGroup> groups;
  std::unordered_map<std::uint32_t, std::size_t> byKey;  // group number -> first group
  auto offer = [&](const JwEntityList& list, int def) {
    for (std::size_t e = 0; e < list.no.size(); ++e) {
      const std::optional<std::uint32_t> key = GroupKey(list, list.no[e]);
      if (!key) continue;
      const int entry = static_cast<int>(e);
      if (*key == 0) {
        groups.push_back({0, def, {entry}});
        continue;
      }
      const auto [it, fresh] = byKey.try_emplace(*key, groups.size());
      if (fresh) {
        groups.push_back({*key, def, {entry}});
      } else if (groups[it->second].def == def) {
        groups[it->second].members.push_back(entry);
      }
    }
  };
  for (std::size_t k = 0; k < d.blockDefs.size(); ++k) {
    if (d.blockDefs[k].ref_flag) offer(MembersOf(d.blockDefs[k]), static_cast<int>(k));
  }
  offer(d.top, -1);
  return groups;
}

std::optional<RecognisedDimension> RecogniseDimension(const DimensionGroup& g,
                                                      const JwEntityList& list) {
  for (int m : g.members) {
    if (m < 0 || static_cast<std::size_t>(m) >= list.no.size()) return std::nullopt;
  }
  return Recogniser(g, list).Run();
}

std::optional<TDXF_Dimension> DimensionEntity(const RecognisedDimension& d, double dx, double dy) {
  if (d.text == nullptr) return std::nullopt;
  const TEntJwwMoji& text = *d.text;
  const Pt p1{d.line.x1 + dx, d.line.y1 + dy};
  const Pt p2{d.line.x2 + dx, d.line.y2 + dy};
  const Pt mid{(p1.x + p2.x) / 2, (p1.y + p2.y) / 2};
  // The first point of an extension line; without one, the end of the
  // dimension line it would start from, so that the measurement stays that
  // of the dimension line.
  auto origin = [&](const std::optional<DimensionSegment>& ext, Pt fallback) {
    return ext ? Pt{ext->x1 + dx, ext->y1 + dy} : fallback;
  };

  TDXF_Dimension r;
  r.bas = AttachmentOf(text.att.nPenStyle);
  r.str = text.str;
  r.sst = kDimStyle;
  r.hang = -1;
  switch (d.kind) {
    case DimensionKind::SxfRecord:
    case DimensionKind::Linear: {
      r.stp = kDimRotated;
      r.x0 = p2.x, r.y0 = p2.y;
      r.x1 = mid.x, r.y1 = mid.y;
      const Pt e1 = origin(d.ext1, p1), e2 = origin(d.ext2, p2);
      r.fl3 = r.fl4 = true;
      r.x3 = e1.x, r.y3 = e1.y;
      r.x4 = e2.x, r.y4 = e2.y;
      r.hlen = -1;
      // A dimension measures the same along either direction of its line.
      double a = DirectionDeg(d.line.x2, d.line.y2, d.line.x1, d.line.y1);
      if (std::fabs(a - 180) <= kTolerance12 || std::fabs(a - 360) <= kTolerance12) a = 0;
      r.ang = a;
      r.sang = DirectionDeg(text.start_x, text.start_y, text.end_x, text.end_y);
      break;
    }
    case DimensionKind::Diameter:
    case DimensionKind::Radius:
      r.stp = d.kind == DimensionKind::Diameter ? kDimDiameter : kDimRadius;
      r.x0 = p1.x, r.y0 = p1.y;
      r.x1 = mid.x, r.y1 = mid.y;
      r.fl5 = true;
      r.x5 = p2.x, r.y5 = p2.y;
      r.hlen = 0;
      break;
    case DimensionKind::Angular: {
      r.stp = kDimAngular3Point;
      double sweep = d.ea - d.sa;
      if (sweep < 0) sweep += 360;
      const double m = (d.sa + sweep / 2) * kDegToRad;
      const Pt onArc{d.cx + d.r * std::cos(m) + dx, d.cy + d.r * std::sin(m) + dy};
      r.x0 = r.x1 = onArc.x;
      r.y0 = r.y1 = onArc.y;
      const Pt e1 = origin(d.ext1, p1), e2 = origin(d.ext2, p2);
      r.fl3 = r.fl4 = r.fl5 = true;
      r.x3 = e1.x, r.y3 = e1.y;
      r.x4 = e2.x, r.y4 = e2.y;
      r.x5 = d.cx + dx, r.y5 = d.cy + dy;
      r.hlen = -1;
      break;
    }
  }
  if (!Finite({r.x0, r.y0, r.x1, r.y1, r.x3, r.y3, r.x4, r.y4, r.x5, r.y5, r.ang, r.sang}))
    return std::nullopt;
  return r;
}

// ---- The mapper's dimension pass ---------------------------------------------

namespace {

// Every point of a DIMENSION record, for placing them alike.
template <class F>
void ForEachPoint(TDXF_Dimension& r, F f) {
  f(r.x0, r.y0);
  f(r.x1, r.y1);
  if (r.fl3) f(r.x3, r.y3);
  if (r.fl4) f(r.x4, r.y4);
  if (r.fl5) f(r.x5, r.y5);
  if (r.fl6) f(r.x6, r.y6);
}

}  // namespace

void JwDxfMapper::DxfOutDimBlock() {
  const double paperDx = ctx_.DrawingPaperSize.Width / 2;
  const double paperDy = ctx_.DrawingPaperSize.Height / 2;
  int dn = 0;
  for (const DimensionGroup& g : GroupDimensionMembers(d_)) {
    const bool top = g.def < 0;
    const JwEntityList list =
        top ? d_.top : MembersOf(d_.blockDefs[static_cast<std::size_t>(g.def)]);
    const std::optional<RecognisedDimension> found = RecogniseDimension(g, list);
    if (!found) continue;
    const double dx = top ? paperDx : 0, dy = top ? paperDy : 0;
    const std::optional<TDXF_Dimension> raw = DimensionEntity(*found, dx, dy);
    if (!raw) continue;

    // The DIMENSION is placed like an entity of its level; a block target
    // is only scaled, whichever block it is.
    const DimensionSegment& l = found->line;
    const Place p = Placement(found->attr, top ? kTopLevel : 0, dx, dy,
                              std::function<int()>([&] { return ClipLine(l.x1, l.y1, l.x2, l.y2); }));
    TDXF_Dimension dim = *raw;
    bool finite = true;
    ForEachPoint(dim, [&](double& x, double& y) {
      x = p.X(x);
      y = p.Y(y);
      finite = finite && Finite({x, y});
    });
    if (!finite) continue;
    const int bn = m_->AddAnonymousBlockDef(u"*D" + IntToText(dn), -1);
    if (bn < 0) continue;
    ++dn;

    // The DIMENSION's points (in drawing coordinates) go to the viewports
    // as its parts' points would.
    TDXF_Dimension reported = *raw;
    ForEachPoint(reported, [&](double& x, double& y) { Report(p, x, y); });
    dim.attr = p.In(AttributeRule(found->attr));
    dim.bln = bn;

    // The group's entities go into the block placed exactly as the
    // DIMENSION (translated too at the top level), so that its picture lies
    // on its points. Entities of a block definition are written with space
    // 0 or 1, which is all a block's contents may carry.
    Place inside = p;
    inside.sp = std::min(inside.sp, 1);
    dimPlace_ = inside;
    for (int m : g.members) {
      const TEntJwwNo& no = list.no[static_cast<std::size_t>(m)];
      DxfOutDimMember(list, no, bn, dx, dy);
      dimTaken_.insert(&no);
    }
    dimPlace_.reset();
    if (!top) dim.attr.space = std::min(dim.attr.space, 1);
    dimensions_.push_back({g.def, std::move(dim)});
  }
}

void JwDxfMapper::DxfOutDimMember(const JwEntityList& list, const TEntJwwNo& no, int bn,
                                  double dx, double dy) {
  if (const auto* e = Entry(list.line, no, kJwwLine)) return DxfOutLine(*e, bn, dx, dy);
  if (const auto* e = Entry(list.enko, no, kJwwEnko)) return DxfOutEnko(*e, bn, dx, dy);
  if (const auto* e = Entry(list.ten, no, kJwwTen)) return DxfOutTen(*e, bn, dx, dy);
  if (const auto* e = Entry(list.moji, no, kJwwMoji)) return DxfOutMoji(*e, bn, dx, dy);
  if (const auto* e = Entry(list.sunpo, no, kJwwSunpo)) return DxfOutSunpo(*e, bn, dx, dy);
  if (const auto* e = Entry(list.solid, no, kJwwSolid)) return DxfOutSolid(*e, bn, dx, dy);
}

bool JwDxfMapper::TakenByDimension(const TEntJwwNo& no) const {
  return !dimTaken_.empty() && dimTaken_.count(&no) != 0;
}

void JwDxfMapper::DxfOutDim(int def, int bn) {
  for (const PendingDimension& d : dimensions_) {
    if (d.def == def) DxfOutDimEnt(d.record, bn);
  }
}

void JwDxfMapper::DxfOutDimEnt(const TDXF_Dimension& r, int bn) { m_->AddDim(bn, r); }

}  // namespace parvex
