#pragma once

#include <sys/types.h>

#include <functional>
#include <string>
#include <vector>

namespace velmora::bench {

// A program the benchmark starts and ends itself (the virtual display, the
// virtual instrument, Wine's programs). It inherits the benchmark's
// environment; its standard output and error go to `output`. Start it before
// any thread of ours runs: between fork and exec the child only redirects.
class ChildProcess {
  public:
    ChildProcess() = default;
    ~ChildProcess() { Stop(); }
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // False when it could not be started (it may still fail at once: Running()).
    bool Start(const std::vector<std::string>& argv, const std::string& output = "/dev/null");
    // SIGTERM, then SIGKILL once `graceMs` have passed; waits for the end.
    void Stop(int graceMs = 3000);
    // Also false once it has ended by itself.
    bool Running();
    // Waits at most `limitMs` for the end; the exit status, or -1 when it
    // ended by a signal or is still running (then stopped).
    int Wait(int limitMs);
    pid_t Pid() const { return pid_; }

  private:
    pid_t pid_ = -1;
    int status_ = -1;
};

// Runs a program to its end, stopped after `limitMs`; its exit status or -1.
int RunProgram(const std::vector<std::string>& argv, int limitMs,
               const std::string& output = "/dev/null");

// Polls `done` every 50 ms for at most `limitMs`; whether it came true.
bool WaitFor(int limitMs, const std::function<bool()>& done);

}  // namespace velmora::bench
