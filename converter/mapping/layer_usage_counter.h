// Counts, per Jw_cad layer, how often each DXF colour and line type occurs,
// so that every DXF layer can get the colour and line type its entities use
// most; also counts entities per layer group to find the busiest group.
#pragma once

#include <array>
#include <vector>

namespace parvex {

struct TJwLayerCount_Work {
  std::vector<int> col;  // col[i]: entities of ACI i + 1
  std::vector<int> ltp;  // ltp[i]: entities of line-type index i + 1
  int colmax = 0;
  int colman = -1;  // index of the highest colour count, -1 when none
  int ltpmax = 0;
  int ltpman = -1;
};

class TJwLayerCount {
 public:
  TJwLayerCount();

  // Counter sizes for Windows-edition drawings (265 colours, 49 line types)
  // and for DOS-edition drawings (7 colours, 17 line types); both zero every
  // counter and reset gnmax and gnmaxr to -1.
  void JWW_Init();
  void JWC_Init();

  // One JWW/JWS entity on group lg, layer ly (each 0..15, else ignored),
  // with DXF colour `aci` (already resolved to 1..255) and pen style lt
  // (mapped to a line-type index; lt < 0 counts no line type).
  void JWW_CountUp(int lg, int ly, int lt, int aci);
  // One JWC/JWK entity on flat layer ly (0..255), with its DXF colour and
  // its line-type index (< 0: none).
  void JWC_CountUp(int ly, int aci, int ltype);

  void CaluMax();

  std::array<TJwLayerCount_Work, 256> cn;
  std::array<int, 16> gn{};
  int gnmax = -1;
  int gnmaxr = -1;

 private:
  void Init(int colours, int ltypes);
  void Count(int index, int aci, int ltype);
};

}  // namespace parvex
