#include "ChildProcess.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>

namespace velmora::bench {

bool ChildProcess::Start(const std::vector<std::string>& argv, const std::string& output) {
    Stop();
    if (argv.empty()) return false;
    std::vector<char*> args;
    for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
    args.push_back(nullptr);
    const int out = open(output.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (out < 0) return false;
    pid_ = fork();
    if (pid_ == 0) {
        dup2(out, STDOUT_FILENO);
        dup2(out, STDERR_FILENO);
        execvp(args[0], args.data());
        _exit(127);
    }
    close(out);
    status_ = -1;
    return pid_ > 0;
}

bool ChildProcess::Running() {
    if (pid_ <= 0) return false;
    int status = 0;
    if (waitpid(pid_, &status, WNOHANG) == 0) return true;
    status_ = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    pid_ = -1;
    return false;
}

int ChildProcess::Wait(int limitMs) {
    if (!WaitFor(limitMs, [this] { return !Running(); })) Stop();
    return status_;
}

void ChildProcess::Stop(int graceMs) {
    if (!Running()) return;
    kill(pid_, SIGTERM);
    if (!WaitFor(graceMs, [this] { return !Running(); })) {
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
        pid_ = -1;
    }
    status_ = -1;
}

int RunProgram(const std::vector<std::string>& argv, int limitMs, const std::string& output) {
    ChildProcess child;
    if (!child.Start(argv, output)) return -1;
    return child.Wait(limitMs);
}

bool WaitFor(int limitMs, const std::function<bool()>& done) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(limitMs);
    while (!done()) {
        if (std::chrono::steady_clock::now() >= end) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return true;
}

}  // namespace velmora::bench
