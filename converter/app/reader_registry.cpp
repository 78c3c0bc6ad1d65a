#include "converter/app/reader_registry.h"

#include "converter/app/jw_drawing_readers.h"
#include "converter/app/jwc_drawing_readers.h"

namespace parvex {

const char* DrawingKindName(DrawingKind kind) {
  switch (kind) {
    case DrawingKind::Jww: return "JWW";
    case DrawingKind::Jws: return "JWS";
    case DrawingKind::Jwc: return "JWC";
    case DrawingKind::Jwk: return "JWK";
  }
  return "?";
}

Failure UnavailableReader::Refusal() const {
  return Fail(std::string("no ") + DrawingKindName(kind_) + " reader is built into this converter");
}

DrawingReader& DrawingReaders::ForKind(DrawingKind kind) {
  switch (kind) {
    case DrawingKind::Jww: return *Jww;
    case DrawingKind::Jws: return *Jws;
    case DrawingKind::Jwc: return *Jwc;
    case DrawingKind::Jwk: break;
  }
  return *Jwk;
}

DrawingReaders CreateDrawingReaders(ConversionContext& /*context*/) {
  DrawingReaders r;
  r.Jww = MakeJwwDrawingReader();
  r.Jws = MakeJwsDrawingReader();
  r.Jwc = MakeJwcDrawingReader();
  r.Jwk = MakeJwkDrawingReader();
  return r;
}

}  // namespace parvex
