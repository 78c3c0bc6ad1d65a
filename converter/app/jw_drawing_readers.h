// The JWW and JWS slots of the converter run: the Windows-edition readers
// and their DXF mapping behind the DrawingReader interface.
#pragma once

#include <memory>

#include "converter/app/drawing_reader.h"

namespace parvex {

std::unique_ptr<DrawingReader> MakeJwwDrawingReader();
std::unique_ptr<DrawingReader> MakeJwsDrawingReader();

}  // namespace parvex
