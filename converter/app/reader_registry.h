// The registration point of the drawing readers: CreateDrawingReaders()
// (reader_registry.cpp) builds the four reader slots for one run. A file
// kind gets its implementation by replacing its UnavailableReader there
// with an adapter that derives from DrawingReader (drawing_reader.h).
// Readers of one run may share state created here, such as the attribute
// tables that every kind fills with its layer attributes.
#pragma once

#include <functional>
#include <memory>

#include "converter/app/drawing_reader.h"

namespace parvex {

struct DrawingReaders {
  std::unique_ptr<DrawingReader> Jww;
  std::unique_ptr<DrawingReader> Jws;
  std::unique_ptr<DrawingReader> Jwc;
  std::unique_ptr<DrawingReader> Jwk;

  DrawingReader& ForKind(DrawingKind kind);
};

// Builds the readers for one run. `context` lives as long as the readers;
// its ProgramFolder, ImageFolder and Settings are already set.
DrawingReaders CreateDrawingReaders(ConversionContext& context);

using DrawingReaderFactory = std::function<DrawingReaders(ConversionContext&)>;

}  // namespace parvex
