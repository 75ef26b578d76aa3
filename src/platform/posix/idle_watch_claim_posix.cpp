// ClaimIdleWatch on Linux: an exclusive flock on a file named after the user and the display,
// in the user's runtime folder (else /tmp). The kernel lets go of the lock when the process
// ends, however it ends, so a crashed watcher's file is claimed again by the next one. A file
// that cannot be opened (another user's in /tmp, a symbolic link) leaves the watch unclaimed
// rather than refused, so no one else can keep a user from watching.
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "platform/idle_watch_claim.h"

namespace {

std::string WatchedDisplay() {
    for (const char* name : {"WAYLAND_DISPLAY", "DISPLAY"}) {
        const char* value = std::getenv(name);
        if (value && *value) return value;
    }
    return "none";
}

// A display name as one file name: WAYLAND_DISPLAY may be a path.
std::string FileNamePart(std::string text) {
    for (char& c : text)
        if (c == '/') c = '_';
    return text;
}

std::string LockFolder() {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    return runtime && *runtime ? runtime : "/tmp";
}

}  // namespace

bool ClaimIdleWatch() {
    const std::string path = LockFolder() + "/vostrel-idle-" + std::to_string(getuid()) + "-" +
                             FileNamePart(WatchedDisplay()) + ".lock";
    // Left open for the life of the process: closing it would let go of the lock.
    const int file = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (file < 0) return true;
    return flock(file, LOCK_EX | LOCK_NB) == 0;
}
