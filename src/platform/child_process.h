// A companion program run as a child of this one, not waited for: started with its arguments,
// asked whether it still runs (which collects it once it has ended), and stopped with SIGTERM
// (killed if it has not gone within a grace period).
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

  private:
    int pid_ = 0;
};
