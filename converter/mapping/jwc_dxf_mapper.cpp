// The DOS-edition mapping: driver, layer and style passes, and the entity
// pass (lines with their curve polylines, arcs, texts, points, virtual
// points).
//
// No number that is not finite may reach the DXF file: a record whose
// values (as read, or after placement) are NaN or infinite is left out and
// the rest of the drawing converts.
#include "converter/mapping/jwc_dxf_mapper.h"

#include <cmath>
#include <initializer_list>
#include <numbers>

#include "common/geometry.h"
#include "common/image_text.h"
#include "common/number_text.h"
#include "common/text_helpers.h"
#include "common/value_helpers.h"
#include "converter/attributes/gra_attribute.h"
#include "converter/dxf/dxf_default_tables.h"
#include "converter/dxf/dxf_model.h"
#include "converter/mapping/jwc_to_dxf.h"
#include "converter/mapping/layer_usage_counter.h"
#include "converter/mapping/mapping_images.h"
#include "converter/mapping/mapping_shared.h"

namespace parvex {

namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kRadToDeg = 180.0 / kPi;
constexpr double kDegToRad = kPi / 180.0;
// The thinnest axis ratio an ELLIPSE may have.
constexpr double kThinnestRatio = 1e-6;
// Image texts naming a file by this prefix mean an image a JWW drawing
// carries; a DOS-edition file carries none.
constexpr std::u16string_view kCarriedImagePrefix = u"%temp%";
constexpr std::u16string_view kTextFont = u"ＭＳ ゴシック";
constexpr std::u16string_view kVerticalTextFont = u"@ＭＳ ゴシック";

// A scale as the mapping uses it: six decimals; a scale that is not a
// finite positive number draws the group at full size.
double MappedScale(double scale) {
  const double s = RoundDecimals(scale, 6, 2);
  return std::isfinite(s) && s > 0 ? s : 1.0;
}

// The text-kind code of a text (the style index the writer takes): the
// styles "MOJI1" to "MOJI10" and their vertical twins follow the two
// default styles. A kind outside 1..10 uses kind 1, as its sizes do.
int TextKindCode(int no, bool vertical) {
  const int kind = no >= 1 && no <= 10 ? no : 1;
  return kind * 2 + (vertical ? 1 : 0);
}

// Gives an entity array's memory back once the mapping is done with it.
template <class Record>
void Release(std::vector<Record>& records) {
  std::vector<Record>().swap(records);
}

}  // namespace

// ---- Pure rules --------------------------------------------------------------

JwcArcCurve ArcCurveOf(const TEntJwcArc2& e) {
  JwcArcCurve c;
  c.start = NormalizeDegTol(0.0001, e.st);
  c.sweep = NormalizeDegTol(0.0001, e.et - c.start);
  c.tilt = NormalizeDegTol(0.0001, e.tt);
  double h = e.h;
  if (std::fabs(h - 1.0) <= 1e-6) h = 1.0;
  if (h > 1.0) {
    // The second axis is the longer one: it becomes the major axis.
    c.radiusFactor = h;
    c.ratio = 1.0 / h;
    c.tilt = NormalizeDeg(c.tilt + 90);
    c.start = NormalizeDeg(c.start - 90);
  } else if (h <= 0.0) {
    c.ratio = kThinnestRatio;
  } else {
    c.ratio = std::fmax(h, kThinnestRatio);
  }
  return c;
}

bool JoinsCurvePolyline(const TEntJwcLine& e, bool curveToPolyline) {
  return curveToPolyline && (e.flg2 & 0xC0) != 0 && (e.flg2 & 0x20) == 0 &&
         (e.flg3 & 0x20) == 0;
}

bool EndsCurve(const TEntJwcLine& e) { return (e.flg2 & 0xC0) == 0xC0; }

