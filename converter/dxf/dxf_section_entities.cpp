// The entity writers (one per kind of the model) and the ENTITIES section.
#include <algorithm>
#include <array>
#include <cmath>
#include <memory>
#include <numbers>

#include "common/number_text.h"
#include "common/text_helpers.h"
#include "common/value_helpers.h"
#include "converter/dxf/dxf_parallel_write.h"
#include "converter/dxf/dxf_section_shared.h"
#include "converter/dxf/dxf_sections.h"
#include "converter/dxf/dxf_writer.h"

namespace parvex {
namespace dxfsec {
namespace {

constexpr double kDeg = std::numbers::pi / 180;
constexpr double kTurn = 2 * std::numbers::pi;

// A sweep of a whole turn or more (in degrees), within the tolerance with
// which angles are normalised.
bool WholeTurn(double sweep) { return std::fabs(sweep) >= 360 - 1e-10; }

template <class T>
const T* At(const std::vector<T>& v, int i) {
  return i >= 0 && static_cast<std::size_t>(i) < v.size() ? &v[static_cast<std::size_t>(i)]
                                                        : nullptr;
}

// A value line must stay one line: CR, LF and NUL would end it early and let
// the rest of a drawing's text be read as further groups.
std::u16string OneLine(std::u16string_view s) {
  std::u16string out(s);
  for (char16_t& c : out) {
    if (c == u'\r' || c == u'\n' || c == 0) c = u' ';
  }
  return out;
}

}  // namespace

NameCache::NameCache(const TDXFmodel& m, const DxfWriter& w) {
  for (const TDXF_Layer& l : m.lays) layers_.push_back(w.Encode(OneLine(l.nam)));
  for (const TDXF_Ltype& l : m.ltps) ltypes_.push_back(w.EncodeName(OneLine(l.nam)));
  for (const TDXF_Style& s : m.msts) styles_.push_back(w.EncodeName(OneLine(s.nam)));
  for (const TDXF_BlockDef& b : m.deBlockDef) blocks_.push_back(w.EncodeName(OneLine(b.nam)));
}

std::string_view NameCache::Layer(int i) const {
  const std::string* s = At(layers_, i);
  return s ? std::string_view(*s) : std::string_view("0");
}
std::string_view NameCache::Ltype(int k) const {
  const std::string* s = At(ltypes_, k - 1);
  return s ? std::string_view(*s) : std::string_view();
}
std::string_view NameCache::Style(int i) const {
  const std::string* s = At(styles_, i);
  return s ? std::string_view(*s) : std::string_view();
}
std::string_view NameCache::Block(int j) const {
  const std::string* s = At(blocks_, j);
  return s ? std::string_view(*s) : std::string_view();
}

bool ImageWritten(const TDXFmodel& m, const TDXF_Image& r) {
  return m.Ver != DxfVersion::R12 && r.handle != 0 && !RemoveBlanks(r.fna).empty() && m.GetFList(r.fna) >= 0;
}

// ---------------------------------------------------------------------------

EntityWriter::EntityWriter(const TDXFmodel& m, const DxfHandles& h, DxfWriter& w)
    : m_(m), h_(h), w_(w), names_(m, w), markerBlocks_(19, -1), modern_(m.Ver != DxfVersion::R12) {
  for (int cod = -7; cod <= 11; ++cod) {
    if (cod == 0 || cod == -3) continue;
    std::u16string name = cod < 0 ? u"_TRANS_TMARKER_" + IntToText(-cod)
                                  : u"_TRANS_TMARKER" + IntToText(cod);
    markerBlocks_[static_cast<std::size_t>(cod + 7)] = m.GetBlockIdx(name);
  }
}

int EntityWriter::MarkerBlock(int cod) const {
  if (cod < -7 || cod > 11 || cod == 0 || cod == -3) return -2;  // not a marker
  return markerBlocks_[static_cast<std::size_t>(cod + 7)];
}


void EntityWriter::Head(const char* type, std::uint32_t handle, int spc, std::string_view layer,
                        const char* subclass) {
  Start(type, handle, owner_, spc, layer);
  if (modern_ && subclass) w_.Code(100, subclass);
}

void EntityWriter::Start(const char* type, std::uint32_t handle, std::uint32_t owner, int spc,
                         std::string_view layer) {
  w_.Code(0, type);
  w_.Handle(5, handle);
  if (modern_) {
    w_.Handle(330, owner);
    w_.Code(100, "AcDbEntity");
  }
  if (spc == 1) w_.Int(67, 1);
  w_.Raw(8, layer);
}

void EntityWriter::Attrs(int col, int typ, int wid) {
  if (typ > 0) {
    std::string_view lt = names_.Ltype(typ);
    if (!lt.empty()) w_.Raw(6, lt);
  } else if (typ == -1) {
    w_.Code(6, "ByBlock");
  }
  if (col > 0) {
    w_.Int(62, col);
  } else if (col == -1) {
    w_.Int(62, 0);
  }
  if (modern_) {
    if (wid > 0) {
      w_.IntPlain(370, wid);
    } else if (wid == -1) {
      w_.Code(370, "-2");
    }
  }
}

template <>
void EntityWriter::Entity(const TDXF_Line& r) {
  Head("LINE", r.handle, r.attr.space, names_.Layer(r.attr.layer), "AcDbLine");
  Attrs(r.attr.colour, r.attr.ltype, r.attr.lineweight);
  w_.XYZ(r.x1, r.y1, 0);
  w_.Point(1, r.x2, r.y2, 0);
}

template <class R>
void EntityWriter::CircleStart(const char* type, const R& r) {
  Head(type, r.handle, r.attr.space, names_.Layer(r.attr.layer), "AcDbCircle");
  Attrs(r.attr.colour, r.attr.ltype, r.attr.lineweight);
  w_.XYZ(r.x, r.y, 0);
  w_.Real(40, r.r);
}

template <>
void EntityWriter::Entity(const TDXF_Circle& r) {
  CircleStart("CIRCLE", r);
}

template <>
void EntityWriter::Entity(const TDXF_Arc& r) {
  CircleStart("ARC", r);
  if (modern_) w_.Code(100, "AcDbArc");
  // An arc of a whole turn (kept as an arc inside block definitions) runs
  // from 0 to 360: equal start and end angles would read as no arc at all.
  double s = 0;
  double e = 360;
  if (!WholeTurn(r.da)) {
    s = r.sa;
    e = NormalizeDeg(r.sa + r.da);
    if (r.da < 0) std::swap(s, e);
  }
  w_.Real(50, s);
  w_.Real(51, e);
}

template <>
void EntityWriter::Entity(const TDXF_Ellipse& r) {
  const bool whole = std::fabs(r.da) <= kTolerance14;
  if (modern_) {
    // An ELLIPSE runs counter-clockwise from 41 to 42, both within one turn
    // (0 to 2 pi): a clockwise sweep is written from its far end, an end
    // beyond the turn wraps round (past 0), and a sweep of a turn or more
    // is the whole ellipse.
    double s = 0;
    double e = 360;
    if (!whole && !WholeTurn(r.da)) {
      s = NormalizeDeg(std::min(r.sa, r.sa + r.da));
      e = NormalizeDeg(std::max(r.sa, r.sa + r.da));
      if (e == 0) e = 360;
    }
    Head("ELLIPSE", r.handle, r.attr.space, names_.Layer(r.attr.layer), "AcDbEllipse");
    Attrs(r.attr.colour, r.attr.ltype, r.attr.lineweight);
    w_.XYZ(r.x, r.y, 0);
    w_.Point(1, r.r * std::cos(r.ka * kDeg), r.r * std::sin(r.ka * kDeg), 0);
    w_.Code(210, "0.0");
    w_.Code(220, "0.0");
    w_.Code(230, "1.0");
    w_.Real(40, r.he);
    w_.RealAtMost(41, s * kDeg, kTurn);
    w_.RealAtMost(42, e * kDeg, kTurn);
    return;
  }
  // R12 has no ellipse: a polyline through points of it (R12EllipseVertices),
  // with its vertices and SEQEND taking the handles after its own.
  const std::string_view layer = names_.Layer(r.attr.layer);
  Head("POLYLINE", r.handle, r.attr.space, layer, nullptr);
  Attrs(r.attr.colour, r.attr.ltype, r.attr.lineweight);
  w_.Int(66, 1);
  w_.XYZ(0, 0, 0);
  if (whole) w_.Int(70, 1);
  const int n = R12EllipseVertices(r.da);
  const double ck = std::cos(r.ka * kDeg);
  const double sk = std::sin(r.ka * kDeg);
  for (int k = 0; k < n; ++k) {
    const double t = (whole ? 5.0 * k : r.sa + k * r.da / 72) * kDeg;
    const double px = r.r * std::cos(t);
    const double py = r.r * r.he * std::sin(t);
    Start("VERTEX", r.handle + 1 + static_cast<std::uint32_t>(k), r.handle, r.attr.space, layer);
    w_.XYZ(r.x + px * ck - py * sk, r.y + px * sk + py * ck, 0);
  }
  Start("SEQEND", r.handle + 1 + static_cast<std::uint32_t>(n), r.handle, r.attr.space, layer);
}

template <>
void EntityWriter::Entity(const TDXF_Ten& r) {
  const int marker = MarkerBlock(r.cod);
  if (marker != -2) {
    if (marker >= 0) TenInsert(r, marker);
    return;
  }
  switch (m_.tentyp) {
    case PointConversion::Circle:
      Head("CIRCLE", r.handle, r.attr.space, names_.Layer(r.attr.layer), "AcDbCircle");
      if (!names_.Ltype(1).empty()) w_.Raw(6, names_.Ltype(1));
      Attrs(r.attr.colour, 0, r.attr.lineweight);
      w_.XYZ(r.x, r.y, 0);
      w_.Real(40, m_.tenrad * r.ba);
      return;
    case PointConversion::DoubleCircle:
    case PointConversion::CircleCross:
    case PointConversion::Rhombus:
    case PointConversion::FilledRhombus:
    case PointConversion::FilledOctagon:
      if (m_.tenidx >= 0 && m_.tenidx < m_.deBlockDefN()) TenInsert(r, m_.tenidx);
      return;
    case PointConversion::Point:
      break;
  }
  Head("POINT", r.handle, r.attr.space, names_.Layer(r.attr.layer), "AcDbPoint");
  Attrs(r.attr.colour, 0, 0);
  w_.XYZ(r.x, r.y, 0);
}

void EntityWriter::TenInsert(const TDXF_Ten& r, int block) {
  Head("INSERT", r.handle, r.attr.space, names_.Layer(r.attr.layer), "AcDbBlockReference");
  w_.Raw(2, names_.Block(block));
  if (!names_.Ltype(1).empty()) w_.Raw(6, names_.Ltype(1));
  Attrs(r.attr.colour, 0, r.attr.lineweight);
  w_.XYZ(r.x, r.y, 0);
  if (std::fabs(r.ba) > kTolerance14 && std::fabs(r.ba - 1) > kTolerance14) {
    w_.Real(41, r.ba);
    w_.Real(42, r.ba);
  }
  if (std::fabs(r.a) > 1e-10) w_.Real(50, r.a);
}

// A SOLID takes its last two corners crossed against boundary order.
template <>
void EntityWriter::Entity(const TDXF_Solid3& r) {
  Solid(r.attr, r.handle, {r.x1, r.y1, r.x2, r.y2, r.x3, r.y3, r.x3, r.y3});
}

template <>
void EntityWriter::Entity(const TDXF_Solid4& r) {
  Solid(r.attr, r.handle, {r.x1, r.y1, r.x2, r.y2, r.x4, r.y4, r.x3, r.y3});
}

void EntityWriter::Solid(const DxfAttributes& a, std::uint32_t handle,
                         const std::array<double, 8>& c) {
  Head("SOLID", handle, a.space, names_.Layer(a.layer), "AcDbTrace");
  Attrs(a.colour, 0, 0);
  w_.XYZ(c[0], c[1], 0);
  for (int k = 1; k < 4; ++k) w_.Point(k, c[2 * k], c[2 * k + 1], 0);
}

int EntityWriter::TrueTypeStyle(int font) {
  const std::size_t slot = static_cast<std::size_t>(font + 1);  // font -1: slot 0
  if (slot >= fontStyles_.size()) fontStyles_.resize(slot + 1, -1);
  int& s = fontStyles_[slot];
  if (s < 0) {
    s = 0;
    const std::u16string want = m_.FontName(font) + u".ttf";
    for (int i = 0; i < m_.mstn(); ++i) {
      if (m_.msts[static_cast<std::size_t>(i)].fo1 == want) {
        s = i;
        break;
      }
    }
  }
  return s;
}

template <>
void EntityWriter::Entity(const TDXF_Moji& r) {
  if (RemoveBlanks(r.st).empty()) return;
  int s = r.style;
  if (m_.mojistyle == TextStyleMode::OneStyle) {
    s = (r.style % 2 != 0) ? 3 : 2;
  } else if (m_.mojistyle == TextStyleMode::TrueType) {
    s = TrueTypeStyle(r.font);
  }
  std::string_view style = names_.Style(s);
  if (style.empty()) style = names_.Style(0);
  Head("TEXT", r.handle, r.attr.space, names_.Layer(r.attr.layer), "AcDbText");
  Attrs(r.attr.colour, 0, 0);
  w_.XYZ(r.x1, r.y1, 0);
  w_.Real(40, r.h);
  w_.Text(1, OneLine(r.st));
  w_.Real(50, r.a);
  w_.Real(41, r.w / r.h);
  if (r.syat) w_.Code(51, "28.0");
  if (style.empty()) {
    w_.Name(7, u"Standard");
  } else {
    w_.Raw(7, style);
  }
  w_.Int(72, r.tate ? 3 : 5);
  w_.Point(1, r.x2, r.y2, 0);
  if (modern_) w_.Code(100, "AcDbText");
}

template <>
void EntityWriter::Entity(const TDXF_Image& r) {
  if (!ImageWritten(m_, r)) return;
  const int entry = m_.GetFList(r.fna);
  w_.Code(0, "IMAGE");
  w_.Handle(5, r.handle);
  w_.Handle(330, owner_);
  w_.Code(100, "AcDbEntity");
  if (r.attr.space == 1) w_.Int(67, 1);
  w_.Raw(8, names_.Layer(r.attr.layer));
  w_.Int(92, 0);
  w_.Code(100, "AcDbRasterImage");
  w_.Int(90, 0);
  w_.XYZ(r.x, r.y, 0);
  const double a = r.a * kDeg;
  const double b = (r.a + 90) * kDeg;
  w_.Point(1, std::cos(a) * r.sx / r.ix, std::sin(a) * r.sx / r.ix, 0);
  w_.Point(2, std::cos(b) * r.sy / r.iy, std::sin(b) * r.sy / r.iy, 0);
  w_.Real(13, r.ix);
  w_.Real(23, r.iy);
  w_.Handle(340, m_.deFList[static_cast<std::size_t>(entry)].hnd);
  w_.Int(70, 7);
  w_.Int(280, 0);
  w_.Int(281, 50);
  w_.Int(282, 50);
  w_.Int(283, 0);
  w_.Handle(360, r.handle + 1);
  w_.Int(71, 1);
  w_.Int(91, 2);
  w_.Real(14, -0.5);
  w_.Real(24, -0.5);
  w_.Real(14, r.ix - 0.5);
  w_.Real(24, r.iy - 0.5);
}

template <>
void EntityWriter::Entity(const TDXF_PLine& r) {
  const std::uint32_t p = r.handle;
  const std::string_view layer = names_.Layer(r.attr.layer);
  Head("POLYLINE", p, r.attr.space, layer, "AcDb2dPolyline");
  Attrs(r.attr.colour, r.attr.ltype, r.attr.lineweight);
  w_.Int(66, 1);
  w_.XYZ(0, 0, 0);
  if (r.clf) w_.Int(70, 1);
  if (r.wd1 > kTolerance12) w_.Real(40, r.wd1);
  if (r.wd2 > kTolerance12) w_.Real(41, r.wd2);
  // Vertices and the SEQEND take the handles after the POLYLINE's.
  std::uint32_t next = p + 1;
  for (const TDXF_PLinePoint& v : r.v) {
    Start("VERTEX", next++, p, r.attr.space, layer);
    if (modern_) {
      w_.Code(100, "AcDbVertex");
      w_.Code(100, "AcDb2dVertex");
    }
    w_.XYZ(v.x, v.y, 0);
    // Bulge of the segment to the next vertex.
    if (std::fabs(v.a) > kTolerance12) w_.Real(42, std::tan(v.a / 4));
  }
  Start("SEQEND", next, p, r.attr.space, layer);
}

template <>
void EntityWriter::Entity(const TDXF_ViewPort& r) {
  if (r.attr.space == 0) return;
  Head("VIEWPORT", r.handle, r.attr.space, "VP", "AcDbViewport");
  w_.XYZ(r.cx, r.cy, 0);
  w_.Real(40, r.w);
  w_.Real(41, r.h);
  w_.Int(68, r.id);
  w_.Int(69, r.id);
  if (modern_) {
    w_.Reals({{12, r.vx}, {22, r.vy}, {13, 0}, {23, 0}, {14, 1}, {24, 1}, {15, 0}, {25, 0}});
    w_.Point(6, 0, 0, 1);
    w_.Point(7, 0, 0, 0);
    w_.Reals({{42, 50}, {43, 0}, {44, 0}, {45, r.vh}, {50, 0}, {51, 0}});
    w_.Ints({{72, 100}, {90, 33120}});
    w_.Code(1, "");
    w_.Ints({{71, 1}, {74, 0}});
    w_.Codes({{110, "0.0"}, {120, "0.0"}, {130, "0.0"}, {111, "1.0"}, {121, "0.0"},
              {131, "0.0"}, {112, "0.0"}, {122, "1.0"}, {132, "0.0"}});
    w_.Int(79, 0);
    w_.Code(146, "0.0");
    return;
  }
  // R12 keeps the view in the MVIEW extended data of application ACAD.
  w_.Codes({{1001, "ACAD"}, {1000, "MVIEW"}, {1002, "{"}});
  w_.Int(1070, 16);
  w_.Codes({{1010, "0.0"}, {1020, "0.0"}, {1030, "0.0"}, {1010, "0.0"}, {1020, "0.0"},
            {1030, "1.0"}});
  for (double v : {0.0, r.vh, r.vx, r.vy, 50.0, 0.0, 0.0}) w_.Real(1040, v);
  for (int v : {16, 100, 0, 3, 0, 0, 0, 0}) w_.Int(1070, v);
  for (double v : {0.0, 0.0, 0.0, 0.0, 1.0, 1.0, 0.0, 0.0}) w_.Real(1040, v);
  w_.Int(1070, 0);
  w_.Codes({{1002, "{"}, {1002, "}"}, {1002, "}"}});
}

bool EntityWriter::BlockHead(const char* type, const char* subclass, const DxfAttributes& a,
                             std::uint32_t handle, int block) {
  const std::string_view name = names_.Block(block);
  if (name.empty()) return false;
  Head(type, handle, a.space, names_.Layer(a.layer), subclass);
  w_.Raw(2, name);
  Attrs(a.colour, a.ltype, a.lineweight);
  return true;
}

template <>
void EntityWriter::Entity(const TDXF_Dimension& r) {
  if (!BlockHead("DIMENSION", "AcDbDimension", r.attr, r.handle, r.bln)) return;
  w_.XYZ(r.x0, r.y0, 0);
  w_.Point(1, r.x1, r.y1, 0);
  w_.Int(70, r.stp);
  w_.Int(71, r.bas);
  w_.Text(1, OneLine(r.str));
  if (!modern_ && r.hang > -1e-10) w_.Real(52, r.hang);
  // Text rotation and style belong to the common dimension data, before the
  // marker of the dimension kind: readers take them from there only.
  w_.Real(53, r.sang);
  if (!RemoveBlanks(r.sst).empty()) w_.Name(3, OneLine(r.sst));
  if (modern_) {
    static const char* const kSubclass[8] = {
        "AcDbAlignedDimension",  "AcDbAlignedDimension",      "AcDb2LineAngularDimension",
        "AcDbDiametricDimension", "AcDbRadialDimension",      "AcDb3PointAngularDimension",
        "AcDbOrdinateDimension",  nullptr};
    if (const char* sc = kSubclass[r.stp & 7]) w_.Code(100, sc);
  }
  if (r.fl3) w_.Point(3, r.x3, r.y3, 0);
  if (r.fl4) w_.Point(4, r.x4, r.y4, 0);
  if (r.fl5) w_.Point(5, r.x5, r.y5, 0);
  if (r.fl6) w_.Point(6, r.x6, r.y6, 0);
  if (r.hlen > -1e-10) w_.Real(40, r.hlen);
  if ((r.stp & 7) == 0) {
    w_.Real(50, r.ang);
    if (modern_) w_.Code(100, "AcDbRotatedDimension");
  }
}

template <>
void EntityWriter::Entity(const TDXF_Block& r) {
  if (!BlockHead("INSERT", "AcDbBlockReference", r.attr, r.handle, r.bln)) return;
  w_.XYZ(r.x, r.y, 0);
  auto scaled = [](double s) { return std::fabs(s - 1) > kTolerance14 && std::fabs(s) > kTolerance14; };
  if (scaled(r.bx)) w_.Real(41, r.bx);
  if (scaled(r.by)) w_.Real(42, r.by);
  if (std::fabs(r.a) > kTolerance14) w_.Real(50, r.a);
}

void EntityWriter::Write(const DxfEntities& c, int run, std::uint32_t owner) {
  Write(c, run, owner, 0, c.size());
}

void EntityWriter::Write(const DxfEntities& c, int run, std::uint32_t owner, std::size_t first,
                         std::size_t last) {
  c.Visit(first, last, [&](const auto& r) {
    const int spc = r.attr.space;
    if (WritingRun(c, spc, m_.Ltn) != run) return;
    // R12 has one paper space: layout entities keep their handles unwritten.
    if (!modern_ && spc > 1) return;
    // Model space owns everything of ENTITIES that is not in the first
    // paper space, negative space codes included.
    owner_ = owner != 0 ? owner : h_.SpaceRecord(spc == 1 ? 1 : 0);
    Entity(r);
  });
}

}  // namespace dxfsec

void SaveEntities(const TDXFmodel& m, const DxfHandles& h, DxfWriter& w) {
  w.BeginSection("ENTITIES");
  const DxfEntities& top = m.Top();
  const std::size_t entries = top.size();
  const auto chunks = SplitIntoChunks({&entries, 1}, kDxfChunkEntries);
  WriteChunksInOrder(w, chunks.size(), [&](DxfWriter& cw) -> DxfChunkFormatter {
    auto ew = std::make_shared<dxfsec::EntityWriter>(m, h, cw);
    return [ew, &top, &chunks](std::size_t i) {
      for (const DxfEntryRun& run : chunks[i]) ew->Write(top, 0, 0, run.first, run.last);
    };
  });
  w.EndSection();
}

}  // namespace parvex
