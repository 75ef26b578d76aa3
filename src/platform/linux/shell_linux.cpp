// Shell open on Linux: xdg-open with an argument vector, detached so that it is not waited
// for and leaves no zombie behind.
#include <sys/wait.h>
#include <unistd.h>

#include "platform/shell.h"

bool ShellOpen(const std::string& target) {
    pid_t child = fork();
    if (child < 0) return false;
    if (child == 0) {
        // The grandchild runs the handler; the child exits at once so the caller can reap it.
        if (fork() == 0) {
            char* const argv[] = {const_cast<char*>("xdg-open"), const_cast<char*>(target.c_str()),
                                  nullptr};
            execvp("xdg-open", argv);
            _exit(127);
        }
        _exit(0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}
