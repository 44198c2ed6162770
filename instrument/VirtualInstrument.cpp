#include "instrument/VirtualInstrument.h"

#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <ctime>

namespace velmora {
namespace {

// After the line reported that nobody holds the port, look again this much later.
constexpr int64_t kNoPeerBackoffNs = 100'000'000;
// Bounds on the work of one loop step, so that neither direction starves the other.
constexpr int kMaxReadsPerStep = 16;
constexpr int kMaxWritesPerStep = 16;
constexpr std::size_t kFloodPatternBytes = 4096;
constexpr std::size_t kInputChunkBytes = 512;

int64_t MonotonicNs() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<int64_t>(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
}

}  // namespace

// The fixed storage of the serving loop, allocated once with the instrument.
struct VirtualInstrument::Buffers {
    SignalSynth::Samples samples{};
    FrameBuilder::Frame frame{};
    std::array<uint8_t, ReplyComposer::kMaxReplyBytes> reply{};
    std::array<uint8_t, kFloodPatternBytes> flood{};
    std::array<uint8_t, kInputChunkBytes> input{};
    OutputQueue queue;
};

VirtualInstrument::VirtualInstrument(const InstrumentOptions& options)
    : options_(options),
      synth_(options.noise, options.seed, options.inputs, options.circuit),
      composer_(options),
      pacer_(options.baudPacing),
      buffers_(std::make_unique<Buffers>()) {
    state_.xyPoints = options.points;
    // The pattern repeats every 256 bytes, so the flood loops over it seamlessly.
    composer_.Fill(buffers_->flood.data(), buffers_->flood.size());
}

VirtualInstrument::~VirtualInstrument() { Stop(); }

bool VirtualInstrument::Open(std::string& error) {
    if (!trace_.Open(options_.traceFile)) {
        error = "cannot open the trace file " + options_.traceFile;
        return false;
    }
    return pty_.Open(options_.linkName, error);
}

void VirtualInstrument::Run(const std::atomic<bool>& stop) {
    if (pty_.MasterFd() < 0) return;
    while (!stop.load()) Step();
}

bool VirtualInstrument::Start(std::string& error) {
    if (thread_.joinable()) {
        error = "the instrument is already running";
        return false;
    }
    if (!Open(error)) return false;
    stopThread_.store(false);
    thread_ = std::thread([this] { Run(stopThread_); });
    return true;
}

void VirtualInstrument::Stop() {
    stopThread_.store(true);
    if (thread_.joinable()) thread_.join();
    pty_.Close();
}

InstrumentState VirtualInstrument::Snapshot() const {
    const std::lock_guard<std::mutex> lock(mutex_);
    return state_;
}

void VirtualInstrument::Count(uint64_t InstrumentState::Counters::*counter, uint64_t amount) {
    const std::lock_guard<std::mutex> lock(mutex_);
    state_.counters.*counter += amount;
}

// The reply is decided in the same step as the request is counted, so that a
// snapshot never shows a request whose fate is still open.
void VirtualInstrument::OnCommand(const Command& command) {
    trace_.Write(command);
    InstrumentState state;
    bool answer = false;
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        state_.Apply(command);
        if (command.kind != Command::Kind::kDataRequest || options_.silent) return;
        if (options_.flood) {
            flooding_ = true;
        } else if (buffers_->queue.Full()) {
            ++state_.counters.droppedRequests;
        } else {
            ++state_.counters.replies;
            answer = true;
            state = state_;
        }
    }
    if (answer) Answer(state, now_);
}

void VirtualInstrument::OnRejected() {
    trace_.WriteRejected();
    Count(&InstrumentState::Counters::errors);
}

void VirtualInstrument::Step() {
    const int64_t now = MonotonicNs();
    now_ = now;
    if (parser_.AwaitingIdle() && now - lastInput_ >= kIdleNs) parser_.Idle(*this);
    Flush(now);
    Wait(now);
}

// One frame per data request, synthesised from the settings of the moment.
void VirtualInstrument::Answer(const InstrumentState& state, int64_t now) {
    const double elapsed = lastCapture_ < 0 ? 0.0 : static_cast<double>(now - lastCapture_) * 1e-9;
    lastCapture_ = now;
    synth_.Advance(state, elapsed);
    synth_.Capture(state, buffers_->samples);
    FrameBuilder::Build(buffers_->samples, state.PointCount(), buffers_->frame);
    const std::size_t size = composer_.Compose(buffers_->frame, buffers_->reply.data());
    const int64_t due = now + static_cast<int64_t>(options_.lateMs) * 1'000'000;
    buffers_->queue.Push(buffers_->reply.data(), size, due);  // room was checked
}

