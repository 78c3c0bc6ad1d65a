// Jw_cad's text macros: a text that consists of exactly one code such as
// "%y", "=F", "%SS" or "%%name" shows a value (a date, the file name, the
// scale, a user variable) instead of itself.
#pragma once

#include <string>
#include <string_view>

#include "converter/expand/text_expansion.h"

namespace parvex {

// True when the whole text is one macro code.
bool CheckMojiExp1(std::u16string_view s);

// The value of the macro code s for a text of the given layer group (0..15;
// any other value stands for a fixed layer, whose scale is 1). A text that
// is no code is returned unchanged.
std::u16string GetMojiExp1(int layerGroup, std::u16string_view s, const TextExpansionInputs& in);

// The n-th space-separated word of f: the word before the n-th space. When
// f has fewer than n spaces, or the word before the n-th space is empty, the
// text after the last space (the whole text when f has no space).
std::u16string GetStrNSpace(std::u16string_view f, int n);

// The most "･" a "%j" or "&J" count code produces: a text keeps no more.
inline constexpr int kMaxStretchDots = kTextColumnLimit;

}  // namespace parvex
