#include "converter/mapping/pen_maps.h"

#include <array>
#include <utility>

namespace parvex {

int PenStyleToLtype(int penStyle) {
  if (penStyle >= 1 && penStyle <= 9) return penStyle;
  if (penStyle >= 11 && penStyle <= 19) return penStyle - 1;   // RAND1..5, CENTERX2..DASHEDX4
  if (penStyle >= 32 && penStyle <= 45) return penStyle - 13;  // SXF standard 02..15
  if (penStyle >= 47 && penStyle <= 62) return penStyle - 14;  // SXF user-defined 17..32
  return 1;                                                    // Continuous
}

int PenWidthToLineweight(int penWidth) {
  if (penWidth <= 0) return 0;
  // (last pen width of the band, lineweight of the band)
  static constexpr std::array<std::pair<int, int>, 23> kBands{{
      {7, 5},     {11, 9},    {14, 13},   {16, 15},   {19, 18},   {22, 20},
      {27, 25},   {32, 30},   {37, 35},   {45, 40},   {51, 50},   {56, 53},
      {65, 60},   {75, 70},   {85, 80},   {95, 90},   {103, 100}, {113, 106},
      {130, 120}, {149, 140}, {179, 158}, {205, 200}, {0x7fffffff, 211},
  }};
  for (const auto& [last, weight] : kBands) {
    if (penWidth <= last) return weight;
  }
  return 211;
}

}  // namespace parvex
