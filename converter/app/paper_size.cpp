#include "converter/app/paper_size.h"

#include <cmath>

namespace parvex {

PaperSize PaperSizeOfCode(int code) {
  switch (code) {
    case 1: return {841, 594};
    case 2: return {594, 420};
    case 3: return {420, 297};
    case 4: return {297, 210};
    case 8: return {1682, 1189};
    case 9: return {2378, 1682};
    case 10: return {3364, 2378};
    case 11: return {4756, 3364};
    case 12: return {10000, 7073};
    case 13: return {50000, 35366};
    case 14: return {100000, 70732};
    default: return {1189, 841};
  }
}

PaperSize PaperSizeOfExtents(const DrawingExtents& e) {
  return {std::fabs(e.ExtMaxX - e.ExtMinX), std::fabs(e.ExtMaxY - e.ExtMinY)};
}

}  // namespace parvex
