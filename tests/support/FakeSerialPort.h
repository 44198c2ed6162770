#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "support/VirtualClock.h"
#include "system/SerialPort.h"

namespace velmora::test {

// The far end of a scripted serial line, shared by every port opened on it so
// that it outlives a close and reopen. Bytes fed in arrive "now"; a read takes
// what is there (at most `maxPerRead` at a time) and otherwise waits out the
// read time-out on the virtual clock, exactly as the time-out rule says.
struct FakeLine {
    explicit FakeLine(VirtualClock& c) : clock(c) {}

    VirtualClock& clock;
    std::deque<uint8_t> input;
    std::size_t maxPerRead = SIZE_MAX;
    int64_t microsPerByte = 0;  // time each delivered byte takes on the line
    bool flood = false;         // an endless stream of `floodByte`
    uint8_t floodByte = 0x55;
    std::vector<uint8_t> written;                              // every byte written, in order
    std::vector<std::vector<uint8_t>> writes;                  // one entry per write call
    std::function<void(const std::vector<uint8_t>&)> onWrite;  // the instrument's reaction
    // Caps of the next reads, one consumed per read (0: the read finds nothing
    // yet and waits out its time-out); `maxPerRead` applies once it is empty.
    std::deque<std::size_t> readSizes;
    // Sees every read once it is done: where it landed, what was asked, what came.
    std::function<void(const uint8_t* dst, std::size_t asked, std::size_t got)> onRead;

    int reads = 0;
    int emptyReads = 0;
    LineSettings settings;  // what the device reports / was given
    PortTimeouts timeouts;
    bool failGetState = false, failSetState = false, failTimeouts = false;
    int clearErrors = 0;
    // The device went away: every later call fails and the port says so.
    bool gone = false;

    void Feed(const std::vector<uint8_t>& bytes) {
        input.insert(input.end(), bytes.begin(), bytes.end());
    }
    void Feed(const std::string& text) { input.insert(input.end(), text.begin(), text.end()); }
    std::string WrittenText() const { return std::string(written.begin(), written.end()); }
};

class FakeSerialPort final : public SerialPort {
  public:
    explicit FakeSerialPort(std::shared_ptr<FakeLine> line) : line_(std::move(line)) {}

    bool GetState(LineSettings& settings) override;
    bool SetState(const LineSettings& settings) override;
    bool SetTimeouts(const PortTimeouts& timeouts) override;
    void ClearError() override { ++line_->clearErrors; }
    std::size_t Read(uint8_t* dst, std::size_t n) override;
    bool Write(const uint8_t* src, std::size_t n) override;
    bool Gone() const override { return line_->gone; }

  private:
    std::shared_ptr<FakeLine> line_;
};

// A machine's ports: discovery answers `entries`; Open finds the line of a
// path, or reports it missing or held by another program.
class FakeSerialPorts final : public SerialPorts {
  public:
    explicit FakeSerialPorts(VirtualClock& clock) : clock_(clock) {}

    // Adds a port to discovery with a line of its own, and returns the line.
    std::shared_ptr<FakeLine> AddPort(const std::string& name, const std::string& path);

    std::vector<PortEntry> entries;
    std::map<std::string, std::shared_ptr<FakeLine>> lines;
    std::map<std::string, bool> busy;  // held open by another program
    // Opens that fail otherwise (permission, not a serial device, ...).
    std::map<std::string, OpenOutcome> refused;
    std::vector<std::string> notes;  // what discovery says it skipped
    int opens = 0;

    std::vector<PortEntry> Discover() override { return entries; }
    std::vector<std::string> DiscoveryNotes() const override { return notes; }
    OpenOutcome Open(const char* path, std::unique_ptr<SerialPort>& port) override;

  private:
    VirtualClock& clock_;
};

}  // namespace velmora::test
