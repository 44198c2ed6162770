#pragma once

#include <array>
#include <optional>
#include <span>
#include <string>

#include "cli/OptionTable.h"

namespace velmora {

// The command line of velmora-bode, checked value by value; nothing here
// touches a port or a file.
struct BodeOptions {
    std::string port;
    double from = 100.0;  // Hz
    double to = 20000.0;
    int perDecade = 10;
    double amplitude = 1.0;  // generator A's peak, volts
    int settleMs = 0;        // at least this long from the generator command to the frame's request
    std::array<std::optional<int>, 2> probe{};  // list index: 0 x10, 1 x1
    std::string csvPath;                        // "-" or empty: standard output
    std::string pngPath;
    std::string settingsPath;
    double sampleRate = 0;  // 0: the program's own
    bool quiet = false;

    bool help = false;
    bool version = false;
    bool listPorts = false;
};

// The options of velmora-bode, in the order of its help.
std::span<const OptionRow<BodeOptions>> BodeOptionRows();

// Parses argv[1..] and checks the sweep against what a frame at the sample
// rate in force (`defaultSampleRate` without --sample-rate) can resolve;
// false with a one-line reason in `error` on a usage error.
bool ParseBodeOptions(int argc, const char* const* argv, double defaultSampleRate,
                      BodeOptions& options, std::string& error);

const char* BodeUsageLine();
const char* BodeHelp();

}  // namespace velmora
