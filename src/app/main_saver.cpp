// vostrel: the screen saver, started with the usual screen-saver switches.
#include <string>

#include "app/run_modes.h"

namespace {

// Rebuilds the one-string command line that the saver's switches are defined on: the
// program path, quoted when it holds a space, then each argument after one space.
std::string CommandLineText(int argc, char** argv) {
    std::string program = argc > 0 ? argv[0] : "vostrel";
    std::string text = program.find(' ') != std::string::npos ? "\"" + program + "\"" : program;
    for (int i = 1; i < argc; ++i) text += std::string(" ") + argv[i];
    return text;
}

}  // namespace

int main(int argc, char** argv) {
    return RunProgram(CommandLineText(argc, argv));
}
