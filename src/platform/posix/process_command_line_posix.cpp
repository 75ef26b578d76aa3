// The command line on POSIX systems, which hand a program only its argument vector: the line
// is rebuilt from it. Left out: the quoting a shell removed from an argument that holds a space
// cannot be told apart, so such an argument reaches the scanner as separate words.
#include <string>

#include "platform/process_command_line.h"

namespace {
constexpr const char* kProgramNameWhenNone = "vostrel";
}

std::string ProcessCommandLine(int argc, char** argv) {
    const std::string program = argc > 0 ? argv[0] : kProgramNameWhenNone;
    std::string text = program.find(' ') != std::string::npos ? "\"" + program + "\"" : program;
    for (int i = 1; i < argc; ++i) text += std::string(" ") + argv[i];
    return text;
}
