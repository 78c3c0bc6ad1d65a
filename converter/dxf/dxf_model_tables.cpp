// Tables, block definitions and the layer-group and viewport placement of
// the DXF model (the image file list: dxf_image_files.cpp).
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <string>
#include <system_error>

#include "common/number_text.h"
#include "common/platform/codepage.h"
#include "common/text_helpers.h"
#include "common/value_helpers.h"
#include "converter/dxf/dxf_model.h"
#include "converter/dxf/dxf_names.h"
#include "converter/dxf/dxf_text.h"

namespace parvex {
namespace {

using KeyMap = std::unordered_map<std::u16string, int>;

// A width factor as an absolute value within [1e-10, 1e10].
double ClampStyleWidth(double v) {
  v = std::fabs(v);
  if (!(v >= 1e-10)) return 1e-10;
  if (v > 1e10) return 1e10;
  return v;
}

// A fixed height as an absolute value: 0 means none (each text gives its
// own), so it stays 0, and so does a height below 1e-10 or one that is not
// a number; at most 1e10.
double ClampStyleHeight(double v) {
  v = std::fabs(v);
  if (!(v >= 1e-10)) return 0;
  if (v > 1e10) return 1e10;
  return v;
}

// Valid, unique name for a table whose keys are `keys`; registers it
// under index `index`.
std::u16string EnterName(KeyMap& keys, std::u16string_view na, DxfVersion ver, DxfNameKind kind,
                         std::u16string_view fallback, int index) {
  std::u16string name = CleanDxfName(na, ver, kind, fallback);
  name = MakeUniqueDxfName(name, ver,
                           [&keys](const std::u16string& key) { return keys.count(key) > 0; });
  keys.emplace(DxfNameKey(name, ver), index);
  return name;
}

int FindKey(const KeyMap& keys, std::u16string_view name, DxfVersion ver, DxfNameKind kind) {
  auto it = keys.find(DxfNameKey(name, ver));
  if (it != keys.end()) return it->second;
  // Also by the form the name got when it was entered.
  std::u16string clean = CleanDxfName(name, ver, kind, u"");
  if (clean.empty() || clean == name) return -1;
  it = keys.find(DxfNameKey(clean, ver));
  return it == keys.end() ? -1 : it->second;
}

}  // namespace

// ---------------------------------------------------------------------------
// Tables

void TDXFmodel::AddLtype(std::u16string_view na, std::u16string_view ex, int pn,
                         const std::vector<double>& pa) {
  TDXF_Ltype r;
  r.nam = EnterName(ltypeKeys_, na, Ver, DxfNameKind::Ltype, u"LType", ltpn());
  r.exp = std::u16string(ex);
  std::size_t n = pn > 0 ? static_cast<std::size_t>(pn) : 0;
  if (n > pa.size()) n = pa.size();
  r.pt.assign(pa.begin(), pa.begin() + static_cast<std::ptrdiff_t>(n));
  r.n = static_cast<int>(n);
  for (double v : r.pt) r.pl += std::fabs(v);
  ltps.push_back(std::move(r));
}

void TDXFmodel::AddLayer(std::u16string_view na, int co, int lt, int wd, bool dp, bool pr) {
  TDXF_Layer r;
  r.nam = EnterName(layerKeys_, na, Ver, DxfNameKind::Layer, u"0-0", layn());
  r.col = co;
  r.ltp = lt;
  r.wid = wd;
  r.dsp = dp;
  r.prn = pr;
  lays.push_back(std::move(r));
}

void TDXFmodel::AddStyle(TDXF_Style style) {
  style.nam = EnterName(styleKeys_, style.nam, Ver, DxfNameKind::Style, u"Style", mstn());
  style.mh = ClampStyleHeight(style.mh);
  style.mw = ClampStyleWidth(style.mw);
  msts.push_back(std::move(style));
}

int TDXFmodel::FindLtype(std::u16string_view name) const {
  return FindKey(ltypeKeys_, name, Ver, DxfNameKind::Ltype);
}
int TDXFmodel::FindLayer(std::u16string_view name) const {
  return FindKey(layerKeys_, name, Ver, DxfNameKind::Layer);
}
int TDXFmodel::FindStyle(std::u16string_view name) const {
  return FindKey(styleKeys_, name, Ver, DxfNameKind::Style);
}

std::u16string TDXFmodel::DefautLayerName(int l, std::u16string_view lg,
                                          std::u16string_view ly) const {
  switch (laynametyp) {
    case LayerNameType::Number:
      return IntToText(l + 1);
    case LayerNameType::Name:
      return std::u16string(ly);
    case LayerNameType::GroupAndLayer:
      break;
  }
  std::u16string g = RemoveBlanks(lg);
  std::u16string y = RemoveBlanks(ly);
  if (g.empty()) return y;
  if (!y.empty()) return g + u"-" + y;
  const int digit = ((l % 16) + 16) % 16;
  return g + u"-" + static_cast<char16_t>(u"0123456789ABCDEF"[digit]);
}

std::u16string TDXFmodel::AdjustLayerName(int lg, int ly, std::u16string_view s) const {
  std::u16string t = RemoveBlanks(s);
  std::u16string r;
  r.reserve(t.size());
  if (Ver == DxfVersion::R12) {
    static const std::u16string_view kR12 =
        u"$-_0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"
        u"＄－＿０１２３４５６７８９ＡＢＣＤＥＦＧＨＩＪＫＬＭＮＯＰＱＲＳＴＵＶＷＸＹＺ"
        u"ａｂｃｄｅｆｇｈｉｊｋｌｍｎｏｐｑｒｓｔｕｖｗｘｙｚ";
    for (char16_t c : t) {
      if (kR12.find(c) != std::u16string_view::npos) r.push_back(c);
    }
    r = dxftext::CopyWidth(r, 31);
  } else {
    auto dropped = [](char16_t c) {
      if (c == u'$' || c == u'-' || c == u'_') return false;
      if ((c >= 0x21 && c <= 0x2F) || (c >= 0x3A && c <= 0x40) || (c >= 0x5B && c <= 0x60) ||
          (c >= 0x7B && c <= 0x7E)) {
        return true;
      }
      switch (c) {
        case 0xFF01: case 0x201D: case 0xFF03: case 0xFF04: case 0xFF05: case 0xFF06:
        case 0x2019: case 0xFF08: case 0xFF09: case 0xFF0A: case 0xFF0B: case 0xFF0C:
        case 0xFF0E: case 0xFF0F: case 0xFF3B: case 0xFFE5: case 0xFF3D: case 0xFF3E:
        case 0xFF40:
          return true;
        default:
          return (c >= 0xFF1A && c <= 0xFF20) || (c >= 0xFF5B && c <= 0xFF5E);
      }
    };
    for (char16_t c : t) {
      if (!dropped(c)) r.push_back(c);
    }
    r = dxftext::CopyWidth(r, 255);
  }
  if (r.empty()) {
    auto hex = [](int v) {
      char buf[16];
      std::snprintf(buf, sizeof(buf), "%X", static_cast<unsigned>(v));
      return std::u16string(buf, buf + std::char_traits<char>::length(buf));
    };
    r = hex(lg) + u"-" + hex(ly);
  }
  return r;
}

// ---------------------------------------------------------------------------
// Block definitions

int TDXFmodel::AddBlockDef(std::u16string_view na, int id) {
  return NewBlockDef(na, id, DxfNameKind::Block);
}

int TDXFmodel::AddAnonymousBlockDef(std::u16string_view na, int id) {
  return NewBlockDef(na, id, DxfNameKind::AnonymousBlock);
}

int TDXFmodel::NewBlockDef(std::u16string_view na, int id, DxfNameKind kind) {
  if (deBlockDef.size() >= static_cast<std::size_t>(std::numeric_limits<int>::max())) return -1;
  const int index = deBlockDefN();
  const std::u16string source = RemoveBlanks(na).empty() ? std::u16string(u"NONAME") : std::u16string(na);
  TDXF_BlockDef def;
  def.nam = EnterName(blockKeys_, source, Ver, kind, u"NONAME", index);
  def.IDno = id;
  deBlockDef.push_back(std::move(def));
  return index;
}

int TDXFmodel::GetBlockIdx(std::u16string_view s) const {
  return FindKey(blockKeys_, s, Ver, DxfNameKind::Block);
}

int TDXFmodel::GetBlockIdx(int id) const {
  for (std::size_t i = 0; i < deBlockDef.size(); ++i) {
    if (deBlockDef[i].IDno == id) return static_cast<int>(i);
  }
  return -1;
}

// ---------------------------------------------------------------------------
// Layer groups, viewports and layouts

// The viewport of a whole paper space or layout: the paper at scale 1.
TDXF_ViewPort TDXFmodel::PaperViewport(int space) const {
  return {.attr = {.space = space},
          .w = papx,
          .h = papy,
          .vx = papx / 2,
          .vy = papy / 2,
          .vh = papy,
          .sc = 1.0};
}

void TDXFmodel::SetLgp(int base, int nmax, std::span<const TJwZumenWakuWork> frames) {
  top_.RemoveAll<TDXF_ViewPort>();
  if (deLgp.size() < 16) deLgp.resize(16);
  const bool baseValid = base >= 0 && base < 16;
  if (Spa == OutputSpace::Model) {
    const double sc = baseValid ? deLgp[static_cast<std::size_t>(base)].sc : 1.0;
    for (TDXF_LGroup& g : deLgp) {
      g.n = 0;
      g.sc = sc;
      g.dx = 0;
      g.dy = 0;
    }
    return;
  }
  if (Spa == OutputSpace::Layouts) {
    SetLayout(nmax, frames);
    return;
  }
  // The paper viewport, then one per scale of the other layer groups (its
  // geometry comes from SetVPortArea).
  AddVPort(PaperViewport(1));
  int c = 0;
  double o = 0;
  for (int g = 0; g < 16; ++g) {
    TDXF_LGroup& grp = deLgp[static_cast<std::size_t>(g)];
    if (g == base) {
      grp.n = 0;
      grp.sc = 1.0;
      grp.dx = 0;
      grp.dy = 0;
      continue;
    }
    int found = -1;
    for (int j = 0; j < g; ++j) {
      if (j == base) continue;
      if (std::fabs(deLgp[static_cast<std::size_t>(j)].sc - grp.sc) <= kTolerance12) {
        found = j;
        break;
      }
    }
    if (found >= 0) {
      const TDXF_LGroup& src = deLgp[static_cast<std::size_t>(found)];
      grp.n = src.n;
      grp.dx = src.dx;
      grp.dy = src.dy;
      continue;
    }
    ++c;
    grp.n = c;
    grp.dx = o;
    grp.dy = 0;
    AddVPort({.attr = {.space = 1}, .sc = grp.sc, .dx = o});
    o += papx * grp.sc * 2;
  }
}

void TDXFmodel::SetLayout(int nmax, std::span<const TJwZumenWakuWork> frames) {
  if (Spa != OutputSpace::Layouts) return;
  layoutFrames.assign(frames.begin(), frames.end());
  const int n = static_cast<int>(frames.size());
  Ltn = n < 2 ? 2 : n;
  if (deLgp.size() < 16) deLgp.resize(16);
  const double s = (nmax >= 0 && nmax < 16) ? deLgp[static_cast<std::size_t>(nmax)].sc : 1.0;
  for (int i = 0; i < n; ++i) {
    const TJwZumenWakuWork& f = frames[static_cast<std::size_t>(i)];
    const double w = std::fabs(f.x2 - f.x1);
    const double h = std::fabs(f.y2 - f.y1);
    // The layout's paper, then the frame's area of model space with its
    // lower-left corner at the layout's origin.
    AddVPort(PaperViewport(i + 1));
    AddVPort({.attr = {.space = i + 1}, .cx = w / 2, .cy = h / 2, .w = w, .h = h,
              .vx = s * ((f.x1 + f.x2) / 2 + papx / 2), .vy = s * ((f.y1 + f.y2) / 2 + papy / 2),
              .vh = s * h, .sc = s});
  }
}

void TDXFmodel::SetVPortMinMax(int i, double x, double y) {
  std::vector<TDXF_ViewPort>& vports = top_.MutableRecords<TDXF_ViewPort>();
  if (i < 0 || i >= deVportN()) return;
  TDXF_ViewPort& v = vports[static_cast<std::size_t>(i)];
  if (!v.mf) {
    v.x1 = v.x2 = x;
    v.y1 = v.y2 = y;
    v.mf = true;
    return;
  }
  if (x < v.x1) v.x1 = x;
  if (y < v.y1) v.y1 = y;
  if (x > v.x2) v.x2 = x;
  if (y > v.y2) v.y2 = y;
}

void TDXFmodel::SetVPortArea() {
  std::vector<TDXF_ViewPort>& vports = top_.MutableRecords<TDXF_ViewPort>();
  for (std::size_t i = 1; i < vports.size(); ++i) {
    TDXF_ViewPort& v = vports[i];
    v.x1 -= 5;
    v.y1 -= 5;
    v.x2 += 5;
    v.y2 += 5;
    v.cx = (v.x1 + v.x2) / 2;
    v.cy = (v.y1 + v.y2) / 2;
    v.w = std::fabs(v.x2 - v.x1);
    v.h = std::fabs(v.y2 - v.y1);
    v.vx = (v.x1 + v.x2) / 2 * v.sc + v.dx;
    v.vy = (v.y1 + v.y2) / 2 * v.sc + v.dy;
    v.vh = v.sc * v.h;
  }
}

}  // namespace parvex
