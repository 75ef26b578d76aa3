// The user's state folder on Linux, as the XDG base directory rules place it.
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string>

#include "platform/user_state.h"

namespace {

constexpr mode_t kFolderMode = 0700;
constexpr const char* kProgramFolder = "/vostrel";

std::string StateHome() {
    // The rules ignore a relative XDG_STATE_HOME.
    const char* state = std::getenv("XDG_STATE_HOME");
    if (state != nullptr && state[0] == '/') return state;
    const char* home = std::getenv("HOME");
    if (home == nullptr || home[0] != '/') {
        const passwd* entry = getpwuid(getuid());
        home = entry != nullptr ? entry->pw_dir : nullptr;
    }
    if (home == nullptr || home[0] != '/') return {};
    return std::string(home) + "/.local/state";
}

bool MakeFolders(const std::string& folder) {
    for (std::size_t slash = folder.find('/', 1);; slash = folder.find('/', slash + 1)) {
        const std::string part = folder.substr(0, slash);
        if (mkdir(part.c_str(), kFolderMode) != 0 && errno != EEXIST) return false;
        if (slash == std::string::npos) break;
    }
    struct stat info {};
    return stat(folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

}  // namespace

std::string UserStatePath(const char* fileName) {
    const std::string stateHome = StateHome();
    if (stateHome.empty()) return {};
    const std::string folder = stateHome + kProgramFolder;
    if (!MakeFolders(folder)) return {};
    return folder + "/" + fileName;
}
