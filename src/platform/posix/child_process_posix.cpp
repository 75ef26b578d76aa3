// ChildProcess on Linux: posix_spawn, and waitpid without waiting to learn of its end; its
// end descriptor is a pidfd (Linux 5.3 and later), readable once the child has ended. The
// child starts with every signal's default action and none blocked, whatever this process was
// started with (a signal ignored by whoever started it would stay ignored across exec, and the
// saver could then not be stopped with it).
#include <signal.h>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include "platform/child_process.h"

extern char** environ;

namespace {

constexpr int kGraceMs = 1500;
constexpr int kPollMs = 20;

}  // namespace

ChildProcess::~ChildProcess() {
    Stop();
}

bool ChildProcess::Start(const std::string& program, const std::vector<std::string>& arguments) {
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t all;
    sigfillset(&all);
    posix_spawnattr_setsigdefault(&attributes, &all);
    sigset_t none;
    sigemptyset(&none);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK);
    pid_t pid = 0;
    const int failed =
        posix_spawn(&pid, program.c_str(), nullptr, &attributes, argv.data(), environ);
    posix_spawnattr_destroy(&attributes);
    pid_ = failed ? 0 : pid;
    if (!failed) endDescriptor_ = static_cast<int>(syscall(SYS_pidfd_open, pid, 0));
    return !failed;
}

bool ChildProcess::Running() {
    if (pid_ == 0) return false;
    int status = 0;
    if (waitpid(pid_, &status, WNOHANG) == 0) return true;
    Forget();
    return false;
}

void ChildProcess::Stop() {
    if (!Running()) return;
    kill(pid_, SIGTERM);
    const timespec pause{0, kPollMs * 1000000L};
    for (int waited = 0; waited < kGraceMs && Running(); waited += kPollMs)
        nanosleep(&pause, nullptr);
    if (!Running()) return;
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
    Forget();
}

void ChildProcess::Forget() {
    if (endDescriptor_ >= 0) close(endDescriptor_);
    endDescriptor_ = -1;
    pid_ = 0;
}
