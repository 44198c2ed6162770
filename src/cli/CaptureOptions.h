#pragma once

#include <array>
#include <optional>
#include <span>
#include <string>

#include "cli/OptionTable.h"

namespace velmora {

// One generator channel as the capture command sets it: the waveform list's
// index (0 "Off") and the texts of the frequency and amplitude boxes.
struct GeneratorSetting {
    int waveform = 0;
    std::string frequency = "20000";
    std::string amplitude = "1.00";
};

// What the channel's range option asked for: a "+-" value in volts, checked
// against the probe once the probe in force is known.
struct RangeRequest {
    int volts = 0;
};

// The command line of velmora-capture, checked value by value; nothing here
// touches a port or a file.
struct CaptureOptions {
    std::string port;
    int frames = 1;
    bool framesGiven = false;       // --frames was on the command line
    std::optional<double> seconds;  // every frame within this time instead
    std::string samplesPath;        // "-" is standard output
    std::string spectrumPath;
    std::string measurePath;
    std::string settingsPath;
    double sampleRate = 0;  // 0: the program's own
    bool quiet = false;

    std::optional<int> sweep;                   // list index: 0 XY mode, 1 time
    std::array<std::optional<int>, 2> probe{};  // list index: 0 x10, 1 x1
    std::array<std::optional<RangeRequest>, 2> range{};
    std::optional<int> triggerSource;    // 0 ch1, 1 ch2
    std::optional<int> triggerSlope;     // 0 rise, 1 fall
    std::optional<int> triggerLevel;     // as sent: -2000..2000
    std::optional<int> triggerPosition;  // 0..2048
    std::array<std::optional<GeneratorSetting>, 2> generator{};

    bool help = false;
    bool version = false;
    bool listPorts = false;

    bool ManyFrames() const { return seconds.has_value() || frames > 1; }
    bool AnyTrigger() const {
        return triggerSource || triggerSlope || triggerLevel || triggerPosition;
    }
};

// The options of velmora-capture, in the order of its help.
std::span<const OptionRow<CaptureOptions>> CaptureOptionRows();

// Parses argv[1..]; false with a one-line reason in `error` on a usage error.
bool ParseCaptureOptions(int argc, const char* const* argv, CaptureOptions& options,
                         std::string& error);

// The range list index of a "+-" value for a probe (0 x10, 1 x1), or nothing
// when that probe has no such range.
std::optional<int> RangeIndexFor(int volts, int probeIndex);

const char* CaptureUsageLine();
const char* CaptureHelp();

}  // namespace velmora
