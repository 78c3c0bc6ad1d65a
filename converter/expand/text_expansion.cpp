#include "converter/expand/text_expansion.h"

namespace parvex {

std::optional<TDXF_MojiExpansion> ExpandMoji(const TDXF_Moji&, const TDXF_Moji_Exp_Info&) {
  return std::nullopt;
}

}  // namespace parvex
