// The drawings behind samples/ and the fuzzer seeds under fuzz/corpus/.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "converter/jww/jws_data.h"
#include "converter/jww/jww_data.h"
#include "tests/support/jww_writer.h"

namespace parvex::testing {

// samples/plan.jww: a small single-storey plan on A3 at 1:50 with a title
// block at 1:1.
TJwwData MakePlan();
// samples/parts.jws: a scaffold base plate with its base point at the centre.
TJwsData MakeParts();
// samples/sheets.jww: two A3 sheets on A1 paper, each in a drawing frame
// with a title block (group 0, 1:1): a floor plan and an elevation at
// 1:100 (group 1), with blocks; one layout per frame with the output space
// "layouts".
TJwwData MakeSheets();

// One fuzzer seed: its path below fuzz/corpus/, the bytes the writer gives
// it, and the entities and image count a reader must find in them.
struct FuzzSeed {
  std::string path;
  std::string bytes;
  JwwEntityModel entities;  // as they read back (normalised for the version and options)
  int32_t version = 0;
  int32_t images = 0;
};

// Small JWW seeds (fuzz/corpus/jww/) across the layout versions and the
// writer's tag, count, string and time-stamp forms, and JWS seeds
// (fuzz/corpus/jws/).
std::vector<FuzzSeed> FuzzSeeds();

}  // namespace parvex::testing
