// The named mutex on Linux: a lock file with a shared lock, so any number of instances hold it
// together, exactly as a mutex that is never waited on.
//
// The file lives in a folder no other user can write: the user's runtime folder, or else
// /tmp/vostrel-<uid>. A lock file named straight in /tmp would let any local user plant a FIFO
// (whose open blocks every start) or a link there. The folder is opened without following a
// link and accepted only as a real folder of this user that nobody else may enter; the file
// is opened relative to it, never through a link, never blocking, and held only when it is a
// regular file. Failing all that, the process runs without the mutex, which nothing tests.
//
// The last instance to end removes the file: it alone can turn its shared lock exclusive. It
// removes the /tmp folder too when that is left empty, so a run leaves nothing in /tmp; an
// instance starting in that moment finds its folder gone and makes it again.
// Left out: waiting on the mutex, and telling whether another instance holds it; nothing asks.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "platform/named_mutex.h"

namespace {

constexpr mode_t kPrivateFolderMode = 0700;
constexpr mode_t kLockFileMode = 0600;
constexpr mode_t kOthersAccess = 0077;
constexpr const char* kLockSuffix = ".lock";
// An instance that is removing the file holds it exclusively for a moment; after a few tries
// the run goes on without the mutex.
constexpr int kLockAttempts = 3;

struct HeldLock {
    int folder = -1;
    int file = -1;
    std::string name;
    pid_t owner = 0;
    std::string fallbackFolder;  // the /tmp folder's path, when the lock is there
};

HeldLock held;

int OpenPrivateFolder(const std::string& path) {
    const int folder = open(path.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (folder < 0) return -1;
    struct stat info{};
    if (fstat(folder, &info) != 0 || info.st_uid != getuid() ||
        (info.st_mode & kOthersAccess) != 0) {
        close(folder);
        return -1;
    }
    return folder;
}

// The runtime folder, or else the /tmp folder, whose path goes to `fallbackPath`.
int OpenLockFolder(std::string& fallbackPath) {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime != nullptr && runtime[0] == '/') {
        const int folder = OpenPrivateFolder(runtime);
        if (folder >= 0) return folder;
    }
    fallbackPath = "/tmp/vostrel-" + std::to_string(getuid());
    mkdir(fallbackPath.c_str(), kPrivateFolderMode);  // may exist already: checked when opened
    return OpenPrivateFolder(fallbackPath);
}

int OpenLockFile(int folder, const std::string& name) {
    const int file =
        openat(folder, name.c_str(),
               O_RDONLY | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY, kLockFileMode);
    if (file < 0) return -1;
    struct stat info{};
    if (fstat(file, &info) != 0 || !S_ISREG(info.st_mode)) {
        close(file);
        return -1;
    }
    return file;
}

// Whether the name still leads to the file held: the last instance may have removed it
// between another's open and lock, and a lock on a removed file marks nothing.
bool StillNamed(int folder, const std::string& name, int file) {
    struct stat opened{};
    struct stat named{};
    return fstat(file, &opened) == 0 &&
           fstatat(folder, name.c_str(), &named, AT_SYMLINK_NOFOLLOW) == 0 &&
           opened.st_dev == named.st_dev && opened.st_ino == named.st_ino;
}

int LockSharedFile(int folder, const std::string& name) {
    for (int attempt = 0; attempt < kLockAttempts; ++attempt) {
        const int file = OpenLockFile(folder, name);
        if (file < 0) return -1;
        if (flock(file, LOCK_SH | LOCK_NB) == 0 && StillNamed(folder, name, file)) return file;
        close(file);
    }
    return -1;
}

// A forked child shares the parent's lock, so only the process that took it may let it go.
void RemoveWhenLast() {
    if (held.file < 0 || getpid() != held.owner) return;
    if (flock(held.file, LOCK_EX | LOCK_NB) == 0 && StillNamed(held.folder, held.name, held.file)) {
        unlinkat(held.folder, held.name.c_str(), 0);
        // Fails, as it should, while anything else is in the folder.
        if (!held.fallbackFolder.empty()) rmdir(held.fallbackFolder.c_str());
    }
    close(held.file);
    close(held.folder);
    held.file = -1;
}

}  // namespace

void CreateNamedMutex(const char* name) {
    const std::string fileName = std::string(name) + kLockSuffix;
    // A second try when the last instance removed the /tmp folder between our open and lock.
    for (int attempt = 0; attempt < 2; ++attempt) {
        std::string fallbackPath;
        const int folder = OpenLockFolder(fallbackPath);
        if (folder < 0) return;
        const int file = LockSharedFile(folder, fileName);
        if (file >= 0) {
            held = {folder, file, fileName, getpid(), fallbackPath};
            break;
        }
        close(folder);
    }
    if (held.file < 0) return;
    std::atexit(RemoveWhenLast);
}
