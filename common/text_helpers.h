// Text slicing, measuring and cleaning on UTF-16 text. Indexes are 0-based
// code-unit positions; out-of-range indexes give empty results instead of
// failing. "Blank" means U+0020, U+3000 and every code unit below U+0020.
#pragma once

#include <string>
#include <string_view>

namespace parvex {

// The one-character text s[i]; empty when i is outside s.
std::u16string CharAt(std::u16string_view s, std::ptrdiff_t i);

// Unicode simple case mapping, one character for one (so indexes stay
// valid); full-width Latin letters are mapped too.
std::u16string UpperText(std::u16string_view s);
std::u16string LowerText(std::u16string_view s);

// Index of the first occurrence of sub in s, -1 when absent.
std::ptrdiff_t PosZero(std::u16string_view sub, std::u16string_view s);

std::u16string CopyFrom(std::u16string_view s, std::ptrdiff_t i);
std::u16string CopyPart(std::u16string_view s, std::ptrdiff_t i, std::ptrdiff_t n);
std::u16string RightPart(std::u16string_view s, std::ptrdiff_t n);

// Characters whose display column (starting at 1; half-width characters
// take one column, others two) is at least `start`, appended while fewer
// than `width` columns have been appended.
std::u16string CopyByColumns(std::u16string_view s, int start, int width);

struct WidthSlice {
  std::u16string Part;
  std::ptrdiff_t Next = 0;  // index of the first character not taken
};
// Characters from index i while their summed widths (1 or 2) stay <= width.
WidthSlice CopyWidthFrom(std::u16string_view s, std::ptrdiff_t i, int width);

// Number of characters, a valid surrogate pair counting once.
std::ptrdiff_t CharCount(std::u16string_view s);

// -1 outside s; 1 for the high half and 2 for the low half of a valid
// surrogate pair; else 0.
int SurrogatePart(std::u16string_view s, std::ptrdiff_t i);

std::u16string RepeatText(std::u16string_view s, std::ptrdiff_t n);
bool IsBlank(char16_t c);
std::u16string RemoveBlanks(std::u16string_view s);
std::u16string RemoveControlChars(std::u16string_view s);
// Cuts code units up to U+0020 from both ends (U+3000 is kept).
std::u16string TrimText(std::u16string_view s);

// Removes the line-break marks "^m" and "\n" (two characters each) and
// control characters; an empty result becomes " ".
std::u16string StripBreakMarks(std::u16string_view s);

// U+0020..U+007E and the half-width katakana U+FF61..U+FF9F.
bool IsHalfWidth(char16_t ch);

// Length of a text line of character width w and spacing gap: half-width
// characters count half a width and half a gap; control characters add no
// width but are still separated by spacing.
double TextRunLength(std::u16string_view s, double w, double gap);
// n * w + (n - 1) * gap with n = CharCount(s); 0 for empty text.
double TextRunLengthSimple(std::u16string_view s, double w, double gap);

// Code page 932 bytes to text, cut before the first U+0000.
std::u16string AnsiBytesToText(std::string_view bytes);
// UTF-16LE bytes to text (a final odd byte ignored), cut before U+0000.
std::u16string Utf16BytesToText(std::string_view bytes);

}  // namespace parvex
