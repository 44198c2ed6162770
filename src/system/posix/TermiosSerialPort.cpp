#include "system/posix/TermiosSerialPort.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "system/posix/PollDeadline.h"
#include "system/posix/TermiosLineSettings.h"

namespace velmora {
namespace {

// No time-out in this program comes near this; it keeps products of a
// per-byte time-out and a byte count far from overflow.
constexpr uint64_t kMaxBoundMs = uint64_t{1} << 40;

// An interval of all ones with both totals 0 asks for the bytes already there.
constexpr uint32_t kReturnAtOnce = UINT32_MAX;

uint64_t Bound(uint32_t multiplier, uint32_t constant, std::size_t n) {
    if (multiplier != 0 && n > kMaxBoundMs / multiplier) {
        return kMaxBoundMs + constant;
    }
    return uint64_t{multiplier} * n + constant;
}

void CloseQuietly(int fd) {
    while (close(fd) != 0 && errno == EINTR) {
    }
}

// Takes the exclusive claims on an open descriptor: an flock, which refuses
// every other open file (also one in this process and also for root), and the
// tty's exclusive mode, which refuses further opens of the device to programs
// that do not look at flocks.
bool ClaimExclusively(int fd) {
    return flock(fd, LOCK_EX | LOCK_NB) == 0 && ioctl(fd, TIOCEXCL) == 0;
}

// Only a terminal device is ever written to: a path that leads to a regular
// file (a port link gone wrong) would take the commands as data.
bool IsSerialDevice(int fd) {
    struct stat info {};
    termios tio{};
    return fstat(fd, &info) == 0 && S_ISCHR(info.st_mode) && tcgetattr(fd, &tio) == 0;
}

OpenOutcome OutcomeOf(int error) {
    switch (error) {
        case ENOENT:
            return OpenOutcome::DoesNotExist;
        case EACCES:
        case EPERM:
            return OpenOutcome::PermissionDenied;
        case EBUSY:
            return OpenOutcome::Busy;
        default:
            return OpenOutcome::OtherError;
    }
}

// The device is no longer there: a USB adapter pulled (EIO, ENODEV, ENXIO)
// or the far end of a pseudo-terminal closed (EIO).
bool MeansGone(int error) { return error == EIO || error == ENXIO || error == ENODEV; }

}  // namespace

OpenOutcome TermiosSerialPort::Open(const char* path, std::unique_ptr<SerialPort>& port,
                                    std::string* why) {
    port.reset();
    // O_NONBLOCK also keeps the open itself from waiting for carrier detect.
    const int fd = open(path, O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        const int error = errno;
        if (why != nullptr) *why = std::strerror(error);
        return OutcomeOf(error);
    }
    if (!IsSerialDevice(fd)) {
        CloseQuietly(fd);
        return OpenOutcome::NotSerialPort;
    }
    if (!ClaimExclusively(fd)) {
        CloseQuietly(fd);
        return OpenOutcome::Busy;
    }
    port.reset(new TermiosSerialPort(fd));
    return OpenOutcome::Opened;
}

TermiosSerialPort::TermiosSerialPort(int fd) : fd_(fd) {}

TermiosSerialPort::~TermiosSerialPort() {
    // Leave the device openable for the next program even if a descriptor
    // survives somewhere; then drop the lock and the descriptor.
    ioctl(fd_, TIOCNXCL);
    flock(fd_, LOCK_UN);
    CloseQuietly(fd_);
}

bool TermiosSerialPort::GetState(LineSettings& settings) {
    termios tio{};
    if (tcgetattr(fd_, &tio) != 0) {
        return false;
    }
    ReadLineSettings(tio, settings);
    int lines = 0;
    if (ioctl(fd_, TIOCMGET, &lines) == 0) {
        settings.dtrEnable = (lines & TIOCM_DTR) != 0;
    }
    return true;
}

bool TermiosSerialPort::SetState(const LineSettings& settings) {
    termios tio{};
    if (tcgetattr(fd_, &tio) != 0 || !ApplyLineSettings(settings, tio)) {
        return false;
    }
    if (tcsetattr(fd_, TCSANOW, &tio) != 0) {
        return false;
    }
    // tcsetattr succeeds when any part of the request was taken; a driver
    // that cannot do the speed keeps its old one, so check what stuck.
    termios applied{};
    if (tcgetattr(fd_, &applied) != 0 || cfgetospeed(&applied) != cfgetospeed(&tio) ||
        (applied.c_cflag & CSIZE) != (tio.c_cflag & CSIZE)) {
        return false;
    }
    SetModemLines(settings.dtrEnable);
    return true;
}

void TermiosSerialPort::SetModemLines(bool dtr) {
    // The instrument's side expects DTR (and RTS, which no flow control
    // drives here) to be up while the port is open. A pseudo-terminal has no
    // modem lines and refuses these calls; that is harmless.
    int raise = TIOCM_RTS | (dtr ? TIOCM_DTR : 0);
    ioctl(fd_, TIOCMBIS, &raise);
    if (!dtr) {
        int drop = TIOCM_DTR;
        ioctl(fd_, TIOCMBIC, &drop);
    }
}

bool TermiosSerialPort::SetTimeouts(const PortTimeouts& timeouts) {
    timeouts_ = timeouts;
    return true;
}

void TermiosSerialPort::ClearError() {}

uint64_t TermiosSerialPort::ReadBoundMs(std::size_t n) const {
    return Bound(timeouts_.readTotalMultiplier, timeouts_.readTotalConstant, n);
}

int64_t TermiosSerialPort::ReadDeadline(int64_t start, std::size_t n) const {
    const uint64_t totalMs = ReadBoundMs(n);
    if (totalMs != 0) {
        return DeadlineAfterMillis(start, totalMs);
    }
    // The classic API's "return what is there" setting: no waiting at all.
    return timeouts_.readInterval == kReturnAtOnce ? start : kNoDeadline;
}

uint64_t TermiosSerialPort::WriteBoundMs(std::size_t n) const {
    const uint64_t bound = Bound(timeouts_.writeTotalMultiplier, timeouts_.writeTotalConstant, n);
    return bound == 0 ? kWriteTimeoutMs : bound;
}

std::size_t TermiosSerialPort::Read(uint8_t* dst, std::size_t n) {
    const int64_t start = MonotonicNanos();
    const int64_t total = ReadDeadline(start, n);
    std::size_t got = 0;
    int64_t lastByte = start;
    bool signalled = false;  // the last wait reported the port readable
    bool hungUp = false;
    while (got < n) {
        // With VMIN = VTIME = 0 an empty tty reads 0; before SetState (still
        // in canonical mode) it reads EAGAIN. Both mean "nothing yet".
        const ssize_t r = read(fd_, dst + got, n - got);
        if (r > 0) {
            got += static_cast<std::size_t>(r);
            lastByte = MonotonicNanos();
            signalled = false;
            continue;
        }
        if (r < 0 && errno == EINTR) {
            continue;
        }
        // A read error (EIO once the other end is gone), a hang-up, or a
        // "readable" port that then yields nothing (end of file): what has
        // arrived is all there will be.
        if (r < 0 && errno != EAGAIN) {
            NoteFailure(errno);
            break;
        }
        if (hungUp || (r == 0 && signalled)) {
            gone_ = true;  // a terminal reads as ended only once it is hung up
            break;
        }
        int64_t deadline = total;
        if (got > 0 && timeouts_.readInterval != 0) {
            deadline = std::min(deadline, DeadlineAfterMillis(lastByte, timeouts_.readInterval));
        }
        const PollOutcome outcome = PollUntil(fd_, POLLIN, deadline);
        if (outcome == PollOutcome::TimedOut) {
            break;
        }
        // After a hang-up one more read collects what is still buffered.
        hungUp = outcome == PollOutcome::HungUp;
        gone_ = gone_ || hungUp;
        signalled = true;
    }
    return got;
}

bool TermiosSerialPort::Write(const uint8_t* src, std::size_t n) {
    const int64_t deadline = DeadlineAfterMillis(MonotonicNanos(), WriteBoundMs(n));
    std::size_t done = 0;
    while (done < n) {
        const ssize_t r = write(fd_, src + done, n - done);
        if (r > 0) {
            done += static_cast<std::size_t>(r);
            continue;
        }
        if (r < 0 && errno == EINTR) {
            continue;
        }
        if (r < 0 && errno != EAGAIN) {
            NoteFailure(errno);
            return false;
        }
        const PollOutcome outcome = PollUntil(fd_, POLLOUT, deadline);
        if (outcome != PollOutcome::Ready) {
            gone_ = gone_ || outcome == PollOutcome::HungUp;
            return false;
        }
    }
    return true;
}

void TermiosSerialPort::NoteFailure(int error) { gone_ = gone_ || MeansGone(error); }

}  // namespace velmora
