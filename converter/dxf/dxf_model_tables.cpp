// Tables, block definitions, the image file list and the layer-group and
// viewport placement of the DXF model.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <string>
#include <new>
#include <system_error>

#include "common/number_text.h"
#include "common/platform/files.h"
#include "common/text_helpers.h"
#include "converter/dxf/dxf_model.h"
#include "converter/dxf/dxf_names.h"
#include "converter/dxf/dxf_text.h"

namespace parvex {
namespace {

using KeyMap = std::unordered_map<std::u16string, int>;

double ClampStyleSize(double v) {
  v = std::fabs(v);
  if (!(v >= 1e-10)) return 1e-10;
  if (v > 1e10) return 1e10;
  return v;
}

// Valid, unique name for a table whose keys are `keys`; registers it
// under index `index`.
std::u16string EnterName(KeyMap& keys, std::u16string_view na, int ver, DxfNameKind kind,
                         std::u16string_view fallback, int index) {
  std::u16string name = CleanDxfName(na, ver, kind, fallback);
  name = MakeUniqueDxfName(name, ver,
                           [&keys](const std::u16string& key) { return keys.count(key) > 0; });
  keys.emplace(DxfNameKey(name, ver), index);
  return name;
}

int FindKey(const KeyMap& keys, std::u16string_view name, int ver, DxfNameKind kind) {
  auto it = keys.find(DxfNameKey(name, ver));
  if (it != keys.end()) return it->second;
  // Also by the form the name got when it was entered.
  std::u16string clean = CleanDxfName(name, ver, kind, u"");
  if (clean.empty() || clean == name) return -1;
  it = keys.find(DxfNameKey(clean, ver));
  return it == keys.end() ? -1 : it->second;
}

std::filesystem::path ToPath(std::u16string_view s) {
  return platform::PathFromText(s);
}

bool Exists(const std::u16string& p) {
  std::error_code ec;
  return std::filesystem::exists(ToPath(p), ec);
}

char16_t LowerChar(char16_t c) {
  if (c >= u'A' && c <= u'Z') return static_cast<char16_t>(c + 0x20);
  if (c >= 0xFF21 && c <= 0xFF3A) return static_cast<char16_t>(c + 0x20);
  return c;
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

void TDXFmodel::AddStyle(std::u16string_view na, std::u16string_view f1,
                         std::u16string_view f2, double h, double w, double a, double hl,
                         bool fl) {
  TDXF_Style r;
  r.nam = EnterName(styleKeys_, na, Ver, DxfNameKind::Style, u"Style", mstn());
  r.fla = fl;
  r.mh = ClampStyleSize(h);
  r.mw = ClampStyleSize(w);
  r.ang = a;
  r.mhl = hl;
  r.fo1 = std::u16string(f1);
  r.fo2 = std::u16string(f2);
  msts.push_back(std::move(r));
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
    case 0:
      return IntToText(l + 1);
    case 1:
      return std::u16string(ly);
    default: {
      std::u16string g = RemoveBlanks(lg);
      std::u16string y = RemoveBlanks(ly);
      if (g.empty()) return y;
      if (!y.empty()) return g + u"-" + y;
      const int digit = ((l % 16) + 16) % 16;
      return g + u"-" + static_cast<char16_t>(u"0123456789ABCDEF"[digit]);
    }
  }
}

std::u16string TDXFmodel::AdjustLayerName(int lg, int ly, std::u16string_view s) const {
  std::u16string t = RemoveBlanks(s);
  std::u16string r;
  r.reserve(t.size());
  if (Ver == 0) {
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
  if (deBlockDef.size() >= static_cast<std::size_t>(std::numeric_limits<int>::max())) return -1;
  const int index = deBlockDefN();
  std::u16string key;
  try {
    const std::u16string source =
        RemoveBlanks(na).empty() ? std::u16string(u"NONAME") : std::u16string(na);
    TDXF_BlockDef def;
    def.nam = EnterName(blockKeys_, source, Ver, DxfNameKind::Block, u"NONAME", index);
    key = DxfNameKey(def.nam, Ver);
    def.IDno = id;
    deBlockDef.push_back(std::move(def));
    return index;
  } catch (const std::bad_alloc&) {
    auto it = blockKeys_.find(key);
    if (it != blockKeys_.end() && it->second == index) blockKeys_.erase(it);
    return -1;
  }
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
// Image files

int TDXFmodel::GetFList(std::u16string_view srcfile) const {
  const std::u16string key = dxftext::UpperText(srcfile);
  for (std::size_t i = 0; i < deFList.size(); ++i) {
    if (dxftext::UpperText(deFList[i].src) == key) return static_cast<int>(i);
  }
  return -1;
}

void TDXFmodel::AddFList(std::u16string_view srcfile, std::u16string_view dstpath, double pix,
                         double piy, double psx, double psy, int phnd) {
  if (GetFList(srcfile) >= 0) return;
  // File name and extension of srcfile, with either separator.
  std::u16string_view name = srcfile;
  const std::size_t sep = name.find_last_of(u"/\\");
  if (sep != std::u16string_view::npos) name = name.substr(sep + 1);
  std::u16string base(name);
  std::u16string ext;
  const std::size_t dot = base.rfind(u'.');
  if (dot != std::u16string::npos) {
    ext = base.substr(dot);
    base.resize(dot);
  }
  for (char16_t& c : ext) c = LowerChar(c);
  const std::u16string folder(dstpath);
  std::u16string dst = folder + base + ext;
  if (Exists(dst)) {
    for (int i = 1; i <= 99999; ++i) {
      dst = folder + base + u"_" + IntToText(i) + ext;
      if (!Exists(dst)) break;
    }
  }
  TDXF_FileNameList r;
  r.src = std::u16string(srcfile);
  r.dst = std::move(dst);
  r.ix = pix;
  r.iy = piy;
  r.sx = psx;
  r.sy = psy;
  r.hnd = phnd;
  deFList.push_back(std::move(r));
}

// ---------------------------------------------------------------------------
// Layer groups, viewports and layouts

void TDXFmodel::SetLgp(int base, int nmax) {
  deVport.clear();
  // Viewport records sit in the order list too; drop those entries.
  std::erase_if(deNo, [](const TDXF_EntNo& e) { return e.tp == kDxfVport; });
  if (deLgp.size() < 16) deLgp.resize(16);
  const bool baseValid = base >= 0 && base < 16;
  if (Spa == 0) {
    const double sc = baseValid ? deLgp[static_cast<std::size_t>(base)].sc : 1.0;
    for (TDXF_LGroup& g : deLgp) {
      g.n = 0;
      g.sc = sc;
      g.dx = 0;
      g.dy = 0;
    }
    return;
  }
  if (Spa == 2) {
    SetLayout(nmax);
    return;
  }
  AddVPort(1, 1.0, 0, 0, 0, 0, papx, papy, papx / 2, papy / 2, papy);
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
      if (std::fabs(deLgp[static_cast<std::size_t>(j)].sc - grp.sc) <= 1e-12) {
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
    AddVPort(1, grp.sc, o, 0, 0, 0, 0, 0, 0, 0, 0);
    o += papx * grp.sc * 2;
  }
}

void TDXFmodel::SetLayout(int nmax) {
  if (Spa != 2) return;
  Ltn = zw_wn() < 2 ? 2 : zw_wn();
  if (deLgp.size() < 16) deLgp.resize(16);
  const double s = (nmax >= 0 && nmax < 16) ? deLgp[static_cast<std::size_t>(nmax)].sc : 1.0;
  for (int i = 0; i < zw_wn(); ++i) {
    const TJwZumenWakuWork& f = zw_w[static_cast<std::size_t>(i)];
    const double w = std::fabs(f.x2 - f.x1);
    const double h = std::fabs(f.y2 - f.y1);
    AddVPort(i + 1, 1.0, 0, 0, 0, 0, papx, papy, papx / 2, papy / 2, papy);
    AddVPort(i + 1, s, 0, 0, w / 2, h / 2, w, h, s * ((f.x1 + f.x2) / 2 + papx / 2),
             s * ((f.y1 + f.y2) / 2 + papy / 2), s * h);
  }
}

void TDXFmodel::SetVPortMinMax(int i, double x, double y) {
  if (i < 0 || i >= deVportN()) return;
  TDXF_ViewPort& v = deVport[static_cast<std::size_t>(i)];
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
  for (std::size_t i = 1; i < deVport.size(); ++i) {
    TDXF_ViewPort& v = deVport[i];
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
