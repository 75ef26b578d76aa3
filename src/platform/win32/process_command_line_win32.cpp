// The command line on Windows is the one the system keeps: GetCommandLineW, as typed, with the
// program's path in quotes when it holds a space; argc and argv are not needed. The wide line
// is converted to UTF-8, so a path with accents reaches the scanner intact (GetCommandLineA
// would give it in the ANSI code page).
#include <windows.h>

#include "platform/process_command_line.h"
#include "platform/win32/wide_text.h"

std::string ProcessCommandLine(int, char**) {
    return Utf8FromWide(GetCommandLineW());
}
