// Reading bytes that a test wrote or edited through the drawing readers.
// The files themselves come from the test writer (tests/support); a test
// that needs bytes the writer never produces edits a written file at the
// offsets the writer reports (JwwLayout), or spells out a few raw bytes.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "converter/jww/jws_data.h"
#include "converter/jww/jww_data.h"

namespace parvex::testing {

inline std::span<const uint8_t> AsBytes(std::string_view s) {
  return {reinterpret_cast<const uint8_t*>(s.data()), s.size()};
}

inline bool ReadJww(TJwwData& d, std::string_view bytes) { return d.ReadBytes(AsBytes(bytes)); }
inline bool ReadJws(TJwsData& d, std::string_view bytes) { return d.ReadBytes(AsBytes(bytes)); }

}  // namespace parvex::testing
