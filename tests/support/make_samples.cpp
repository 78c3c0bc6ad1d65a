// parvex-make-samples: writes the sample drawings under samples/ and the
// fuzzer seed files.
//   parvex-make-samples --samples DIR   plan.jww, parts.jws and sheets.jww
//   parvex-make-samples --seeds DIR     small JWW and JWS seeds (DIR/jww, DIR/jws)
#include <cstdio>
#include <filesystem>
#include <string>

#include "tests/support/jww_writer.h"
#include "tests/support/sample_drawings.h"

using namespace parvex;
using namespace parvex::testing;

namespace {

bool Save(const std::filesystem::path& path, const std::string& bytes) {
  if (!SaveBytes(path, bytes)) {
    std::fprintf(stderr, "cannot write %s\n", path.string().c_str());
    return false;
  }
  return true;
}

bool WriteSamples(const std::filesystem::path& dir) {
  std::filesystem::create_directories(dir);
  return Save(dir / "plan.jww", WriteJww(MakePlan())) && Save(dir / "parts.jws", WriteJws(MakeParts())) &&
         Save(dir / "sheets.jww", WriteJww(MakeSheets()));
}

bool WriteSeeds(const std::filesystem::path& dir) {
  bool ok = true;
  for (const FuzzSeed& seed : FuzzSeeds()) {
    const std::filesystem::path path = dir / seed.path;
    std::filesystem::create_directories(path.parent_path());
    ok = Save(path, seed.bytes) && ok;
  }
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3 || (std::string(argv[1]) != "--samples" && std::string(argv[1]) != "--seeds")) {
    std::fprintf(stderr, "usage: parvex-make-samples --samples DIR | --seeds DIR\n");
    return 2;
  }
  const bool ok = std::string(argv[1]) == "--samples" ? WriteSamples(argv[2]) : WriteSeeds(argv[2]);
  return ok ? 0 : 1;
}
