#include "common/platform/process_info.h"

namespace parvex::platform {

std::filesystem::path ExecutableFolder() {
  auto p = ExecutablePath();
  if (p.empty()) return {};
  return p.parent_path();
}

std::u16string ProgramOfOpenCommand(std::u16string_view commandLine) {
  while (!commandLine.empty() && (commandLine.front() == u' ' || commandLine.front() == u'\t'))
    commandLine.remove_prefix(1);
  if (commandLine.starts_with(u'"')) {
    const size_t close = commandLine.find(u'"', 1);
    return std::u16string(commandLine.substr(1, close == std::u16string_view::npos ? close : close - 1));
  }
  std::u16string_view program = commandLine.substr(0, commandLine.find_first_of(u" \t"));
  if (program.ends_with(u'"')) program.remove_suffix(1);
  return std::u16string(program);
}

}  // namespace parvex::platform
