// Block definitions and inserts of the JWW/JWS to DXF mapping: the name a
// definition gets in the DXF file, and the nested inserts that must be left
// out so that no block of the file inserts itself.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace parvex {

// Marker that Jw_cad appends to the names of some definitions, followed by
// data of its own; the name ends before it.
inline constexpr std::u16string_view kBlockNameMarker = u"@@SfigorgFlag@@";

// The definition's name as the DXF file shows it: `strName` cut before the
// first marker (blank names and clashes are the model's business).
std::u16string BlockDefName(std::u16string_view strName);

// A Jw_cad drawing may hold blocks that insert themselves, directly or
// through other blocks. The drawing's block tree stops such an expansion,
// but a DXF file whose block definitions reach themselves is rejected by
// CAD programs. This finds the nested inserts to leave out: a depth-first
// walk over the definitions, starting from those the top level inserts (in
// order) and then from every definition (in order), marks each insert that
// leads back to a definition still being walked.
//
// members[d]: for definition d, the definitions its inserts name in output
// order (-1 = none written). roots: the definitions the top level inserts,
// in output order (-1 = none). Returns, for every d, one flag per member
// insert: true = leave it out. Iterative, so deep nesting cannot exhaust
// the stack.
std::vector<std::vector<bool>> FindCyclicInserts(const std::vector<std::vector<int>>& members,
                                                 const std::vector<int>& roots);

}  // namespace parvex
