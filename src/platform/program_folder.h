// The folder the running program's own file is in, where its companion programs are
// installed beside it, with symbolic links resolved; "" when the system cannot say.
#pragma once
#include <string>

std::string ProgramFolder();
