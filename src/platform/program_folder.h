// The folder the running program's own file is in, where its companion programs are
// installed beside it; "" when the system cannot say.
//
// Linux: the folder of /proc/self/exe, with symbolic links resolved.
#pragma once
#include <string>

std::string ProgramFolder();
