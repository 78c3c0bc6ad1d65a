// Feeds arbitrary bytes to the JWW reader, then to the steps that follow a
// read in a conversion (block tree is built by the read; extents here).
#include <cstddef>
#include <cstdint>

#include "converter/jww/jww_data.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  parvex::TJwwData drawing;
  // Parse the carried-image section too, but write no files.
  drawing.BindImageExr = true;
  drawing.BindImageExp = false;
  (void)drawing.ReadBytes({data, size});
  parvex::DrawingExtents extents;
  drawing.GetMinMaxZahyo(extents);
  return 0;
}