JwcTextLine TextLineOf(const TEntJwcMoji2& e, const TEntJwcMojiType& kind, double sizeFactor,
                       TextStyleMode mode) {
  JwcTextLine t;
  t.w = kind.width / 10.0 * sizeFactor;
  t.h = kind.height / 10.0 * sizeFactor;
  t.d = kind.dist / 10.0 * sizeFactor;
  t.angle = VectorAngle(static_cast<double>(e.x2) - e.x1, static_cast<double>(e.y2) - e.y1);
  t.vertical = (e.flg1 & 0x20) != 0;
  double length = 0;
  if (t.vertical) {
    std::swap(t.w, t.h);
    length = TextRunLengthSimple(e.s, t.w, t.d);
  } else {
    length = TextRunLength(e.s, t.w, t.d);
  }
  const double mx = (static_cast<double>(e.x1) + e.x2) / 2;
  const double my = (static_cast<double>(e.y1) + e.y2) / 2;
  const double ux = std::cos(t.angle), uy = std::sin(t.angle);
  t.x1 = mx - ux * length / 2;
  t.y1 = my - uy * length / 2;
  t.x2 = mx + ux * length / 2;
  t.y2 = my + uy * length / 2;
  if (t.vertical && mode != TextStyleMode::TrueType) {
    // SHX vertical text is centred on the stored line.
    const double vx = -uy * t.h / 2, vy = ux * t.h / 2;
    t.x1 += vx;
    t.y1 += vy;
    t.x2 += vx;
    t.y2 += vy;
  }
  return t;
}

// ---- Views -------------------------------------------------------------------

JwcDrawingView MakeDrawingView(TJwcData& jwc) {
  JwcDrawingView v;
  v.entities = &jwc;
  v.comment1 = jwc.Enthd.comment1;
  v.comment2 = jwc.Enthd.comment2;
  v.drawTime = jwc.Enthd.drawtime;
  for (int g = 0; g < kJwcLayerGroupCount; ++g) v.groupScales[g] = MappedScale(jwc.EntLgrp[g].scale);
  v.lgrp = jwc.EntLgrp;
  v.lay = jwc.EntLay;
  v.vten = std::span<const TEntJwcVten>(jwc.EntVten).subspan(1, jwc.VirtualPointCount());
  return v;
}

JwcDrawingView MakeDrawingView(TJwkData& jwk) {
  JwcDrawingView v;
  v.shape = true;
  v.entities = &jwk;
  v.comment1 = jwk.Enthd.comment1;
  v.comment2 = jwk.Enthd.comment2;
  v.groupScales.fill(MappedScale(jwk.Enthd.scale));
  return v;
}

Status FileOutDXF(TJwcData&& drawing, ConversionContext& context,
                  const std::filesystem::path& destination, DxfVersion ver) {
  const JwcDrawingView view = MakeDrawingView(drawing);
  JwcDxfMapper mapper(view, context);
  return mapper.FileOutDXF(destination, ver);
}

Status FileOutDXF(TJwkData&& shape, ConversionContext& context,
                  const std::filesystem::path& destination, DxfVersion ver) {
  const JwcDrawingView view = MakeDrawingView(shape);
  JwcDxfMapper mapper(view, context);
  return mapper.FileOutDXF(destination, ver);
}

// ---- Driver ------------------------------------------------------------------

JwcDxfMapper::JwcDxfMapper(const JwcDrawingView& drawing, ConversionContext& context)
    : d_(drawing), ents_(*drawing.entities), ctx_(context) {}

JwcDxfMapper::~JwcDxfMapper() = default;

Status JwcDxfMapper::FileOutDXF(const std::filesystem::path& destination, DxfVersion ver) {
  const ConversionSettings& st = ctx_.Settings;
  destination_ = destination;
  // A shape has no paper of its own and no layouts; a drawing has no
  // drawing frames, so it gets no layouts either.
  space_ = d_.shape || st.OutputSpace == OutputSpace::Layouts ? OutputSpace::Model
                                                              : st.OutputSpace;
  m_ = std::make_unique<TDXFmodel>();
  TDXFmodel& m = *m_;
  m.SetDXFVer(ver, space_);
  m.SetAppName(kConverterAppName);
  // The extents are paper millimetres from the lower left already.
  const DrawingExtents& e = ctx_.Extents;
  m.SetPap(e.ExtMinX, e.ExtMinY, e.ExtMaxX, e.ExtMaxY, ctx_.DrawingPaperSize.Width,
           ctx_.DrawingPaperSize.Height);
  const int base = st.BaseLayerGroup >= 0 && st.BaseLayerGroup < 16 ? st.BaseLayerGroup : 0;
  m.SetScale(d_.groupScales[base]);

  TextExpansionInputs expansion = ContextExpansionInputs(ctx_);
  expansion.Memo1 = d_.comment1;
  expansion.Memo2 = d_.comment2;
  expansion.EditingSeconds = d_.drawTime;
  expansion.PrintScale = 1;
  expansion.LayerGroupScales = d_.groupScales;
  for (int n = 1; n <= 9; ++n) expansion.PenColours[n - 1] = JwcColorToAci(n);
  m.SetMojiExpInfo(expansion);

  SetModelSettings(m, st);

  AddDefaultLtypes(m);
  DxfOutLayer();
  AddDefaultStyles(m);
  DxfOutStyle();
  if (!ents_.EntTen.empty()) AddTenBlock(m);
  DxfOutEntity();

  Status saved = m.SaveDXF(ctx_.SourcePath, destination);
  m_.reset();
  images_.reset();
  return saved;
}

