// The command-line programs on Linux: the termios ports, POSIX files, Ctrl+C.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <string>

#include "cli/CommandSystem.h"
#include "system/posix/PosixOutputFiles.h"
#include "system/posix/PosixSerialPorts.h"
#include "system/posix/PosixWallClock.h"

namespace {

std::atomic<bool> interrupted{false};

extern "C" void OnStopSignal(int) { interrupted = true; }

// SIGINT, SIGTERM and SIGHUP (the terminal closed) end a command between
// ticks with what has arrived written; a closed pipe is a failed write, not
// the end of the process.
void CatchSignals() {
    struct sigaction stop {};
    stop.sa_handler = OnStopSignal;
    sigemptyset(&stop.sa_mask);
    sigaction(SIGINT, &stop, nullptr);
    sigaction(SIGTERM, &stop, nullptr);
    sigaction(SIGHUP, &stop, nullptr);
    signal(SIGPIPE, SIG_IGN);
}

std::string DevicePath(const std::string& name) { return "/dev/" + name; }

constexpr const char* kHeld = "another program holds it (a running Velmora window, for example)";

// The open is tried again to learn why it failed the first time.
std::string WhyNotOpened(const std::string& path) {
    struct stat info {};
    if (stat(path.c_str(), &info) != 0) {
        return errno == ENOENT ? "it does not exist" : std::strerror(errno);
    }
    const int fd = open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        if (errno == EACCES || errno == EPERM) {
            return "permission denied (serial ports belong to the dialout group: "
                   "sudo usermod -aG dialout $USER, then log out and in again)";
        }
        return errno == EBUSY ? kHeld : std::strerror(errno);
    }
    const bool locked = flock(fd, LOCK_EX | LOCK_NB) != 0;
    close(fd);
    return locked ? kHeld : "it could not be opened";
}

}  // namespace

namespace velmora {

int RunOnThisSystem(int argc, char** argv, CommandMain command) {
    CatchSignals();
    PosixSerialPorts ports;
    PosixOutputFiles files;
    SteadyClock clock;
    PosixWallClock wallClock;
    CommandSystem system{ports,
                         files,
                         clock,
                         wallClock,
                         &PosixOutputFiles::StandardOutput,
                         DevicePath,
                         WhyNotOpened,
                         isatty(STDERR_FILENO) == 1,
                         interrupted};
    return command(argc, argv, system);
}

}  // namespace velmora
