// Writes DOS-edition drawings (JWC) and shapes (JWK) from the in-memory
// model, in the layout the readers expect. Used by tests, the sample
// generator, the fuzzer seeds and the read benchmark; the programs never
// link it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "converter/jwc/jwc_data.h"

namespace parvex::testing {

struct JwcWriteOptions {
  // Stated counts; unset writes the number of records.
  std::optional<int64_t> stated_lines;
  std::optional<int64_t> stated_arcs;
  std::optional<int64_t> stated_texts;
  std::optional<int64_t> stated_points;
  // Stated pool size (JWC: end address - start address; JWK: strSpace);
  // unset writes the size of the pool written.
  std::optional<int64_t> stated_pool;
  // JWC: linear address (segment * 16 + offset) of the pool's first byte.
  int32_t pool_address = 0x10000;
  // When set, this pool is written as it stands and every text keeps the
  // address p of its record; otherwise the texts are laid out one after
  // another, each ending in a NUL.
  std::optional<std::string> pool;
  // When set, replaces the text of header block 2 (cut or NUL-padded to
  // 200 bytes).
  std::optional<std::string> header2;
  // JWK: the second address word of every text record, which readers
  // ignore.
  uint16_t jwk_second_word = 0;
};

// Byte offsets of the parts of a written file, for tests that cut a file
// or patch bytes at a known place.
struct JwcLayout {
  size_t header2 = 0;  // header block 2
  size_t tables = 0;   // JWC: the virtual points, first of the fixed tables
  size_t lines = 0;
  size_t arcs = 0;
  size_t texts = 0;
  size_t pool = 0;
  size_t points = 0;
  size_t names = 0;  // JWC: the layer names
  size_t end = 0;
};

// JWC coordinates are written in file units: millimetres divided by the
// data unit of the header's paper code and drawing width.
std::string WriteJwc(const TJwcData& drawing, const JwcWriteOptions& options = {},
                     JwcLayout* layout = nullptr);
std::string WriteJwk(const TJwkData& shape, const JwcWriteOptions& options = {},
                     JwcLayout* layout = nullptr);

// A JWC drawing on A3 with 420 file units across (1 mm per unit), group
// scales stored as Singles and all 1, every group and layer shown and
// searchable, and ten text kinds.
TJwcData MakeJwcDrawing();
// An empty JWK shape of scale 1:scale.
TJwkData MakeJwkShape(float scale = 1);

// Entity records with the attributes the tests vary most.
TEntJwcLine JwcLine(float x1, float y1, float x2, float y2, uint8_t lay = 0, uint8_t col = 1,
                    uint8_t typ = 1);
TEntJwcArc2 JwcArc(float x, float y, float r, float st, float et, float h = 1, float tt = 0,
                   uint8_t lay = 0, uint8_t col = 1, uint8_t typ = 1);
TEntJwcMoji2 JwcText(float x1, float y1, float x2, float y2, std::u16string s, uint8_t no = 1,
                     uint8_t lay = 0);
TEntJwcTen JwcPoint(float x, float y, uint8_t lay = 0, uint8_t col = 1);

}  // namespace parvex::testing
