// Life cycle, settings and the entity adders of the DXF model.
#include "converter/dxf/dxf_model.h"

#include <cmath>
#include <cstdlib>
#include <limits>
#include <new>

#include "common/text_helpers.h"
#include "common/value_helpers.h"
#include "converter/dxf/dxf_names.h"
#include "converter/dxf/dxf_text.h"

namespace parvex {

namespace {

constexpr double kTextMin = 1e-10;
constexpr double kTextMax = 1e10;
// Widest text a TEXT entity gets (half-width 1, other 2).
constexpr int kTextWidth = 255;

double ClampSize(double v) {
  v = std::fabs(v);
  if (!(v >= kTextMin)) return kTextMin;  // also NaN
  if (v > kTextMax) return kTextMax;
  return v;
}

// Appends rec to arr and (tp, its index) to the order list; on failure
// leaves both as they were.
template <class R>
bool Append(std::vector<TDXF_EntNo>& no, std::vector<R>& arr, int tp, R&& rec) {
  if (arr.size() >= static_cast<std::size_t>(std::numeric_limits<int>::max()) ||
      no.size() >= static_cast<std::size_t>(std::numeric_limits<int>::max())) {
    return false;
  }
  try {
    no.push_back({tp, static_cast<int>(arr.size())});
  } catch (const std::bad_alloc&) {
    return false;
  }
  try {
    arr.push_back(std::move(rec));
  } catch (const std::bad_alloc&) {
    no.pop_back();
    return false;
  }
  return true;
}

}  // namespace

TDXFmodel::TDXFmodel() {
  DataInit();
  deLgp.assign(16, TDXF_LGroup{});
}

void TDXFmodel::DataInit() {
  DXFHnd = 1;
  hn_blk = 0;
  Ver = 0;
  Spa = 0;
  Ltn = 2;
  MinWx = 0;
  MinWy = 0;
  MaxWx = 10;
  MaxWy = 10;
  papx = 297;
  papy = 210;
  pscale = 1.0;
  tenrad = 0.5;
  laynametyp = 0;
  tentyp = 0;
  tenidx = -1;
  ltps.clear();
  lays.clear();
  msts.clear();
  ltypeKeys_.clear();
  layerKeys_.clear();
  styleKeys_.clear();
  blockKeys_.clear();
  deNo.clear();
  deLine.clear();
  deCirc.clear();
  deArc.clear();
  deElli.clear();
  deTen.clear();
  deSld3.clear();
  deSld4.clear();
  deMoji.clear();
  deImag.clear();
  dePLin.clear();
  deVport.clear();
  deDim.clear();
  deBlock.clear();
  deBlockDef.clear();
  deFList.clear();
  deLgp.clear();
  InitZwhv(true);
  Pw_Init();
}

void TDXFmodel::SetDXFVer(int v, int sp) {
  Ver = v;
  Spa = sp;
}

void TDXFmodel::SetAppName(std::u16string_view s) { AppNam = std::u16string(s); }

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
void TDXFmodel::SetLayerNameType(int n) { laynametyp = n; }

void TDXFmodel::SetTenTransType(int n, double r) {
  tentyp = n;
  tenrad = r;
}

void TDXFmodel::SetMojiStyle(int n) { mojistyle = n; }

void TDXFmodel::SetMojiExpInfo(bool fl1, bool fl2, std::u16string_view fname,
                               std::u16string_view mem1, std::u16string_view mem2,
                               double fdate, double ndate, int dtime, double pscl,
                               const std::vector<double>& lgscale,
                               const std::vector<int>& cl) {
  mexp.flag1 = fl1;
  mexp.flag2 = fl2;
  mexp.filename = std::u16string(fname);
  mexp.filedate = fdate;
  mexp.memo1 = std::u16string(mem1);
  mexp.memo2 = std::u16string(mem2);
  mexp.scale.fill(0);
  for (std::size_t i = 0; i < mexp.scale.size() && i < lgscale.size(); ++i) {
    mexp.scale[i] = lgscale[i];
  }
  mexp.prtscale = pscl;
  mexp.nowdate = ndate;
  mexp.drawtime = dtime;
  mexp.col.fill(0);
  for (std::size_t i = 0; i < mexp.col.size() && i < cl.size(); ++i) mexp.col[i] = cl[i];
  mexp.eLine.clear();
  mexp.eMoji.clear();
}

void TDXFmodel::InitZwhv(bool f) {
  zw_h.clear();
  zw_v.clear();
  if (f) zw_w.clear();
}

void TDXFmodel::Pw_Init() {
  dpw1.clear();
  dpw2.clear();
}

// ---------------------------------------------------------------------------

TDXFmodel::Lists TDXFmodel::TopLists() {
  return Lists{deNo,   deLine, deCirc, deArc, deElli, deTen,   deSld3,
               deSld4, deMoji, deImag, dePLin, deDim, deBlock, &deVport};
}

TDXFmodel::Lists TDXFmodel::BlockLists(int bn) {
  TDXF_BlockDef& b = deBlockDef[static_cast<std::size_t>(bn)];
  return Lists{b.dmNo,   b.dmLine, b.dmCirc, b.dmArc, b.dmElli, b.dmTen,   b.dmSld3,
               b.dmSld4, b.dmMoji, b.dmImag, b.dmPLin, b.dmDim, b.dmBlock, nullptr};
}

int TDXFmodel::ReduceCol(int ly, int co) const {
  if (ly >= 0 && ly < layn() && co == lays[static_cast<std::size_t>(ly)].col) return 0;
  return co;
}

int TDXFmodel::ReduceLtp(int ly, int tp) const {
  if (ly >= 0 && ly < layn() && tp == lays[static_cast<std::size_t>(ly)].ltp) return 0;
  return tp;
}

int TDXFmodel::ReduceWid(int ly, int wd) const {
  if (ly >= 0 && ly < layn() && wd == lays[static_cast<std::size_t>(ly)].wid) return 0;
  return wd;
}

// ---------------------------------------------------------------------------
// Lines

bool TDXFmodel::AddLine(int sp, int ly, int co, int tp, int wd, double px1, double py1,
                        double px2, double py2) {
  TDXF_Line r{sp, ly, ReduceCol(ly, co), ReduceLtp(ly, tp), ReduceWid(ly, wd),
              px1, py1, px2, py2};
  return Append(deNo, deLine, kDxfLine, std::move(r));
}

bool TDXFmodel::AddBlockLine(int bn, int sp, int ly, int co, int tp, int wd, double px1,
                             double py1, double px2, double py2) {
  if (!ValidBlock(bn)) return false;
  Lists l = BlockLists(bn);
  TDXF_Line r{sp, ly, ReduceCol(ly, co), ReduceLtp(ly, tp), ReduceWid(ly, wd),
              px1, py1, px2, py2};
  return Append(l.no, l.line, kDxfLine, std::move(r));
}

// ---------------------------------------------------------------------------
// Arcs

bool TDXFmodel::PutArc(Lists l, bool block, int sp, int ly, int co, int tp, int wd,
                       double px, double py, double pr, double ph, double ps, double pd,
                       double pk) {
  const int c = ReduceCol(ly, co);
  const int t = ReduceLtp(ly, tp);
  const int w = ReduceWid(ly, wd);
  const double d = std::fabs(pd);
  const bool whole = !block && std::fabs(d - 360) <= 1e-14;
  const bool none = d <= 1e-14;
  if (std::fabs(ph - 1) <= 1e-14) {
    if (whole || none) {
      return Append(l.no, l.circ, kDxfCircle, TDXF_Circle{sp, ly, c, t, w, px, py, pr});
    }
    return Append(l.no, l.arc, kDxfArc,
                  TDXF_Arc{sp, ly, c, t, w, px, py, pr, NormalizeDeg(ps + pk), pd});
  }
  double da = pd;
  if (!block && (none || whole)) da = 0;
  return Append(l.no, l.elli, kDxfEllipse,
                TDXF_Ellipse{sp, ly, c, t, w, px, py, pr, ph, ps, da, pk});
}

bool TDXFmodel::AddArc(int sp, int ly, int co, int tp, int wd, double px, double py,
                       double pr, double ph, double ps, double pd, double pk) {
  return PutArc(TopLists(), false, sp, ly, co, tp, wd, px, py, pr, ph, ps, pd, pk);
}

bool TDXFmodel::AddBlockArc(int bn, int sp, int ly, int co, int tp, int wd, double px,
                            double py, double pr, double ph, double ps, double pd,
                            double pk) {
  if (!ValidBlock(bn)) return false;
  return PutArc(BlockLists(bn), true, sp, ly, co, tp, wd, px, py, pr, ph, ps, pd, pk);
}

// ---------------------------------------------------------------------------
// Points and solids

bool TDXFmodel::AddTen(int sp, int ly, int co, int wd, int cd, double px, double py,
                       double pa, double pb) {
  TDXF_Ten r{sp, ly, ReduceCol(ly, co), ReduceWid(ly, wd), cd, px, py, pa, pb};
  return Append(deNo, deTen, kDxfTen, std::move(r));
}

bool TDXFmodel::AddBlockTen(int bn, int sp, int ly, int co, int wd, int cd, double px,
                            double py, double pa, double pb) {
  if (!ValidBlock(bn)) return false;
  Lists l = BlockLists(bn);
  TDXF_Ten r{sp, ly, ReduceCol(ly, co), ReduceWid(ly, wd), cd, px, py, pa, pb};
  return Append(l.no, l.ten, kDxfTen, std::move(r));
}

bool TDXFmodel::AddSolid3(int sp, int ly, int co, double px1, double py1, double px2,
                          double py2, double px3, double py3) {
  TDXF_Solid3 r{sp, ly, ReduceCol(ly, co), px1, py1, px2, py2, px3, py3};
  return Append(deNo, deSld3, kDxfSolid3, std::move(r));
}

bool TDXFmodel::AddBlockSolid3(int bn, int sp, int ly, int co, double px1, double py1,
                               double px2, double py2, double px3, double py3) {
  if (!ValidBlock(bn)) return false;
  Lists l = BlockLists(bn);
  TDXF_Solid3 r{sp, ly, ReduceCol(ly, co), px1, py1, px2, py2, px3, py3};
  return Append(l.no, l.sld3, kDxfSolid3, std::move(r));
}

bool TDXFmodel::PutSolid4(Lists l, int sp, int ly, int co, double px1, double py1,
                          double px2, double py2, double px3, double py3, double px4,
                          double py4) {
  const int c = ReduceCol(ly, co);
  if (std::fabs(px3 - px4) <= 1e-12 && std::fabs(py3 - py4) <= 1e-12) {
    return Append(l.no, l.sld3, kDxfSolid3, TDXF_Solid3{sp, ly, c, px1, py1, px2, py2, px3, py3});
  }
  return Append(l.no, l.sld4, kDxfSolid4,
                TDXF_Solid4{sp, ly, c, px1, py1, px2, py2, px3, py3, px4, py4});
}

bool TDXFmodel::AddSolid4(int sp, int ly, int co, double px1, double py1, double px2,
                          double py2, double px3, double py3, double px4, double py4) {
  return PutSolid4(TopLists(), sp, ly, co, px1, py1, px2, py2, px3, py3, px4, py4);
}

bool TDXFmodel::AddBlockSolid4(int bn, int sp, int ly, int co, double px1, double py1,
                               double px2, double py2, double px3, double py3, double px4,
                               double py4) {
  if (!ValidBlock(bn)) return false;
  return PutSolid4(BlockLists(bn), sp, ly, co, px1, py1, px2, py2, px3, py3, px4, py4);
}

// ---------------------------------------------------------------------------
// Texts

bool TDXFmodel::PutMojiA(Lists l, int sp, int ly, int co, int tp, int bs, int fl,
                         double px1, double py1, double px2, double py2, double pw,
                         double ph, double pd, double pa, std::u16string_view pf,
                         std::u16string_view ps) {
  TDXF_Moji r;
  r.spc = sp;
  r.lay = ly;
  r.col = ReduceCol(ly, co);
  r.typ = tp;
  r.bas = bs;
  r.tate = (fl & 1) != 0;
  r.syat = (fl & 2) != 0 && !r.tate;
  r.x1 = px1;
  r.y1 = py1;
  r.x2 = px2;
  r.y2 = py2;
  r.w = ClampSize(pw);
  r.h = ClampSize(ph);
  r.d = pd;
  r.a = pa;
  try {
    r.fo = std::u16string(pf);
    r.st = dxftext::CopyWidth(ps, kTextWidth);
  } catch (const std::bad_alloc&) {
    return false;
  }
  return Append(l.no, l.moji, kDxfMoji, std::move(r));
}

bool TDXFmodel::AddMojiA(int sp, int ly, int co, int tp, int bs, int fl, double px1,
                         double py1, double px2, double py2, double pw, double ph, double pd,
                         double pa, std::u16string_view pf, std::u16string_view ps) {
  return PutMojiA(TopLists(), sp, ly, co, tp, bs, fl, px1, py1, px2, py2, pw, ph, pd, pa, pf,
                  ps);
}

bool TDXFmodel::AddBlockMojiA(int bn, int sp, int ly, int co, int tp, int bs, int fl,
                              double px1, double py1, double px2, double py2, double pw,
                              double ph, double pd, double pa, std::u16string_view pf,
                              std::u16string_view ps) {
  if (!ValidBlock(bn)) return false;
  return PutMojiA(BlockLists(bn), sp, ly, co, tp, bs, fl, px1, py1, px2, py2, pw, ph, pd, pa,
                  pf, ps);
}

// bn = -1: the top level.
bool TDXFmodel::PutMoji(int bn, int sp, int ly, int co, int tp, int bs, int fl, double px1,
                        double py1, double px2, double py2, double pw, double ph, double pd,
                        double pa, std::u16string_view pf, std::u16string_view ps) {
  if (bn >= 0 && !ValidBlock(bn)) return false;
  auto lists = [&] { return bn < 0 ? TopLists() : BlockLists(bn); };
  pw = ClampSize(pw);
  ph = ClampSize(ph);
  const std::u16string text = dxftext::CopyWidth(ps, kTextWidth);

  // Text expansion. Without an expander the text is stored as received.
  if (expander_ != nullptr) {
    TDXF_MojiExpander& ex = *expander_;
    if (mexp.flag1 && ex.CheckMojiExp1(*this, text)) {
      std::u16string r = ex.GetMojiExp1(*this, ly, text);
      const bool vertical = (fl & 1) != 0;
      const double len = vertical ? TextRunLengthSimple(r, pw, pd) : TextRunLength(r, pw, pd);
      const std::size_t dot = r.find(u'\uFF65');
      if (dot != std::u16string::npos && dot > 0) r.resize(dot);
      const double rad = pa * 3.14159265358979323846 / 180.0;
      return PutMojiA(lists(), sp, ly, co, tp, bs, fl, px1, py1, px1 + len * std::cos(rad),
                      py1 + len * std::sin(rad), pw, ph, pd, pa, pf, r);
    }
    if (mexp.flag2 && ex.CheckMojiExp2(*this, text)) {
      const std::u16string r = ex.GetMojiExp2Str(*this, fl, text);
      if (r.empty()) {
        return PutMojiA(lists(), sp, ly, co, tp, bs, fl, px1, py1, px2, py2, pw, ph, pd, pa, pf,
                        text);
      }
      const double w2 = ex.GetMojiExp2Len(*this, fl, pw, pd, text) / CharCount(r);
      ex.GetMojiExp2exp(*this, co, fl, px1, py1, w2, ph, pa, text);
      // Copies: adding may not see the lists change under it.
      const std::vector<TDXF_Line> lines = std::move(mexp.eLine);
      const std::vector<TDXF_Moji> texts = std::move(mexp.eMoji);
      mexp.eLine.clear();
      mexp.eMoji.clear();
      for (const TDXF_Line& e : lines) {
        if (bn < 0) {
          AddLine(sp, ly, e.col, 0, 0, e.x1, e.y1, e.x2, e.y2);
        } else {
          AddBlockLine(bn, sp, ly, e.col, 0, 0, e.x1, e.y1, e.x2, e.y2);
        }
      }
      for (const TDXF_Moji& e : texts) {
        const int f = (e.tate ? 1 : 0) + (e.syat ? 2 : 0);
        PutMojiA(lists(), sp, ly, e.col, tp, bs, f, e.x1, e.y1, e.x2, e.y2, e.w, e.h, 0, e.a,
                 pf, e.st);
      }
      return true;
    }
  }
  return PutMojiA(lists(), sp, ly, co, tp, bs, fl, px1, py1, px2, py2, pw, ph, pd, pa, pf,
                  text);
}

bool TDXFmodel::AddMoji(int sp, int ly, int co, int tp, int bs, int fl, double px1,
                        double py1, double px2, double py2, double pw, double ph, double pd,
                        double pa, std::u16string_view pf, std::u16string_view ps) {
  return PutMoji(-1, sp, ly, co, tp, bs, fl, px1, py1, px2, py2, pw, ph, pd, pa, pf, ps);
}

bool TDXFmodel::AddBlockMoji(int bn, int sp, int ly, int co, int tp, int bs, int fl,
                             double px1, double py1, double px2, double py2, double pw,
                             double ph, double pd, double pa, std::u16string_view pf,
                             std::u16string_view ps) {
  if (!ValidBlock(bn)) return false;
  return PutMoji(bn, sp, ly, co, tp, bs, fl, px1, py1, px2, py2, pw, ph, pd, pa, pf, ps);
}

// ---------------------------------------------------------------------------
// Images

bool TDXFmodel::AddImage(int sp, int ly, double px, double py, double pix, double piy,
                         double psx, double psy, double pa, std::u16string_view pf) {
  TDXF_Image r{sp, ly, px, py, pix, piy, psx, psy, pa, std::u16string(pf), 0};
  return Append(deNo, deImag, kDxfImage, std::move(r));
}

bool TDXFmodel::AddBlockImage(int bn, int sp, int ly, double px, double py, double pix,
                              double piy, double psx, double psy, double pa,
                              std::u16string_view pf) {
  if (!ValidBlock(bn)) return false;
  Lists l = BlockLists(bn);
  TDXF_Image r{sp, ly, px, py, pix, piy, psx, psy, pa, std::u16string(pf), 0};
  return Append(l.no, l.imag, kDxfImage, std::move(r));
}

// ---------------------------------------------------------------------------
// Polylines

bool TDXFmodel::PutPLine(Lists l, int sp, int ly, int co, int tp, int wd, double w1,
                         double w2, bool cf, int n, const std::vector<TDXF_PLinePoint>& pv) {
  // Never more vertices than the caller handed over.
  std::size_t count = static_cast<std::size_t>(std::abs(static_cast<long long>(n)));
  if (count > pv.size()) count = pv.size();
  TDXF_PLine r;
  r.spc = sp;
  r.lay = ly;
  r.col = ReduceCol(ly, co);
  r.typ = ReduceLtp(ly, tp);
  r.wid = ReduceWid(ly, wd);
  r.wd1 = w1;
  r.wd2 = w2;
  r.clf = cf;
  try {
    r.v.assign(pv.begin(), pv.begin() + static_cast<std::ptrdiff_t>(count));
  } catch (const std::bad_alloc&) {
    return false;
  }
  r.vn = static_cast<int>(count);
  return Append(l.no, l.plin, kDxfPLine, std::move(r));
}

bool TDXFmodel::AddPLine(int sp, int ly, int co, int tp, int wd, double w1, double w2,
                         bool cf, int n, const std::vector<TDXF_PLinePoint>& pv) {
  return PutPLine(TopLists(), sp, ly, co, tp, wd, w1, w2, cf, n, pv);
}

bool TDXFmodel::AddBlockPLine(int bn, int sp, int ly, int co, int tp, int wd, double w1,
                              double w2, bool cf, int n,
                              const std::vector<TDXF_PLinePoint>& pv) {
  if (!ValidBlock(bn)) return false;
  return PutPLine(BlockLists(bn), sp, ly, co, tp, wd, w1, w2, cf, n, pv);
}

// ---------------------------------------------------------------------------
// Dimensions

bool TDXFmodel::PutDim(Lists l, int sp, int ly, int co, int tp, int wd, int n, int st,
                       int ba, bool f3, bool f4, bool f5, bool f6, double px0, double py0,
                       double px1, double py1, double px3, double py3, double px4,
                       double py4, double px5, double py5, double px6, double py6,
                       double pl, double pa, double pha, double psa, std::u16string_view pd,
                       std::u16string_view ps) {
  TDXF_Dimension r;
  r.spc = sp;
  r.lay = ly;
  r.col = ReduceCol(ly, co);
  r.typ = ReduceLtp(ly, tp);
  r.wid = ReduceWid(ly, wd);
  r.bln = n;
  r.stp = st;
  r.bas = ba;
  r.x0 = px0;
  r.y0 = py0;
  r.x1 = px1;
  r.y1 = py1;
  r.fl3 = f3;
  r.x3 = px3;
  r.y3 = py3;
  r.fl4 = f4;
  r.x4 = px4;
  r.y4 = py4;
  r.fl5 = f5;
  r.x5 = px5;
  r.y5 = py5;
  r.fl6 = f6;
  r.x6 = px6;
  r.y6 = py6;
  r.hlen = pl;
  r.ang = pa;
  r.hang = pha;
  r.sang = psa;
  try {
    r.sst = std::u16string(pd);
    r.str = dxftext::CopyWidth(ps, kTextWidth);
  } catch (const std::bad_alloc&) {
    return false;
  }
  return Append(l.no, l.dim, kDxfDim, std::move(r));
}

bool TDXFmodel::AddDim(int sp, int ly, int co, int tp, int wd, int n, int st, int ba,
                       bool f3, bool f4, bool f5, bool f6, double px0, double py0,
                       double px1, double py1, double px3, double py3, double px4,
                       double py4, double px5, double py5, double px6, double py6,
                       double pl, double pa, double pha, double psa, std::u16string_view pd,
                       std::u16string_view ps) {
  return PutDim(TopLists(), sp, ly, co, tp, wd, n, st, ba, f3, f4, f5, f6, px0, py0, px1, py1,
                px3, py3, px4, py4, px5, py5, px6, py6, pl, pa, pha, psa, pd, ps);
}

bool TDXFmodel::AddBlockDim(int bn, int sp, int ly, int co, int tp, int wd, int n, int st,
                            int ba, bool f3, bool f4, bool f5, bool f6, double px0,
                            double py0, double px1, double py1, double px3, double py3,
                            double px4, double py4, double px5, double py5, double px6,
                            double py6, double pl, double pa, double pha, double psa,
                            std::u16string_view pd, std::u16string_view ps) {
  if (!ValidBlock(bn) || !ValidBlock(n)) return false;
  return PutDim(BlockLists(bn), sp, ly, co, tp, wd, n, st, ba, f3, f4, f5, f6, px0, py0, px1,
                py1, px3, py3, px4, py4, px5, py5, px6, py6, pl, pa, pha, psa, pd, ps);
}

// ---------------------------------------------------------------------------
// Viewports and inserts

bool TDXFmodel::AddVPort(int sp, double psc, double pdx, double pdy, double px, double py,
                         double pw, double ph, double pvx, double pvy, double pvh) {
  TDXF_ViewPort r;
  r.spc = sp;
  r.id = deVportN() + 1;
  r.sc = psc;
  r.dx = pdx;
  r.dy = pdy;
  r.cx = px;
  r.cy = py;
  r.w = pw;
  r.h = ph;
  r.vx = pvx;
  r.vy = pvy;
  r.vh = pvh;
  return Append(deNo, deVport, kDxfVport, std::move(r));
}

bool TDXFmodel::AddBlock(int sp, int ly, int co, int tp, int wd, int n, double px, double py,
                         double pa, double pbx, double pby) {
  TDXF_Block r{sp, ly, ReduceCol(ly, co), ReduceLtp(ly, tp), ReduceWid(ly, wd), n,
               px, py, pa, pbx, pby};
  return Append(deNo, deBlock, kDxfBlock, std::move(r));
}

bool TDXFmodel::AddBlockBlock(int bn, int sp, int ly, int co, int tp, int wd, int n,
                              double px, double py, double pa, double pbx, double pby) {
  if (!ValidBlock(bn) || !ValidBlock(n)) return false;
  Lists l = BlockLists(bn);
  TDXF_Block r{sp, ly, ReduceCol(ly, co), ReduceLtp(ly, tp), ReduceWid(ly, wd), n,
               px, py, pa, pbx, pby};
  return Append(l.no, l.block, kDxfBlock, std::move(r));
}

}  // namespace parvex