// ---- Layers ------------------------------------------------------------------

void JwcDxfMapper::DxfOutLayer() {
  TDXFmodel& m = *m_;
  TJwLayerCount counter;
  counter.JWC_Init();
  for (const TEntJwcLine& e : ents_.EntLine) {
    if (e.typ != 9) counter.JWC_CountUp(e.lay, JwcColorToAci(e.col), JwcStyleToLtype(e.typ));
  }
  for (const TEntJwcArc2& e : ents_.EntArc) {
    if (e.typ != 9) counter.JWC_CountUp(e.lay, JwcColorToAci(e.col), JwcStyleToLtype(e.typ));
  }
  for (const TEntJwcMoji2& e : ents_.EntMoji) {
    if (e.no >= 1 && e.no <= 10) {
      counter.JWC_CountUp(e.lay, JwcColorToAci(ents_.TextKind(e.no).penNo), -1);
    }
  }
  for (const TEntJwcTen& e : ents_.EntTen) counter.JWC_CountUp(e.lay, JwcColorToAci(e.col), -1);
  counter.gnmaxr = ctx_.Settings.BaseLayerGroup;
  counter.CaluMax();
  layerGroupMost_ = counter.gnmax;

  AddDefaultLayers(m);
  const bool named = d_.lgrp.size() >= 16 && d_.lay.size() >= 256;
  for (int i = 0; i < 256; ++i) {
    const int g = i / 16;
    const int l = i % 16;
    std::u16string name;
    bool shown = true;
    if (named) {
      name = m.AdjustLayerName(g, l, m.DefautLayerName(i, d_.lgrp[g].name, d_.lay[i].name));
      shown = (d_.lgrp[g].dispF & 1) != 0 && (d_.lay[i].dispF & 1) != 0;
    } else {
      // A shape names its layers by group and layer number alone.
      name = m.AdjustLayerName(g, l, u"");
    }
    AddCountedLayer(m, name, counter.cn[i], shown);
  }
}

// ---- Text styles -------------------------------------------------------------

void JwcDxfMapper::DxfOutStyle() {
  TDXFmodel& m = *m_;
  switch (ctx_.Settings.TextStyleMode) {
    case TextStyleMode::PerKind:
      for (int k = 1; k <= 10; ++k) {
        const TEntJwcMojiType& kind = ents_.EntMjtp[k];
        AddShxStylePair(m, u"MOJI" + IntToText(k), kind.WidthFactor(), kind.height / 10.0);
      }
      break;
    case TextStyleMode::OneStyle:
      AddShxStylePair(m, u"MOJI1", 1.0, 2.0);
      break;
    case TextStyleMode::TrueType:
      m.AddStyle({.nam = u"MOJI1", .fo1 = std::u16string(kTextFont) + u".ttf", .mhl = 2.0});
      m.AddStyle(
          {.nam = u"MOJI1T", .fo1 = std::u16string(kVerticalTextFont) + u".ttf", .mhl = 2.0});
      break;
  }
}

// ---- Placement ---------------------------------------------------------------

JwcDxfMapper::Place JwcDxfMapper::PlaceOf(int lay) const {
  Place p;
  p.g = (lay / 16) & 15;
  if (d_.shape) {
    // Full-size coordinates: only sizes take the shape's scale. Radii are
    // lengths of the drawing like the coordinates and stay as stored.
    p.size = d_.groupScales[0];
    return p;
  }
  const TDXF_LGroup& lg = m_->deLgp[static_cast<size_t>(p.g)];
  p.s = lg.sc;
  p.tx = lg.dx;
  p.ty = lg.dy;
  p.size = lg.sc;
  p.radius = lg.sc;
  p.sp = space_ == OutputSpace::ModelAndPaper && p.g == ctx_.Settings.BaseLayerGroup ? 1 : 0;
  return p;
}

