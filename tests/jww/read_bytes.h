// Reading bytes that a test wrote or edited through the drawing readers.
// The files themselves come from the test writer (tests/support); a test
// that needs bytes the writer never produces edits a written file at the
// offsets the writer reports (JwwLayout), or spells out a few raw bytes.
#pragma once

#include <gtest/gtest.h>

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

// A read as a test condition that shows the reason when it failed:
// ASSERT_TRUE(Succeeded(ReadJww(d, bytes))).
inline ::testing::AssertionResult Succeeded(const Status& read) {
  if (read) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << read.reason();
}

inline Status ReadJww(TJwwData& d, std::string_view bytes) { return d.ReadBytes(AsBytes(bytes)); }
inline Status ReadJws(TJwsData& d, std::string_view bytes) { return d.ReadBytes(AsBytes(bytes)); }

}  // namespace parvex::testing
