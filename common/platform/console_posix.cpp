#include <unistd.h>

#include "common/platform/console.h"

namespace parvex::platform {

void UseUnicodeConsole() {}

bool StandardErrorIsTerminal() { return isatty(STDERR_FILENO) == 1; }

}  // namespace parvex::platform
