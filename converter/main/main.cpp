// ParvexSub SOURCE DESTINATION: converts one Jw_cad drawing into one DXF
// file. Standard output stays empty; a run that writes no destination
// exits non-zero with its reason on standard error.
#include <iostream>
#include <string>
#include <vector>

#include "common/platform/console.h"
#include "common/platform/output_files.h"
#include "common/platform/process_info.h"
#include "converter/app/converter_run.h"

int main(int argc, char** argv) {
  // A full disk or a file size limit ends the write with a reason line, and
  // a run stopped by a signal takes its unfinished output file with it.
  parvex::platform::IgnoreFileSizeSignal();
  parvex::platform::RemovePendingFileOnTermination();
  parvex::platform::UseUnicodeConsole();
  const std::vector<std::string> args = parvex::platform::CommandLineArguments(argc, argv);
  return parvex::RunConverter(args, parvex::platform::SettingsFolder(),
                              parvex::CreateDrawingReaders, std::cerr);
}