void JwcDxfMapper::Report(const Place& p, double x, double y) {
  if (Reporting()) m_->SetVPortMinMax(m_->deLgp[static_cast<size_t>(p.g)].n, x, y);
}

int JwcDxfMapper::LineLayer(int typ, int lay) { return typ == 9 ? kLayerHojo : lay + 4; }

// ---- Entity pass -------------------------------------------------------------

void JwcDxfMapper::DxfOutEntity() {
  TDXFmodel& m = *m_;
  for (int g = 0; g < 16; ++g) m.deLgp[static_cast<size_t>(g)].sc = d_.groupScales[g];
  m.SetLgp(ctx_.Settings.BaseLayerGroup, layerGroupMost_, {});
  ReserveTopLevel();

  DxfOutImages();
  const bool curves = ctx_.Settings.CurveToPolyline;
  joiner_.Pw_Init();
  int curveGroup = 1;
  for (size_t i = 0; i < ents_.EntLine.size(); ++i) {
    const TEntJwcLine& e = ents_.EntLine[i];
    if (!JoinsCurvePolyline(e, curves)) {
      DxfOutLine(e);
      continue;
    }
    joiner_.Pw_AddEnt(curveGroup, {.eno = static_cast<int>(i), .etp = 1, .lay = e.lay,
                                   .col = e.col, .ltp = e.typ, .x1 = e.x1, .y1 = e.y1,
                                   .x2 = e.x2, .y2 = e.y2});
    if (EndsCurve(e)) ++curveGroup;
  }
  if (curves) DxfOutPLines();
  // Each kind's records are released once they are in the model (the
  // curve joiner keeps copies of what it joins), so the drawing's records
  // and the model's never take their full memory together.
  Release(ents_.EntLine);
  for (const TEntJwcArc2& e : ents_.EntArc) DxfOutArc(e);
  Release(ents_.EntArc);
  for (TEntJwcMoji2& e : ents_.EntMoji) DxfOutMoji(e);
  Release(ents_.EntMoji);
  for (const TEntJwcTen& e : ents_.EntTen) DxfOutTen(e);
  Release(ents_.EntTen);
  for (const TEntJwcVten& e : d_.vten) DxfOutVten(e);
  if (Reporting()) m.SetVPortArea();
}

// Room for what the records become, so that a large drawing's arrays are
// allocated once and no larger than needed: each arc record is counted as
// the kind of curve the model will store it as (virtual points are
// circles).
void JwcDxfMapper::ReserveTopLevel() {
  DxfEntities& c = m_->Top();
  size_t circles = d_.vten.size(), arcs = 0, ellipses = 0;
  for (const TEntJwcArc2& e : ents_.EntArc) {
    const JwcArcCurve k = ArcCurveOf(e);
    switch (TDXFmodel::CurveKind({.ratio = k.ratio, .sweep = k.sweep}, c)) {
      case DxfEntityKind::Circle: ++circles; break;
      case DxfEntityKind::Arc: ++arcs; break;
      default: ++ellipses; break;
    }
  }
  c.ReserveOrder(ents_.EntLine.size() + ents_.EntArc.size() + d_.vten.size() +
                 ents_.EntMoji.size() + ents_.EntTen.size());
  c.Reserve<TDXF_Line>(ents_.EntLine.size());
  c.Reserve<TDXF_Circle>(circles);
  c.Reserve<TDXF_Arc>(arcs);
  c.Reserve<TDXF_Ellipse>(ellipses);
  c.Reserve<TDXF_Moji>(ents_.EntMoji.size());
  c.Reserve<TDXF_Ten>(ents_.EntTen.size());
}

// Images: texts "^@BM<file>,<width>,..." name an image file beside the
// drawing or by its full path; the image's lower-left corner is the text's
// start, its height follows from the file's pixels.
void JwcDxfMapper::DxfOutImages() {
  // R12 has no IMAGE entity: no image is placed and no file copied.
  if (m_->Ver == DxfVersion::R12) return;
  for (const TEntJwcMoji2& e : ents_.EntMoji) {
    if (IsImageText(e.s)) DxfOutImage(e);
  }
}

