// vostrel: the screen saver, started with the usual screen-saver switches.
#include "app/run_modes.h"
#include "platform/process_command_line.h"

int main(int argc, char** argv) {
    return RunProgram(ProcessCommandLine(argc, argv));
}
