// ParvexSub SOURCE DESTINATION: converts one Jw_cad drawing into one DXF
// file. Standard output stays empty; a run that writes no destination
// exits non-zero with its reason on standard error.
#include <iostream>
#include <string>
#include <vector>

#include "common/platform/process_info.h"
#include "converter/app/converter_run.h"

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
  return parvex::RunConverter(args, parvex::platform::ExecutableFolder(),
                              parvex::CreateDrawingReaders, std::cerr);
}
