// Shell open on Linux: xdg-open with an argument vector, detached so that it is not waited
// for and leaves no zombie behind.
//
// Realised here: xdg-open, started with an argument vector, never through a shell.
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

#include "platform/shell.h"

namespace {

constexpr int kNotStarted = 127;

// Runs in the intermediate child: starts the handler as its own child, which init adopts
// once this one exits, and exits 0 exactly when the handler's program was started. A pipe
// that closes on exec tells the two apart: end of file means the exec went through, a byte
// means it failed.
[[noreturn]] void StartDetached(const char* target) {
    int report[2];
    if (pipe2(report, O_CLOEXEC) != 0) _exit(kNotStarted);
    const pid_t handler = fork();
    if (handler == 0) {
        char* const argv[] = {const_cast<char*>("xdg-open"), const_cast<char*>(target), nullptr};
        execvp("xdg-open", argv);
        const char failed = 1;
        [[maybe_unused]] const ssize_t told = write(report[1], &failed, 1);
        _exit(kNotStarted);
    }
    close(report[1]);
    char failed = 0;
    ssize_t got = 0;
    do {
        got = read(report[0], &failed, 1);
    } while (got < 0 && errno == EINTR);
    _exit(handler > 0 && got == 0 ? 0 : kNotStarted);
}

}  // namespace

bool ShellOpen(const std::string& target) {
    const pid_t child = fork();
    if (child < 0) return false;
    if (child == 0) StartDetached(target.c_str());
    int status = 0;
    while (waitpid(child, &status, 0) < 0) {
        if (errno != EINTR) return false;
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}
