// Small text and angle helpers the DXF model needs: display widths (a
// half-width character counts 1, any other 2), blank removal, upper case,
// angle normalisation and the run length of a text line.
#pragma once

#include <string>
#include <string_view>

namespace parvex::dxftext {

// U+0020..U+007E and the half-width katakana U+FF61..U+FF9F.
bool IsHalfWidth(char16_t ch);

// Display width of a whole text.
int DisplayWidth(std::u16string_view s);

// Longest prefix of s whose display width is at most `width`. A surrogate
// pair is taken whole or not at all, so a cut never leaves half a
// character behind.
std::u16string CopyWidth(std::u16string_view s, int width);

// Half-width and full-width (U+3000) spaces and control characters.
bool IsBlank(char16_t ch);
std::u16string RemoveBlanks(std::u16string_view s);

// Upper case for ASCII, Latin-1, Latin Extended-A, Greek, Cyrillic and the
// full-width Latin letters. Other characters are unchanged.
std::u16string UpperText(std::u16string_view s);

// Into [0, 360); results within 1e-10 of 0 or 360 become 0. Values that are
// not finite, or too large for a step of 360 to change them, give 0.
double NormalizeDeg(double d);

// Number of characters, a valid surrogate pair counting once.
int CharCount(std::u16string_view s);

// Length of a text line of character width w and spacing gap: half-width
// characters take w/2 and are followed by gap/2; control characters take
// no width but are still spaced.
double TextRunLength(std::u16string_view s, double w, double gap);
// n*w + (n-1)*gap with n = CharCount(s).
double TextRunLengthSimple(std::u16string_view s, double w, double gap);

// Decimal digits of a non-negative number as UTF-16.
std::u16string IntText(long long v);

}  // namespace parvex::dxftext
