// Unicode simple case mapping: every character maps to one character of
// the same length in code units, so that indexes into the text stay valid.
// Characters outside the Basic Multilingual Plane keep their length too;
// unpaired surrogates stay as they are.
#pragma once

#include <string>
#include <string_view>

namespace parvex::platform {

std::u16string UpperCase(std::u16string_view s);
std::u16string LowerCase(std::u16string_view s);

}  // namespace parvex::platform
