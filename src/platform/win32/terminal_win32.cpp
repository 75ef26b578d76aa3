// StandardErrorIsTerminal on Windows: the C runtime's _isatty, true for a console (a character
// device), false for a file or a pipe.
#include <io.h>
#include <stdio.h>

#include "platform/terminal.h"

bool StandardErrorIsTerminal() {
    return _isatty(_fileno(stderr)) != 0;
}
