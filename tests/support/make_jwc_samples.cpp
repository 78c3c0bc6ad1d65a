// parvex-make-jwc-samples: writes the DOS-edition sample drawings and the
// fuzzer seeds of the JWC and JWK readers.
//   parvex-make-jwc-samples --samples DIR   garage.jwc and baseplate.jwk
//   parvex-make-jwc-samples --seeds DIR     seeds into DIR/jwc and DIR/jwk
#include <cstdio>
#include <filesystem>
#include <string>

#include "tests/support/jwc_fixtures.h"
#include "tests/support/jww_writer.h"

using namespace parvex::testing;

namespace {

bool SaveAll(const std::filesystem::path& dir, const std::vector<NamedBytes>& files) {
  std::error_code ec;
  std::filesystem::create_directories(dir, ec);
  bool ok = true;
  for (const NamedBytes& f : files) {
    if (!SaveBytes(dir / f.name, f.bytes)) {
      std::fprintf(stderr, "cannot write %s\n", (dir / f.name).string().c_str());
      ok = false;
    }
  }
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string mode = argc == 3 ? argv[1] : "";
  if (mode != "--samples" && mode != "--seeds") {
    std::fprintf(stderr, "usage: parvex-make-jwc-samples --samples DIR | --seeds DIR\n");
    return 2;
  }
  const std::filesystem::path dir = argv[2];
  if (mode == "--samples") return SaveAll(dir, JwcSampleFiles()) ? 0 : 1;
  const bool jwc = SaveAll(dir / "jwc", JwcSeedFiles("jwc"));
  const bool jwk = SaveAll(dir / "jwk", JwcSeedFiles("jwk"));
  return jwc && jwk ? 0 : 1;
}
