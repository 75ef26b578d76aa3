// A companion program run as a child of this one, not waited for: started with its arguments,
// asked whether it still runs (which collects it once it has ended), and stopped with SIGTERM
// (killed if it has not gone within a grace period). EndDescriptor turns readable when the
// child ends, for a caller that sleeps until then; -1 when none can be had (no child, or a
// kernel without process descriptors: the caller then learns of the end from SIGCHLD).
#pragma once
#include <string>
#include <vector>

class ChildProcess {
  public:
    ChildProcess() = default;
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;
    ~ChildProcess();

    // False when the program could not be started (then nothing runs).
    bool Start(const std::string& program, const std::vector<std::string>& arguments);
    bool Running();
    void Stop();
    int EndDescriptor() const { return endDescriptor_; }

  private:
    void Forget();

    int pid_ = 0;
    int endDescriptor_ = -1;
};
