// The image texts of Jw_cad drawings: "^@BM" + file name + up to nine
// numbers, separated by commas.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace parvex {

struct ImageTextFields {
  bool Incomplete = true;  // fewer than three numbers, or not an image text
  std::u16string Name;
  double W = 0;
  double H = 0;
  double F3 = 0;
  double F4 = 0;
  double F5 = 1;
  double F6 = 0;
  std::int32_t I7 = -1;
  std::int32_t I8 = -1;
  std::int32_t I9 = -1;
};

// True for a text that places an image: "^@BM" and a comma after it. Any
// other text, "^@BM" without a comma included, is an ordinary text.
bool IsImageText(std::u16string_view s);

// Splits an image text into its fields; what the numbers mean is the
// caller's business.
ImageTextFields ParseImageText(std::u16string_view s);

}  // namespace parvex
