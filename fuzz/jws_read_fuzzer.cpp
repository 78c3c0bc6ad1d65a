// Feeds arbitrary bytes to the JWS reader and computes the extents.
#include <cstddef>
#include <cstdint>

#include "converter/jww/jws_data.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  parvex::TJwsData shape;
  (void)shape.ReadBytes({data, size});
  parvex::DrawingExtents extents;
  shape.GetMinMaxZahyo(extents);
  return 0;
}
