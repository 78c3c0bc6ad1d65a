// Drawings that push the converter where careless or hostile input would:
// large files, blocks placed very often, carried images and gzip data that
// unpacks to far more than it takes.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "converter/jww/jww_data.h"

namespace parvex::testing {

// A drawing of `lines` lines on one layer.
TJwwData ManyLinesDrawing(int lines);

// How the arcs of RepeatedBlockDrawing's definition lie: short arcs along a
// ring (few of their points on the convex outline), or pieces of one
// circle (every point on it).
enum class ArcLayout { kRing, kOneCircle };

// One block definition of `arcs` arcs, inserted `insertions` times at the
// top level, each turned by `rotation` radians (0: no turn) and mirrored
// every other time.
TJwwData RepeatedBlockDrawing(int arcs, int insertions, double rotation = 0,
                              ArcLayout layout = ArcLayout::kRing);

// A version-700 drawing with one image text "^@BM" + NAME + ",100,75,..." for
// each of `imageTexts` (for carried images: "%temp%" + file name); the
// texts at `inBlock` positions go into a block definition that the drawing
// inserts.
TJwwData ImageTextsDrawing(const std::vector<std::u16string>& imageTexts,
                           const std::vector<size_t>& inBlock = {});

// Gzip data (one member) of `data`, and of `n` zero bytes (a few hundred
// bytes per megabyte, built without holding the zeros).
std::string Gzip(std::string_view data);
std::string GzipOfZeros(std::uint64_t n);

}  // namespace parvex::testing