void JwcDxfMapper::DxfOutImage(const TEntJwcMoji2& e) {
  const ImageTextFields f = ParseImageText(e.s);
  if (f.Name.empty() || !Finite({f.W, f.F6, e.x1, e.y1}) || f.W == 0) return;
  if (LowerText(std::u16string_view(f.Name).substr(0, kCarriedImagePrefix.size())) ==
      kCarriedImagePrefix) {
    return;
  }
  if (!images_) {
    images_ = std::make_unique<ImageFileFinder>(std::filesystem::path(),
                                                std::span<const TBindImageType>(),
                                                ctx_.SourcePath.parent_path());
  }
  const std::optional<FoundImage> file = images_->Find(f.Name);
  if (!file) return;
  const double w = f.W;
  const double h = w * file->Pixels.Height / file->Pixels.Width;
  const Place p = PlaceOf(e.lay);
  const double ox = p.X(e.x1), oy = p.Y(e.y1), sx = w * p.size, sy = h * p.size;
  if (!Finite({ox, oy, sx, sy})) return;
  if (Reporting()) {
    const double a = f.F6 * kDegToRad;
    const double ux = w * std::cos(a), uy = w * std::sin(a);
    const double vx = -h * std::sin(a), vy = h * std::cos(a);
    Report(p, e.x1, e.y1);
    Report(p, e.x1 + ux, e.y1 + uy);
    Report(p, e.x1 + vx, e.y1 + vy);
    Report(p, e.x1 + ux + vx, e.y1 + uy + vy);
  }
  AddImageOfFile(*m_, kTopLevel, *file, destination_, {.space = p.sp, .layer = e.lay + 4}, ox, oy,
                 sx, sy, f.F6);
}

void JwcDxfMapper::DxfOutLine(const TEntJwcLine& e) {
  if (!Finite({e.x1, e.y1, e.x2, e.y2})) return;
  if (SamePoint12(e.x1, e.y1, e.x2, e.y2)) return;
  const Place p = PlaceOf(e.lay);
  const double ox1 = p.X(e.x1), oy1 = p.Y(e.y1), ox2 = p.X(e.x2), oy2 = p.Y(e.y2);
  if (!Finite({ox1, oy1, ox2, oy2})) return;
  Report(p, e.x1, e.y1);
  Report(p, e.x2, e.y2);
  m_->AddLine(kTopLevel, {.attr = {.space = p.sp,
                                   .layer = LineLayer(e.typ, e.lay),
                                   .colour = JwcColorToAci(e.col),
                                   .ltype = JwcStyleToLtype(e.typ)},
                          .x1 = ox1, .y1 = oy1, .x2 = ox2, .y2 = oy2});
}

void JwcDxfMapper::DxfOutPLines() {
  joiner_.Pw_Sort();
  for (const TDXF_PolyWorkSub& pl : joiner_.Results()) {
    if (pl.v.size() < 2) continue;
    const Place p = PlaceOf(pl.lay);
    std::vector<TDXF_PLinePoint> v(pl.v.size());
    bool finite = true;
    for (size_t k = 0; k < v.size(); ++k) {
      v[k] = {p.X(pl.v[k].x), p.Y(pl.v[k].y), pl.v[k].a};
      finite = finite && Finite({v[k].x, v[k].y});
    }
    if (!finite) continue;
    for (const TDXF_PLinePoint& q : pl.v) Report(p, q.x, q.y);
    m_->AddPLine(kTopLevel, {.attr = {.space = p.sp,
                                      .layer = LineLayer(pl.ltp, pl.lay),
                                      .colour = JwcColorToAci(pl.col),
                                      .ltype = JwcStyleToLtype(pl.ltp)},
                             .v = std::move(v)});
  }
  joiner_.Pw_Init();
}

