// StandardErrorIsTerminal on Linux: isatty on file descriptor 2.
#include <unistd.h>

#include "platform/terminal.h"

bool StandardErrorIsTerminal() {
    return isatty(STDERR_FILENO) == 1;
}
