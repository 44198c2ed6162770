#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "instrument/CommandParser.h"
#include "instrument/CommandTrace.h"
#include "instrument/FrameBuilder.h"
#include "instrument/InstrumentOptions.h"
#include "instrument/InstrumentState.h"
#include "instrument/LinePacer.h"
#include "instrument/OutputQueue.h"
#include "instrument/PtyService.h"
#include "instrument/ReplyComposer.h"
#include "instrument/SignalSynth.h"

namespace velmora {

// The virtual instrument: serves the command protocol on a pseudo-terminal.
// Each data request "%z\r\n" is answered with one 8320-byte frame synthesised
// from the settings received so far (plus the faults of the options); the
// other commands change the settings and are not answered.
//
// Use either Open() then Run() on a thread of the caller (the program), or
// Start() / Stop() (tests: the service runs on a thread of its own). Snapshot()
// may be called from any thread at any time. Run() notices a stop request
// within kPollIntervalNs. With the default options a reply is written as soon
// as the request's last byte has been read.
class VirtualInstrument : private CommandSink {
  public:
    static constexpr int64_t kPollIntervalNs = 20'000'000;
    // A generator command ends when the line has been quiet this long.
    static constexpr int64_t kIdleNs = 20'000'000;

    explicit VirtualInstrument(const InstrumentOptions& options = {});
    ~VirtualInstrument() override;
    VirtualInstrument(const VirtualInstrument&) = delete;
    VirtualInstrument& operator=(const VirtualInstrument&) = delete;

    // Creates the pseudo-terminal and its link. False with `error` set on failure.
    bool Open(std::string& error);
    // Serves until `stop` becomes true. Needs a successful Open().
    void Run(const std::atomic<bool>& stop);

    // Open(), then Run() on a new thread.
    bool Start(std::string& error);
    // Ends the thread of Start() (if any), closes the pseudo-terminal and
    // removes the link. Safe to call more than once.
    void Stop();

    // Settings and counters as of now.
    InstrumentState Snapshot() const;
    const std::string& LinkPath() const { return pty_.LinkPath(); }
    const std::string& SlavePath() const { return pty_.SlavePath(); }

  private:
    struct Buffers;

    void OnCommand(const Command& command) override;
    void OnRejected() override;
    void Step();
    void Answer(const InstrumentState& state, int64_t now);
    void ReadInput(int64_t now);
    void Flush(int64_t now);
    bool FlushOnce(int64_t now);
    std::size_t Pending(int64_t now, const uint8_t*& data);
    void Wait(int64_t now);
    int64_t WakeTime(int64_t now);
    void Count(uint64_t InstrumentState::Counters::*counter, uint64_t amount = 1);

    InstrumentOptions options_;
    PtyService pty_;
    CommandParser parser_;
    CommandTrace trace_;
    SignalSynth synth_;
    ReplyComposer composer_;
    LinePacer pacer_;
    std::unique_ptr<Buffers> buffers_;

    mutable std::mutex mutex_;
    InstrumentState state_;  // guarded by mutex_

    std::thread thread_;
    std::atomic<bool> stopThread_{false};

    // Loop state, touched only by the serving thread.
    int64_t now_ = 0;
    int64_t lastInput_ = 0;
    int64_t lastCapture_ = -1;
    int64_t peerAbsentUntil_ = 0;
    bool writeBlocked_ = false;
    bool lineBusy_ = false;
    bool flooding_ = false;
    std::size_t floodOffset_ = 0;
};

}  // namespace velmora