void VirtualInstrument::ReadInput(int64_t now) {
    for (int i = 0; i < kMaxReadsPerStep; ++i) {
        const ssize_t n = read(pty_.MasterFd(), buffers_->input.data(), buffers_->input.size());
        if (n > 0) {
            now_ = now;
            lastInput_ = now;
            Count(&InstrumentState::Counters::bytesReceived, static_cast<uint64_t>(n));
            parser_.Feed(buffers_->input.data(), static_cast<std::size_t>(n), *this);
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        // EIO (or end of file): no program holds the port; not an error.
        if (n == 0 || errno != EAGAIN) peerAbsentUntil_ = now + kNoPeerBackoffNs;
        return;
    }
}

void VirtualInstrument::Flush(int64_t now) {
    for (int i = 0; i < kMaxWritesPerStep && !writeBlocked_ && FlushOnce(now); ++i) {
    }
}

// Writes what the schedule allows of the pending bytes. True when more may follow.
bool VirtualInstrument::FlushOnce(int64_t now) {
    const uint8_t* data = nullptr;
    const std::size_t pending = Pending(now, data);
    if (pending == 0) {
        lineBusy_ = false;
        return false;
    }
    if (!lineBusy_) pacer_.Restart(now);
    lineBusy_ = true;
    const std::size_t allowed = pacer_.Allowance(now, pending);
    if (allowed == 0) return false;
    const ssize_t written = write(pty_.MasterFd(), data, allowed);
    if (written < 0) {
        if (errno == EINTR) return true;
        writeBlocked_ = true;
        if (errno != EAGAIN) peerAbsentUntil_ = now + kNoPeerBackoffNs;
        return false;
    }
    const auto count = static_cast<std::size_t>(written);
    pacer_.Sent(count);
    Count(&InstrumentState::Counters::bytesSent, count);
    if (flooding_) {
        floodOffset_ = (floodOffset_ + count) % buffers_->flood.size();
    } else if (buffers_->queue.Consume(count)) {
        Count(&InstrumentState::Counters::framesSent);
    }
    if (count < allowed) writeBlocked_ = true;
    return count == allowed;
}

std::size_t VirtualInstrument::Pending(int64_t now, const uint8_t*& data) {
    if (flooding_) {
        data = buffers_->flood.data() + floodOffset_;
        return buffers_->flood.size() - floodOffset_;
    }
    return buffers_->queue.Ready(now, data);
}

int64_t VirtualInstrument::WakeTime(int64_t now) {
    int64_t wake = now + kPollIntervalNs;
    if (parser_.AwaitingIdle()) wake = std::min(wake, lastInput_ + kIdleNs);
    if (now < peerAbsentUntil_) wake = std::min(wake, peerAbsentUntil_);
    if (writeBlocked_) return std::max(wake, now);
    const uint8_t* data = nullptr;
    const std::size_t pending = Pending(now, data);
    if (pending > 0) {
        wake = std::min(wake, pacer_.WakeTime(now, pending));
    } else if (!buffers_->queue.Empty()) {
        wake = std::min(wake, buffers_->queue.HeadDue());
    }
    return std::max(wake, now);
}

void VirtualInstrument::Wait(int64_t now) {
    const int64_t delay = WakeTime(now) - now;
    const timespec timeout{static_cast<time_t>(delay / 1'000'000'000),
                           static_cast<long>(delay % 1'000'000'000)};
    pollfd port{pty_.MasterFd(), static_cast<short>(POLLIN | (writeBlocked_ ? POLLOUT : 0)), 0};
    const nfds_t count = now < peerAbsentUntil_ ? 0 : 1;
    if (ppoll(&port, count, &timeout, nullptr) <= 0 || count == 0) return;
    if ((port.revents & (POLLOUT | POLLHUP | POLLERR)) != 0) writeBlocked_ = false;
    if ((port.revents & (POLLIN | POLLHUP | POLLERR)) != 0) ReadInput(MonotonicNs());
}

}  // namespace velmora
