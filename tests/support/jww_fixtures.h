// Ready-made drawings for tests, fuzzer seeds and samples.
#pragma once

#include <cstdint>

#include "converter/jww/jws_data.h"
#include "converter/jww/jww_data.h"
#include "tests/support/jww_writer.h"

namespace parvex::testing {

// Every JWW version boundary the layout depends on.
inline constexpr int32_t kJwwBoundaryVersions[] = {220, 223, 225, 230, 231, 300, 350, 351, 419, 420, 700};

// One entity of every kind (points with and without code, a coloured
// solid, a curved solid, an SXF dimension, Japanese and Latin texts) on
// several layers, plus two block definitions: "door" holding a line and an
// arc, and "frame" holding a text and an insertion of "door". The drawing
// inserts "frame" once and "door" once.
void AddAllKinds(JwwEntityModel& model);

// A drawing of `version` with AddAllKinds and distinct values in the header
// fields and tables, so that a misplaced field shows.
TJwwData MakeAllKindsDrawing(int32_t version);
TJwsData MakeAllKindsShape(int32_t version);

// Applies to `model` what reading a file of `version` does to fields the
// file does not store: no pen width up to 350, no SXF dimension parts before
// 420 (they take the dimension's attributes and zero coordinates).
void NormalizeForVersion(JwwEntityModel& model, int32_t version);
// NormalizeForVersion, and what the write `options` change: block
// definitions stored with long time stamps read back numbered by position.
void NormalizeForWrite(JwwEntityModel& model, int32_t version, const JwwWriteOptions& options);

}  // namespace parvex::testing
