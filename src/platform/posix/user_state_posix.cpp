// The user's state folder on Linux, as the XDG base directory rules place it.
//
// Realised here: $XDG_STATE_HOME/vostrel, or ~/.local/state/vostrel when that is unset or relative;
// new folders are private to the user (0700).
#include <string>

#include "platform/posix/posix_files.h"
#include "platform/user_state.h"

namespace {
constexpr const char* kProgramFolder = "/vostrel";
}

std::string UserStatePath(const char* fileName) {
    const std::string stateHome = XdgBaseFolder("XDG_STATE_HOME", ".local/state");
    if (stateHome.empty()) return {};
    const std::string folder = stateHome + kProgramFolder;
    if (!MakeFolders(folder)) return {};
    return folder + "/" + fileName;
}
