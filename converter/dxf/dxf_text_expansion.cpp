#include "converter/dxf/dxf_text_expansion.h"

namespace parvex {

std::optional<TDXF_MojiExpansion> ExpandMoji(const TDXF_Moji&, const TextExpansionInputs&) {
  return std::nullopt;
}

}  // namespace parvex
