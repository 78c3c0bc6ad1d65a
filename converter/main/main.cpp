// ParvexSub SOURCE DESTINATION: converts one Jw_cad drawing into one DXF
// file. Standard output stays empty; a run that writes no destination
// exits non-zero with its reason on standard error.
#include <iostream>
#include <string>
#include <vector>

#include "common/platform/output_files.h"
#include "common/platform/process_info.h"
#include "converter/app/converter_run.h"

int main(int argc, char** argv) {
  // A full disk or a file size limit ends the write with a reason line, and
  // a run stopped by a signal takes its unfinished output file with it.
  parvex::platform::IgnoreFileSizeSignal();
  parvex::platform::RemovePendingFileOnTermination();
  std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
  return parvex::RunConverter(args, parvex::platform::ExecutableFolder(),
                              parvex::CreateDrawingReaders, std::cerr);
}
