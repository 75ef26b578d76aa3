// The process's command line as one string, the way the system hands it to a program: the
// program's path (in double quotes when it holds a space) followed by the arguments as they
// were typed, each after one space. The saver's own scanner reads its switches from it.
//
// argc and argv are what main received; a system that keeps the line itself (Windows'
// GetCommandLineA) answers from that and ignores them.
#pragma once
#include <string>

std::string ProcessCommandLine(int argc, char** argv);
