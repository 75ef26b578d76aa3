#include "platform/posix/posix_files.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>

namespace {

constexpr mode_t kPrivateFolderMode = 0700;

bool Absolute(const char* path) {
    return path != nullptr && path[0] == '/';
}

std::string HomeFolder() {
    const char* home = std::getenv("HOME");
    if (!Absolute(home)) {
        const passwd* entry = getpwuid(getuid());
        home = entry != nullptr ? entry->pw_dir : nullptr;
    }
    return Absolute(home) ? home : std::string();
}

std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

}  // namespace

bool IsFolder(const std::string& path) {
    struct stat info{};
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

std::string XdgBaseFolder(const char* variable, const char* underHome) {
    const char* named = std::getenv(variable);
    if (Absolute(named)) return named;
    const std::string home = HomeFolder();
    return home.empty() ? home : home + "/" + underHome;
}

bool MakeFolders(const std::string& folder) {
    for (std::size_t slash = folder.find('/', 1);; slash = folder.find('/', slash + 1)) {
        const std::string part = folder.substr(0, slash);
        if (mkdir(part.c_str(), kPrivateFolderMode) != 0 && errno != EEXIST) return false;
        if (slash == std::string::npos) break;
    }
    return IsFolder(folder);
}

int OpenRegularFile(const std::string& path) {
    const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) return -1;
    struct stat info{};
    const int flags = fcntl(fd, F_GETFL);
    if (fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && flags >= 0 &&
        fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) == 0) {
        return fd;
    }
    close(fd);
    errno = EINVAL;
    return -1;
}

bool WriteAll(int fd, std::string_view content) {
    while (!content.empty()) {
        const ssize_t written = write(fd, content.data(), content.size());
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return false;
        content.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

bool CommitReplacement(int fd, const std::string& temporary, const std::string& target) {
    const FileDescriptor folder(open(FolderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    return folder.get() >= 0 && fsync(fd) == 0 &&
           std::rename(temporary.c_str(), target.c_str()) == 0 && fsync(folder.get()) == 0;
}
