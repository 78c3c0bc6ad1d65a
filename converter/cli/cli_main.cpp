// parvex-cli: command line for people and scripts.
#include <iostream>
#include <string>
#include <vector>

#include "common/platform/codepage.h"
#include "common/platform/console.h"
#include "common/platform/output_files.h"
#include "common/platform/process_info.h"
#include "converter/cli/cli_command.h"

int main(int argc, char** argv) {
  if (const parvex::Status codePage = parvex::platform::CodePageReady(); !codePage) {
    std::cerr << "parvex-cli: " << codePage.reason() << '\n';
    return 1;
  }
  // A full disk or a file size limit ends a conversion with a reason, and
  // an interrupted conversion takes its unfinished output file with it.
  parvex::platform::IgnoreFileSizeSignal();
  parvex::platform::RemovePendingFileOnTermination();
  parvex::platform::UseUnicodeConsole();
  const std::vector<std::string> args = parvex::platform::CommandLineArguments(argc, argv);
  return parvex::cli::RunCli(args, std::cout, std::cerr);
}
