// The programs' standard streams on a terminal.
#pragma once

namespace parvex::platform {

// The programs write UTF-8 to standard output and error. On Windows a
// console window would show those bytes in its own code page: from this
// call on, text that goes to a console is handed over as Unicode, while
// output to files and pipes stays UTF-8 bytes. Nothing changes on Linux.
void UseUnicodeConsole();

// True when standard error is a terminal that follows the ANSI sequences
// of a progress line (carriage return, erase to the end of the line).
bool StandardErrorIsTerminal();

}  // namespace parvex::platform
