#include "converter/dxf/dxf_frames.h"

#include <algorithm>

namespace parvex {

void DxfFrameFinder::InitZwhv(bool frames) {
  horizontal_.clear();
  vertical_.clear();
  if (frames) frames_.clear();
}

void DxfFrameFinder::Zw_AddW(int n, double x1, double x2, double y1, double y2) {
  frames_.push_back({n, std::min(x1, x2), std::min(y1, y2), std::max(x1, x2), std::max(y1, y2)});
}

}  // namespace parvex
