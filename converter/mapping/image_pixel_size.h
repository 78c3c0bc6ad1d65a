// The size in pixels of an image file, from its header alone (the pixels
// are never decoded): BMP, PNG, JPEG, GIF, TGA and PSD.
#pragma once

#include <filesystem>
#include <optional>

namespace parvex {

struct ImagePixelSize {
  int Width = 0;
  int Height = 0;
};

// Nothing when the file cannot be opened or its header is not one of the
// formats above (or states no pixels).
std::optional<ImagePixelSize> ReadImagePixelSize(const std::filesystem::path& file);

}  // namespace parvex
