// Subcommands of parvex-cli. Each subcommand lives in its own file and adds
// one entry to the table in cli_commands.cpp.
#pragma once

#include <iosfwd>
#include <span>
#include <string>
#include <string_view>

namespace parvex::cli {

struct CliCommand {
  std::string_view name;
  std::string_view summary;  // one line for the overview of --help
  // Runs the subcommand with the arguments after its name; returns the
  // process exit code.
  int (*run)(std::span<const std::string> args, std::ostream& out, std::ostream& err);
  // Prints the subcommand's own help.
  void (*help)(std::ostream& out);
};

// Dispatches a whole command line (argv[0] excluded).
int RunCli(std::span<const std::string> args, std::ostream& out, std::ostream& err);

// info: one JSON line per JWW or JWS file.
int RunInfo(std::span<const std::string> args, std::ostream& out, std::ostream& err);
void PrintInfoHelp(std::ostream& out);

}  // namespace parvex::cli
