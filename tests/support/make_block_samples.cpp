// parvex-make-block-samples DIR: writes the block and curve-group sample
// drawings (blocks.jww, curves.jww) into DIR.
//   blocks.jww  blocks three levels deep, inserted scaled, rotated and
//               mirrored, with a name carrying Jw_cad's marker suffix
//   curves.jww  curve groups that join into polylines with
//               "parvex-cli convert --polylines"
#include <cstdio>
#include <filesystem>
#include <string>

#include "tests/support/block_fixtures.h"
#include "tests/support/jww_writer.h"

using namespace parvex::testing;

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: parvex-make-block-samples DIR\n");
    return 2;
  }
  const std::filesystem::path dir = argv[1];
  std::error_code ec;
  std::filesystem::create_directories(dir, ec);
  bool ok = true;
  for (const auto& [name, bytes] :
       {std::pair<std::string, std::string>{"blocks.jww", WriteJww(MakeNestedBlocksDrawing(700))},
        std::pair<std::string, std::string>{"curves.jww", WriteJww(MakeCurveGroupsDrawing(700))}}) {
    if (!SaveBytes(dir / name, bytes)) {
      std::fprintf(stderr, "cannot write %s\n", (dir / name).string().c_str());
      ok = false;
    }
  }
  return ok ? 0 : 1;
}
