// Atomic file replacement on Linux: a temporary file in the same folder, renamed over the old.
// No fsync: the guarantee is against the process dying, not against the machine losing power.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include "platform/file_replace.h"

namespace {

constexpr mode_t kNewFileMode = 0644;

std::string ResolvedPath(const std::string& path) {
    char* resolved = realpath(path.c_str(), nullptr);
    if (resolved == nullptr) return path;
    std::string result = resolved;
    std::free(resolved);
    return result;
}

// A unique name in the target's own folder, so that the rename never crosses file systems.
std::string TemporaryTemplate(const std::string& target) {
    const std::size_t slash = target.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : target.substr(0, slash);
    const std::string name = slash == std::string::npos ? target : target.substr(slash + 1);
    return folder + "/." + name + ".XXXXXX";
}

bool WriteAll(int fd, std::string_view content) {
    while (!content.empty()) {
        const ssize_t written = write(fd, content.data(), content.size());
        if (written < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        content.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

}  // namespace

bool WriteFileAtomically(const std::string& path, std::string_view content) {
    const std::string target = ResolvedPath(path);
    std::string temporary = TemporaryTemplate(target);
    const int fd = mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0) return false;

    struct stat old {};
    const mode_t mode = stat(target.c_str(), &old) == 0 ? (old.st_mode & 07777) : kNewFileMode;
    bool ok = fchmod(fd, mode) == 0 && WriteAll(fd, content);
    ok = close(fd) == 0 && ok;
    ok = ok && std::rename(temporary.c_str(), target.c_str()) == 0;
    if (!ok) unlink(temporary.c_str());
    return ok;
}

bool FileReplaceable(const std::string& path) {
    const std::string target = ResolvedPath(path);
    const std::size_t slash = target.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : target.substr(0, slash + 1);
    return access(target.c_str(), W_OK) == 0 && access(folder.c_str(), W_OK | X_OK) == 0;
}
