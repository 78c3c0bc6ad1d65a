// The two text helpers of the DXF model that differ on purpose from the
// ones in common/text_helpers.h; every other text and angle helper the
// model uses (IsHalfWidth, RemoveBlanks, CharCount, TextRunLength,
// NormalizeDeg, IntToText, ...) comes from common/.
#pragma once

#include <string>
#include <string_view>

namespace parvex::dxftext {

// Longest prefix of s whose display width (a half-width character counts
// 1, any other 2) is at most `width`. Unlike CopyWidthFrom, a surrogate
// pair is taken whole or not at all, so a cut never leaves half a
// character behind in a name or text the DXF file carries.
std::u16string CopyWidth(std::u16string_view s, int width);

// Upper case for ASCII, Latin-1, Latin Extended-A, Greek, Cyrillic and the
// full-width Latin letters; every other character is unchanged. Narrower
// than parvex::UpperText (full Unicode simple case mapping): characters
// such as U+00B5, U+0131, U+017F, U+03C2, accented Greek or supplementary
// letters keep their form here, and the table and block names written to
// the DXF file depend on that.
std::u16string UpperText(std::u16string_view s);

}  // namespace parvex::dxftext
