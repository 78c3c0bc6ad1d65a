// Image files for tests of the image conversion: whole, valid files that
// any image viewer opens, in the two formats Jw_cad drawings carry most.
#pragma once

#include <string>

namespace parvex::testing {

// A PNG of `width` x `height` RGB pixels (a colour gradient).
std::string PngImage(int width, int height);
// An uncompressed 24-bit BMP of `width` x `height` pixels, stored bottom-up,
// or top-down (negative height in the header) when `topDown` is set.
std::string BmpImage(int width, int height, bool topDown = false);

}  // namespace parvex::testing
