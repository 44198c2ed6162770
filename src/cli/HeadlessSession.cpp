#include "cli/HeadlessSession.h"

#include <chrono>
#include <cstdio>
#include <thread>

namespace velmora {
namespace {

// No complete frame for this long: the instrument has stopped answering.
constexpr int64_t kSilenceMicros = 5'000'000;

}  // namespace

void HeadlessSession::StderrErrors::ShowError(const std::string& message) {
    std::fprintf(stderr, "%s: %s\n", program_, message.c_str());
}

HeadlessSession::HeadlessSession(const char* program, CommandSystem& system,
                                 SettingsStore& settings, CapturePorts& ports)
    : system_(system),
      errors_(program),
      form_(FormServices{ports, settings, system.clock, canvas_, errors_, system.wallClock,
                         system.files}),
      port_(ports.Port()) {
    form_.portFromSettingsFile = false;  // the port is the command line's
}

bool HeadlessSession::Start(std::string& error) {
    form_.Dispatch([&] { form_.FormCreate(); });
    nextTick_ = NowMicros();
    NoteFrame();
    const uint32_t requests = form_.Receive().requestsSent;
    startUpStale_ = requests > 0 ? requests - 1 : 0;
    const SerialLink& link = form_.Link();
    if (link.Configured()) return true;
    if (link.Condition() == LinkCondition::kNotSerialPort || link.IsOpen()) {
        error = port_.path + " is not a serial port";
        if (!link.OpenError().empty()) error += " (" + link.OpenError() + ")";
    } else {
        error = "cannot open " + port_.name + " (" + port_.path +
                "): " + system_.whyNotOpened(port_.path);
    }
    return false;
}

void HeadlessSession::NoteFrame() {
    lastFrame_ = NowMicros();
    bytesAtFrame_ = form_.Link().BytesRead();
    markerSince_ = false;
}

std::string HeadlessSession::WhyNoFrames() const {
    const SerialLink& link = form_.Link();
    if (!link.IsOpen()) return "disconnected";
    const uint64_t bytes = link.BytesRead() - bytesAtFrame_;
    if (bytes == 0) return "no answer for " + std::to_string(kSilenceMicros / 1'000'000) + " s";
    return "answers that are not frames: " + std::to_string(bytes) + " bytes, " +
           (markerSince_ ? "no whole frame" : "no frame marker");
}

uint32_t HeadlessSession::Apply(const std::function<void()>& event) {
    const uint32_t before = form_.Receive().requestsSent;
    form_.Dispatch(event);
    return before;
}

HeadlessSession::Outcome HeadlessSession::RunTicks(const std::function<bool()>& done,
                                                   std::optional<int64_t> untilMicros) {
    const int64_t interval = int64_t{form_.Timer1.Interval()} * 1000;
    while (!done()) {
        const int64_t now = NowMicros();
        if (system_.interrupted) return Outcome::kInterrupted;
        if (untilMicros && now >= *untilMicros) return Outcome::kTimeUp;
        if (now - lastFrame_ >= kSilenceMicros) return Outcome::kSilent;
        if (nextTick_ > now) {
            std::this_thread::sleep_for(std::chrono::microseconds(nextTick_ - now));
        }
        nextTick_ = std::max(nextTick_ + interval, NowMicros());
        if (system_.interrupted) return Outcome::kInterrupted;
        form_.Dispatch([&] { form_.Timer1Timer(); });
        if (form_.Receive().rxBlock != kHeaderBlock) markerSince_ = true;
    }
    return Outcome::kDone;
}

}  // namespace velmora
