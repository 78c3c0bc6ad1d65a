#include "converter/mapping/layer_usage_counter.h"

#include "converter/mapping/pen_maps.h"

namespace parvex {

TJwLayerCount::TJwLayerCount() { JWW_Init(); }

void TJwLayerCount::Init(int colours, int ltypes) {
  for (auto& w : cn) {
    w.col.assign(colours, 0);
    w.ltp.assign(ltypes, 0);
    w.colmax = 0;
    w.colman = -1;
    w.ltpmax = 0;
    w.ltpman = -1;
  }
  gn.fill(0);
  gnmax = -1;
  gnmaxr = -1;
}

void TJwLayerCount::JWW_Init() { Init(265, 49); }
void TJwLayerCount::JWC_Init() { Init(7, 17); }

void TJwLayerCount::Count(int index, int aci, int ltype) {
  auto& w = cn[index];
  if (aci >= 1 && aci <= static_cast<int>(w.col.size())) ++w.col[aci - 1];
  if (ltype >= 1 && ltype <= static_cast<int>(w.ltp.size())) ++w.ltp[ltype - 1];
  ++gn[index / 16];
}

void TJwLayerCount::JWW_CountUp(int lg, int ly, int lt, int aci) {
  if (lg < 0 || lg > 15 || ly < 0 || ly > 15) return;
  Count(lg * 16 + ly, aci, lt >= 0 ? PenStyleToLtype(lt) : -1);
}

void TJwLayerCount::JWC_CountUp(int ly, int aci, int ltype) {
  if (ly < 0 || ly > 255) return;
  Count(ly, aci, ltype);
}

void TJwLayerCount::CaluMax() {
  for (auto& w : cn) {
    w.colmax = 0;
    w.colman = -1;
    for (int i = 0; i < static_cast<int>(w.col.size()); ++i) {
      if (w.col[i] > w.colmax) {
        w.colmax = w.col[i];
        w.colman = i;
      }
    }
    w.ltpmax = 0;
    w.ltpman = -1;
    for (int i = 0; i < static_cast<int>(w.ltp.size()); ++i) {
      if (w.ltp[i] > w.ltpmax) {
        w.ltpmax = w.ltp[i];
        w.ltpman = i;
      }
    }
  }
  int best = -1;
  for (int g = 0; g < 16; ++g) {
    if (g == gnmaxr) continue;
    if (gn[g] > best) {
      best = gn[g];
      gnmax = g;
    }
  }
}

}  // namespace parvex
