// DOS-edition drawings and shapes for tests, the committed samples and the
// fuzzer seeds.
#pragma once

#include <string>
#include <vector>

#include "converter/jwc/jwc_data.h"

namespace parvex::testing {

// A drawing with every record kind: lines of several types (one
// auxiliary), a circle, an arc and a tilted elliptic arc, texts of kinds
// 1, 3 and 10 (one vertical, one Japanese), points, virtual points, layer
// and group names. One millimetre per file unit.
TJwcData MakeAllKindsJwc();
// A shape with lines, arcs, points and texts, at 1:`scale`.
TJwkData MakeAllKindsJwk(float scale = 1);

// The committed samples: a small garage plan on A3 at 1:50 with a title
// block at 1:1 (file units of 420/518 mm), and a base-plate shape at 1:50.
TJwcData MakeGarageJwc();
TJwkData MakeBasePlateJwk();

// A drawing of `entities` records for the benchmarks: A3 at the usual 518
// file units across, so every coordinate is scaled on reading; per 20
// entities 14 lines, 2 arcs, 1 text and 3 points, spread over all layers,
// pens and line types.
TJwcData MakeLargeJwc(int entities);

struct NamedBytes {
  std::string name;
  std::string bytes;
};

// The files under samples/ that the generator writes ("garage.jwc",
// "baseplate.jwk").
std::vector<NamedBytes> JwcSampleFiles();
// The fuzzer seeds of `kind` ("jwc" or "jwk").
std::vector<NamedBytes> JwcSeedFiles(const std::string& kind);

}  // namespace parvex::testing
