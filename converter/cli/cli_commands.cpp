#include <ostream>

#include "converter/cli/cli_command.h"
#include "converter/cli/convert_command.h"

namespace parvex::cli {

namespace {

const CliCommand kCommands[] = {
    {"info", "read Jw_cad drawings and print one JSON line per file", RunInfo, PrintInfoHelp},
    {"convert", "convert Jw_cad drawings to DXF files", RunConvert, PrintConvertHelp},
};

void PrintOverview(std::ostream& out) {
  out << "Usage: parvex-cli COMMAND [ARGUMENTS...]\n"
         "       parvex-cli COMMAND --help\n\n"
         "Commands:\n";
  for (const CliCommand& command : kCommands) {
    out << "  " << command.name;
    for (size_t i = command.name.size(); i < 10; ++i) out << ' ';
    out << command.summary << '\n';
  }
}

}  // namespace

int RunCli(std::span<const std::string> args, std::ostream& out, std::ostream& err) {
  if (args.empty()) {
    PrintOverview(err);
    return 2;
  }
  if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
    PrintOverview(out);
    for (const CliCommand& command : kCommands) {
      out << '\n';
      command.help(out);
    }
    return 0;
  }
  for (const CliCommand& command : kCommands) {
    if (args[0] == command.name) return command.run(args.subspan(1), out, err);
  }
  err << "parvex-cli: unknown command \"" << args[0] << "\"\n\n";
  PrintOverview(err);
  return 2;
}

}  // namespace parvex::cli