void JwcDxfMapper::DxfOutArc(const TEntJwcArc2& e) {
  if (!Finite({e.x, e.y, e.r, e.h, e.st, e.et, e.tt})) return;
  const JwcArcCurve c = ArcCurveOf(e);
  const Place p = PlaceOf(e.lay);
  const double ox = p.X(e.x), oy = p.Y(e.y);
  const double r = e.r * c.radiusFactor * p.radius;
  if (!Finite({ox, oy, r})) return;
  if (Reporting()) {
    const double sweep = c.sweep <= 1e-6 ? 360.0 : c.sweep;
    for (int i = 0; i <= 32; ++i) {
      const Point2 q = EllipsePoint(e.x, e.y, e.r * c.radiusFactor, c.ratio, c.tilt * kDegToRad,
                                    (c.start + i * sweep / 32) * kDegToRad);
      Report(p, q.X, q.Y);
    }
  }
  m_->AddArc(kTopLevel, {.attr = {.space = p.sp,
                                  .layer = LineLayer(e.typ, e.lay),
                                  .colour = JwcColorToAci(e.col),
                                  .ltype = JwcStyleToLtype(e.typ)},
                         .x = ox, .y = oy, .r = r, .ratio = c.ratio, .start = c.start,
                         .sweep = c.sweep, .axis = c.tilt});
}

// The text's characters move into the DXF record: the drawing's texts are
// released after this pass anyway.
void JwcDxfMapper::DxfOutMoji(TEntJwcMoji2& e) {
  if (IsImageText(e.s)) return;
  if (!Finite({e.x1, e.y1, e.x2, e.y2})) return;
  if (SamePoint12(e.x1, e.y1, e.x2, e.y2)) return;
  const TEntJwcMojiType& kind = ents_.TextKind(e.no);
  const Place p = PlaceOf(e.lay);
  const JwcTextLine t =
      TextLineOf(e, kind, d_.shape ? p.size : 1.0, ctx_.Settings.TextStyleMode);
  const double ox1 = p.X(t.x1), oy1 = p.Y(t.y1), ox2 = p.X(t.x2), oy2 = p.Y(t.y2);
  const double scale = d_.shape ? 1.0 : p.size;
  const double w = t.w * scale, h = t.h * scale, dist = t.d * scale;
  if (!Finite({ox1, oy1, ox2, oy2, w, h, dist})) return;
  if (Reporting()) {
    const double ux = -std::sin(t.angle) * t.h / 2, uy = std::cos(t.angle) * t.h / 2;
    for (const auto& [x, y] : {std::pair{t.x1, t.y1}, std::pair{t.x2, t.y2},
                               std::pair{t.x1 + ux, t.y1 + uy}, std::pair{t.x2 + ux, t.y2 + uy}}) {
      Report(p, x, y);
    }
  }
  m_->AddMoji(kTopLevel,
              {.attr = {.space = p.sp, .layer = e.lay + 4, .colour = JwcColorToAci(kind.penNo)},
               .style = TextKindCode(e.no, t.vertical),
               .bas = 2,
               .font = m_->FontIndex(t.vertical ? kVerticalTextFont : kTextFont),
               .tate = t.vertical,
               .x1 = ox1, .y1 = oy1, .x2 = ox2, .y2 = oy2,
               .w = w, .h = h, .d = dist,
               .a = t.angle * kRadToDeg,
               .st = std::move(e.s)});
}

void JwcDxfMapper::DxfOutTen(const TEntJwcTen& e) {
  if (!Finite({e.x, e.y})) return;
  const Place p = PlaceOf(e.lay);
  const double ox = p.X(e.x), oy = p.Y(e.y);
  if (!Finite({ox, oy, p.size})) return;
  Report(p, e.x, e.y);
  m_->AddTen(kTopLevel, {.attr = {.space = p.sp, .layer = e.lay + 4, .colour = JwcColorToAci(e.col)},
                         .cod = 0, .x = ox, .y = oy, .a = 0, .ba = p.size});
}

void JwcDxfMapper::DxfOutVten(const TEntJwcVten& e) {
  if (!Finite({e.x, e.y})) return;
  const Place p = PlaceOf(e.lay);
  const double ox = p.X(e.x), oy = p.Y(e.y);
  const double r = ctx_.Settings.PointRadius * p.radius;
  if (!Finite({ox, oy, r})) return;
  Report(p, e.x, e.y);
  m_->AddArc(kTopLevel, {.attr = {.space = p.sp, .layer = kLayerHojo}, .x = ox, .y = oy, .r = r});
}

}  // namespace parvex
