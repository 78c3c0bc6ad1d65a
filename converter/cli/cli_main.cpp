// parvex-cli: command line for people and scripts.
#include <iostream>
#include <string>
#include <vector>

#include "converter/cli/cli_command.h"

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  return parvex::cli::RunCli(args, std::cout, std::cerr);
}
