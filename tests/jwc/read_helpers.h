// Reading written bytes back through the JWC and JWK readers.
#pragma once

#include <cstdint>
#include <cstring>
#include <span>
#include <string>

#include "converter/jwc/jwc_data.h"

namespace parvex::testing {

inline std::span<const uint8_t> AsBytes(const std::string& s) {
  return {reinterpret_cast<const uint8_t*>(s.data()), s.size()};
}

inline Status ReadJwc(TJwcData& d, const std::string& bytes) { return d.ReadBytes(AsBytes(bytes)); }
inline Status ReadJwk(TJwkData& d, const std::string& bytes) { return d.ReadBytes(AsBytes(bytes)); }

// Overwrites the bytes of `v` at `at`.
template <class T>
void Patch(std::string& bytes, size_t at, T v) {
  std::memcpy(bytes.data() + at, &v, sizeof v);
}

}  // namespace parvex::testing
