// Reading written bytes back through the drawing readers.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "converter/jww/jws_data.h"
#include "converter/jww/jww_data.h"

namespace parvex::testing {

inline std::span<const uint8_t> AsBytes(const std::string& s) {
  return {reinterpret_cast<const uint8_t*>(s.data()), s.size()};
}

inline bool ReadJww(TJwwData& d, const std::string& bytes) { return d.ReadBytes(AsBytes(bytes)); }
inline bool ReadJws(TJwsData& d, const std::string& bytes) { return d.ReadBytes(AsBytes(bytes)); }

}  // namespace parvex::testing
