// Feeds arbitrary bytes to the JWC reader, then to the steps that follow a
// read in a conversion (default colours, extents).
#include <cstddef>
#include <cstdint>

#include "converter/attributes/gra_attribute.h"
#include "converter/jwc/jwc_data.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  parvex::TJwcData drawing;
  (void)drawing.ReadBytes({data, size});
  parvex::TgraAttribute attributes;
  parvex::DrawingExtents extents;
  drawing.AfterRead(attributes, extents);
  return 0;
}
