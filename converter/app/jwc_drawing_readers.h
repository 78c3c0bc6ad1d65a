// The JWC and JWK slots of the converter run: the DOS-edition readers and
// their DXF mapping behind the DrawingReader interface.
#pragma once

#include <memory>

#include "converter/app/drawing_reader.h"

namespace parvex {

std::unique_ptr<DrawingReader> MakeJwcDrawingReader();
std::unique_ptr<DrawingReader> MakeJwkDrawingReader();

}  // namespace parvex
