#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "system/SerialPort.h"

namespace velmora {

// A serial port on a POSIX terminal device (a UART, a USB serial adapter or a
// pseudo-terminal), driven through termios and non-blocking I/O.
//
// Open is exclusive: the open file takes an flock and the tty is put into
// exclusive mode (TIOCEXCL), so a second program, or a second open in this
// process, is refused. The descriptor stays non-blocking; Read and Write wait
// with ppoll against CLOCK_MONOTONIC deadlines, so neither ever blocks longer
// than its time-out.
class TermiosSerialPort final : public SerialPort {
  public:
    // The read rule in force until SetTimeouts is called: the link's own
    // values (1 ms between bytes, 1 ms per byte plus 1 ms in all), so that a
    // port used before its time-outs are set still never blocks for long.
    static constexpr PortTimeouts kDefaultTimeouts{1, 1, 1, 0, 0};
    // Bound on a whole Write when no write time-out was set: a port that stops
    // draining (an adapter whose device hung) must never hang the UI thread.
    static constexpr uint32_t kWriteTimeoutMs = 1000;

    // Opens `path` as described above. ENOENT gives DoesNotExist, EACCES and
    // EPERM PermissionDenied, a port held by someone else (its flock, or its
    // exclusive mode: EBUSY) Busy. Only a character device that takes
    // termios (tcgetattr succeeds) is kept: anything else (a regular file, a
    // directory's device, /dev/null) is closed untouched as NotSerialPort.
    // Every other failure is OtherError, with the system's words in `why`
    // (when given).
    static OpenOutcome Open(const char* path, std::unique_ptr<SerialPort>& port,
                            std::string* why = nullptr);

    ~TermiosSerialPort() override;
    TermiosSerialPort(const TermiosSerialPort&) = delete;
    TermiosSerialPort& operator=(const TermiosSerialPort&) = delete;

    // Reads termios (false when that fails, e.g. not a terminal) and DTR from
    // the modem lines where the device has them.
    bool GetState(LineSettings& settings) override;
    // Raw mode with the given speed and framing, no flow control, VMIN and
    // VTIME 0; then DTR as asked and RTS raised (a pseudo-terminal has no
    // modem lines, so failure there is ignored). False when termios cannot
    // express the settings or the device rejects them.
    bool SetState(const LineSettings& settings) override;
    // Installs the read rule and the write bound. Always succeeds.
    bool SetTimeouts(const PortTimeouts& timeouts) override;
    // Linux keeps no sticky line-error state that blocks later I/O (framing
    // and parity errors arrive in the data stream or are dropped by the
    // driver), so there is nothing to clear. Flushing the queues here would
    // throw away data that has already arrived, so this does nothing.
    void ClearError() override;

    // Returns as soon as n bytes are in, or when more than readInterval ms
    // pass between two bytes (timed from the first byte on), or when
    // readTotalMultiplier * n + readTotalConstant ms have passed in all.
    // Both totals 0 means no total bound; interval 0 means no interval bound;
    // both totals 0 with the interval at UINT32_MAX returns what is already
    // there without waiting. A read never waits longer than its rule allows.
    // A hang-up or read error ends the read with the bytes so far; a hang-up
    // (POLLHUP, POLLERR) or EIO, ENXIO or ENODEV marks the port gone.
    std::size_t Read(uint8_t* dst, std::size_t n) override;
    // Writes all bytes, waiting for room with ppoll. Bounded by
    // writeTotalMultiplier * n + writeTotalConstant ms, or kWriteTimeoutMs
    // when both are 0. False on time-out or error (bytes may have gone out);
    // the errors and hang-ups of Read mark the port gone.
    bool Write(const uint8_t* src, std::size_t n) override;
    bool Gone() const override { return gone_; }

  private:
    explicit TermiosSerialPort(int fd);

    uint64_t ReadBoundMs(std::size_t n) const;
    int64_t ReadDeadline(int64_t start, std::size_t n) const;
    uint64_t WriteBoundMs(std::size_t n) const;
    void SetModemLines(bool dtr);

    void NoteFailure(int error);

    int fd_;
    PortTimeouts timeouts_ = kDefaultTimeouts;
    bool gone_ = false;
};

}  // namespace velmora
