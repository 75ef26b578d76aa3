// Atomic file replacement on Linux: a temporary file in the same folder that takes the old
// file's place as every replacement does (posix_files.h), flushed to disk before and after.
// The temporary's name carries the writer's process id (".NAME.PID.XXXXXX"), so a later run can
// tell the copies of writers that died from those of a writer still at work.
#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/file_replace.h"
#include "platform/posix/posix_files.h"

namespace {

constexpr mode_t kNewFileMode = 0644;
constexpr mode_t kAnyWriteBit = S_IWUSR | S_IWGRP | S_IWOTH;
constexpr std::size_t kUniqueLength = 6;  // mkostemp's XXXXXX

std::string ResolvedPath(const std::string& path) {
    char* resolved = realpath(path.c_str(), nullptr);
    if (resolved == nullptr) return path;
    std::string result = resolved;
    std::free(resolved);
    return result;
}

struct SplitPath {
    std::string folder;
    std::string name;
};

SplitPath Split(const std::string& target) {
    const std::size_t slash = target.rfind('/');
    if (slash == std::string::npos) return {".", target};
    return {target.substr(0, slash), target.substr(slash + 1)};
}

// The start of every temporary name for `name`; the writer's process id follows.
std::string TemporaryPrefix(const std::string& name) {
    return "." + name + ".";
}

// A unique name in the target's own folder, so that the rename never crosses file systems.
std::string TemporaryTemplate(const std::string& target) {
    const SplitPath split = Split(target);
    return split.folder + "/" + TemporaryPrefix(split.name) + std::to_string(getpid()) + "." +
           std::string(kUniqueLength, 'X');
}

// The process id in "PID.XXXXXX", or 0 when the rest of a name is not of that form.
pid_t WriterOf(const std::string& rest) {
    const std::size_t dot = rest.find('.');
    if (dot == 0 || dot == std::string::npos || rest.size() - dot - 1 != kUniqueLength) return 0;
    pid_t pid = 0;
    for (std::size_t i = 0; i < dot; ++i) {
        if (rest[i] < '0' || rest[i] > '9' || pid > 0x7FFFFFF) return 0;
        pid = pid * 10 + (rest[i] - '0');
    }
    return pid;
}

bool ProcessGone(pid_t pid) {
    return kill(pid, 0) != 0 && errno == ESRCH;
}

}  // namespace

bool WriteFileAtomically(const std::string& path, std::string_view content) {
    const std::string target = ResolvedPath(path);
    struct stat old{};
    const bool exists = stat(target.c_str(), &old) == 0;
    if (exists && ((old.st_mode & kAnyWriteBit) == 0 || access(target.c_str(), W_OK) != 0)) {
        return false;
    }
    std::string temporary = TemporaryTemplate(target);
    const int fd = mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0) return false;

    const mode_t mode = exists ? (old.st_mode & 07777) : kNewFileMode;
    bool ok =
        fchmod(fd, mode) == 0 && WriteAll(fd, content) && CommitReplacement(fd, temporary, target);
    ok = close(fd) == 0 && ok;
    if (!ok) unlink(temporary.c_str());
    return ok;
}

void RemoveStaleReplacements(const std::string& path) {
    const SplitPath split = Split(ResolvedPath(path));
    const std::string prefix = TemporaryPrefix(split.name);
    DIR* dir = opendir(split.folder.c_str());
    if (dir == nullptr) return;
    while (const dirent* entry = readdir(dir)) {
        const std::string name = entry->d_name;
        if (name.compare(0, prefix.size(), prefix) != 0) continue;
        const std::string rest = name.substr(prefix.size());
        // Earlier versions named no writer: ".NAME.XXXXXX".
        const bool unnamedWriter =
            rest.size() == kUniqueLength && rest.find('.') == std::string::npos;
        const pid_t writer = WriterOf(rest);
        if (unnamedWriter || (writer != 0 && ProcessGone(writer))) {
            unlinkat(dirfd(dir), name.c_str(), 0);
        }
    }
    closedir(dir);
}

bool FileFolderWritable(const std::string& path) {
    const std::string folder = Split(ResolvedPath(path)).folder;
    return access(folder.empty() ? "/" : folder.c_str(), W_OK | X_OK) == 0;
}
