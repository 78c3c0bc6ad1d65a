// Jw_cad line types as 32-bit dash patterns (most significant bit first,
// 1 = drawn, 0 = gap) turned into DXF dash lengths.
#pragma once

#include <cstdint>
#include <vector>

namespace parvex {

// The pattern is first shortened to its repeating period (16, 8, 4 or 2
// bits), then cut into runs: n ones give +n * pitch, n zeros -n * pitch.
std::vector<double> LinePatternToDashes(std::uint32_t pattern, double pitch);

}  // namespace parvex
