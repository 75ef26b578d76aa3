// ProgramFolder on Linux: the folder of /proc/self/exe, which the kernel gives with links
// resolved.
#include <limits.h>
#include <unistd.h>

#include "platform/program_folder.h"

std::string ProgramFolder() {
    char path[PATH_MAX];
    const ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
    if (length <= 0) return {};
    const std::string program(path, static_cast<std::size_t>(length));
    return program.substr(0, program.rfind('/'));
}
