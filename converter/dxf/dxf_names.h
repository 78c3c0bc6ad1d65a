// Names as a DXF file holds them: layers, line types, text styles and block
// definitions. One set of rules for every table, so that the default tables,
// the mapping and the model agree on what is valid and what is unique.
//
//   CleanDxfName   makes a name valid for the version (characters, blanks,
//                  width); a name that is already valid comes back unchanged.
//   DxfNameKey     the form in which a DXF reader compares two names: as
//                  written in the file (encoded), ignoring letter case.
//   MakeUniqueDxfName  appends "_1", "_2", ... (cutting the name so that it
//                  keeps within the version's width) until the key is free.
//
// The model applies all three in AddLtype, AddLayer, AddStyle and
// AddBlockDef; other code only needs them to predict a stored name.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "common/conversion_settings.h"

namespace parvex {

enum class DxfNameKind {
  Layer,
  Ltype,
  Style,
  // A block named by the drawing. A leading '*' would make a reader take it
  // for a layout ("*Model_Space", "*Paper_Space0") or an anonymous block
  // ("*U1", "*D12", ...), so it becomes '_' ("_Model_Space", "_U1").
  Block,
  // A block the model makes for itself as an anonymous block ("*D12"): its
  // leading '*' stays.
  AnonymousBlock,
};

// Widest name of a version in display width (half-width 1, other 2): 31 for
// R12 (ver 0), 255 for 2000 and 2007.
int DxfNameMaxWidth(DxfVersion ver);

// A name valid in a file of version ver (0 R12, 1 2000, 2 2007):
// - control characters are removed; R12 removes every blank, 2000 and 2007
//   remove leading and trailing half- and full-width spaces;
// - the characters DXF forbids in names (< > / \ " : ; ? * | = `) are
//   removed, except a leading '*' of a block name, which an anonymous block
//   keeps and a drawing's block turns into '_';
// - R12 keeps only $ - _ digits and Latin letters, half- or full-width;
// - R12 and 2000 replace a character code page 932 cannot hold by '_'
//   (the file would otherwise hold '?', which names may not contain);
// - the name is cut to the version's width.
// When nothing is left the result is `fallback` (itself not cleaned).
std::u16string CleanDxfName(std::u16string_view name, DxfVersion ver, DxfNameKind kind,
                            std::u16string_view fallback);

// Comparison key: the name upper-cased as the file holds it (R12 writes
// names in capitals; code page 932 turns unrepresentable characters into
// '?'), then upper-cased.
std::u16string DxfNameKey(std::u16string_view name, DxfVersion ver);

// If taken(key of name) is false, name itself; otherwise the first of
// P + "_" + i for i = 1..99999 whose key is not taken, where P is the
// longest prefix of the name whose width leaves room for "_" + i within
// DxfNameMaxWidth(ver). After 99999 the last candidate is returned.
std::u16string MakeUniqueDxfName(std::u16string_view name, DxfVersion ver,
                                 const std::function<bool(const std::u16string& key)>& taken);

}  // namespace parvex
