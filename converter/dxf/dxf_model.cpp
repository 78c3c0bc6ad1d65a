// Life cycle, settings and the entity adders of the DXF model.
#include "converter/dxf/dxf_model.h"

#include <cmath>

#include "common/value_helpers.h"
#include "converter/dxf/dxf_guid.h"
#include "converter/dxf/dxf_text.h"
#include "converter/dxf/dxf_text_expansion.h"

namespace parvex {

namespace {

constexpr double kTextMin = 1e-10;
constexpr double kTextMax = 1e10;
// Widest text a TEXT entity gets (half-width 1, other 2).
constexpr int kTextWidth = 255;

// Cuts s to its longest prefix of at most kTextWidth columns. A text of up
// to half that many code units (each at most 2 columns wide) is left as it is.
void CutToWidth(std::u16string& s) {
  if (s.size() > static_cast<std::size_t>(kTextWidth) / 2) s = dxftext::CopyWidth(s, kTextWidth);
}

double ClampSize(double v) {
  v = std::fabs(v);
  if (!(v >= kTextMin)) return kTextMin;  // also NaN
  if (v > kTextMax) return kTextMax;
  return v;
}

// Which attributes of a kind the by-layer reduction applies to.
struct Reduced {
  bool colour, ltype, lineweight;
};

template <class R>
constexpr Reduced ReducedOf() {
  switch (R::kKind) {
    case DxfEntityKind::Point:
      return {true, false, true};
    case DxfEntityKind::Solid3:
    case DxfEntityKind::Solid4:
    case DxfEntityKind::Text:
      return {true, false, false};
    case DxfEntityKind::Image:
    case DxfEntityKind::Viewport:
      return {false, false, false};
    default:
      return {true, true, true};
  }
}

}  // namespace

TDXFmodel::TDXFmodel() { deLgp.assign(16, TDXF_LGroup{}); }

void TDXFmodel::SetDXFVer(DxfVersion v, OutputSpace sp) {
  Ver = v;
  Spa = sp;
}

void TDXFmodel::SetAppName(std::u16string_view s) { AppNam = std::u16string(s); }

void TDXFmodel::SetDrawingIdentity(const Digest128& source, const ConversionSettings& settings) {
  sourceDigest_ = source;
  settingsDigest_ = SettingsDigest(settings);
}

void TDXFmodel::SetPap(double mix, double miy, double max, double may, double pax,
                       double pay) {
  MinWx = mix;
  MinWy = miy;
  MaxWx = max;
  MaxWy = may;
  papx = pax;
  papy = pay;
}

void TDXFmodel::SetScale(double scl) { pscale = scl; }
void TDXFmodel::SetLayerNameType(LayerNameType n) { laynametyp = n; }

void TDXFmodel::SetTenTransType(PointConversion n, double r) {
  tentyp = n;
  tenrad = r;
}

void TDXFmodel::SetMojiStyle(TextStyleMode n) { mojistyle = n; }

// ---------------------------------------------------------------------------

DxfEntities* TDXFmodel::Container(int bn) {
  if (bn == kTopLevel) return &top_;
  if (bn < 0 || bn >= deBlockDefN()) return nullptr;
  return &deBlockDef[static_cast<std::size_t>(bn)].entities;
}

template <class R>
void TDXFmodel::ByLayer(R& r) const {
  constexpr Reduced reduced = ReducedOf<R>();
  DxfAttributes& a = r.attr;
  if (a.layer < 0 || a.layer >= layn()) return;
  const TDXF_Layer& l = lays[static_cast<std::size_t>(a.layer)];
  if (reduced.colour && a.colour == l.col) a.colour = 0;
  if (reduced.ltype && a.ltype == l.ltp) a.ltype = 0;
  if (reduced.lineweight && a.lineweight == l.wid) a.lineweight = 0;
}

template <class R>
bool TDXFmodel::Store(int bn, R r) {
  DxfEntities* c = Container(bn);
  if (c == nullptr) return false;
  ByLayer(r);
  return c->Append(std::move(r));
}

bool TDXFmodel::AddLine(int bn, const TDXF_Line& r) { return Store(bn, r); }
bool TDXFmodel::AddTen(int bn, const TDXF_Ten& r) { return Store(bn, r); }
bool TDXFmodel::AddSolid3(int bn, const TDXF_Solid3& r) { return Store(bn, r); }
bool TDXFmodel::AddImage(int bn, const TDXF_Image& r) { return Store(bn, r); }

namespace {

// Whether a curve's sweep is nothing or (where the container makes that a
// whole curve) a whole turn.
bool WholeCurve(const DxfCurve& c, const DxfEntities& target) {
  const double d = std::fabs(c.sweep);
  return d <= kTolerance14 ||
         (target.WholeTurnIsWholeCurve() && std::fabs(d - 360) <= kTolerance14);
}

}  // namespace

DxfEntityKind TDXFmodel::CurveKind(const DxfCurve& c, const DxfEntities& target) {
  if (!(std::fabs(c.ratio - 1) <= kTolerance14)) return DxfEntityKind::Ellipse;  // NaN too
  return WholeCurve(c, target) ? DxfEntityKind::Circle : DxfEntityKind::Arc;
}

bool TDXFmodel::AddArc(int bn, const DxfCurve& c) {
  DxfEntities* target = Container(bn);
  if (target == nullptr) return false;
  switch (CurveKind(c, *target)) {
    case DxfEntityKind::Circle:
      return Store(bn, TDXF_Circle{.attr = c.attr, .x = c.x, .y = c.y, .r = c.r});
    case DxfEntityKind::Arc:
      return Store(bn, TDXF_Arc{.attr = c.attr, .x = c.x, .y = c.y, .r = c.r,
                                .sa = NormalizeDeg(c.start + c.axis), .da = c.sweep});
    default: {
      // An ellipse in a block definition keeps a whole turn as its sweep.
      const bool whole = target->WholeTurnIsWholeCurve() && WholeCurve(c, *target);
      return Store(bn, TDXF_Ellipse{.attr = c.attr, .x = c.x, .y = c.y, .r = c.r, .he = c.ratio,
                                    .sa = c.start, .da = whole ? 0 : c.sweep, .ka = c.axis});
    }
  }
}

bool TDXFmodel::AddSolid4(int bn, const TDXF_Solid4& r) {
  if (std::fabs(r.x3 - r.x4) <= kTolerance12 && std::fabs(r.y3 - r.y4) <= kTolerance12) {
    return Store(bn, TDXF_Solid3{.attr = r.attr, .x1 = r.x1, .y1 = r.y1, .x2 = r.x2,
                                 .y2 = r.y2, .x3 = r.x3, .y3 = r.y3});
  }
  return Store(bn, r);
}

// ---------------------------------------------------------------------------
// Texts

int TDXFmodel::FontIndex(std::u16string_view name) {
  const auto it = fontIndex_.find(name);
  if (it != fontIndex_.end()) return it->second;
  const int index = static_cast<int>(fonts_.size());
  fonts_.emplace_back(name);
  fontIndex_.emplace(fonts_.back(), index);
  return index;
}

const std::u16string& TDXFmodel::FontName(int i) const {
  static const std::u16string none;
  return i >= 0 && static_cast<std::size_t>(i) < fonts_.size() ? fonts_[static_cast<std::size_t>(i)]
                                                               : none;
}

void TDXFmodel::NormaliseMoji(TDXF_Moji& r) {
  r.w = ClampSize(r.w);
  r.h = ClampSize(r.h);
  r.syat = r.syat && !r.tate;
  CutToWidth(r.st);
}

bool TDXFmodel::StoreMoji(DxfEntities& c, TDXF_Moji r) {
  NormaliseMoji(r);
  ByLayer(r);
  return c.Append(std::move(r));
}

bool TDXFmodel::AddMoji(int bn, TDXF_Moji r) {
  DxfEntities* c = Container(bn);
  if (c == nullptr) return false;
  NormaliseMoji(r);
  std::optional<TDXF_MojiExpansion> e = ExpandMoji(r, mexp);
  if (!e) return StoreMoji(*c, std::move(r));
  for (TDXF_Line& l : e->lines) {
    ByLayer(l);
    c->Append(std::move(l));
  }
  for (TDXF_Moji& t : e->texts) StoreMoji(*c, std::move(t));
  return true;
}

// ---------------------------------------------------------------------------
// Polylines, dimensions, viewports, inserts

bool TDXFmodel::AddPLine(int bn, TDXF_PLine r) { return Store(bn, std::move(r)); }

bool TDXFmodel::AddDim(int bn, TDXF_Dimension r) {
  DxfEntities* c = Container(bn);
  if (c == nullptr) return false;
  if (c->RequiresExistingBlocks() && (r.bln < 0 || r.bln >= deBlockDefN())) return false;
  r.str = ExpandDimensionText(r.str, LayerGroupOfLayer(r.attr.layer), mexp);
  CutToWidth(r.str);
  return Store(bn, std::move(r));
}

bool TDXFmodel::AddVPort(TDXF_ViewPort r) {
  // Viewports are numbered within their layout: a CAD program takes the
  // layout's viewport 1 for the paper itself and the others as windows
  // onto model space.
  int n = 1;
  for (const TDXF_ViewPort& v : Viewports()) n += v.attr.space == r.attr.space;
  r.id = n;
  return Store(kTopLevel, std::move(r));
}

bool TDXFmodel::AddBlock(int bn, const TDXF_Block& r) {
  DxfEntities* c = Container(bn);
  if (c == nullptr) return false;
  if (c->RequiresExistingBlocks() && (r.bln < 0 || r.bln >= deBlockDefN())) return false;
  return Store(bn, r);
}

}  // namespace parvex
