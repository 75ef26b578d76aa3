// The named mutex on Linux: a lock file in the user's runtime folder with a shared lock, so
// any number of instances hold it together, exactly as a mutex that is never waited on.
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "platform/named_mutex.h"

void CreateNamedMutex(const char* name) {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    std::string path = runtime != nullptr && *runtime != '\0'
                           ? std::string(runtime) + "/" + name + ".lock"
                           : "/tmp/" + std::string(name) + "-" + std::to_string(getuid()) + ".lock";
    // Held open until the process ends; the kernel drops the lock then, however it ends.
    int fd = open(path.c_str(), O_RDONLY | O_CREAT | O_CLOEXEC, 0600);
    if (fd >= 0) flock(fd, LOCK_SH | LOCK_NB);
}
