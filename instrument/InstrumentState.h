#pragma once

#include <array>
#include <cstdint>

#include "instrument/Command.h"

namespace velmora {

// Everything the instrument knows: the settings the computer sent last and the
// counters of what it received and answered. A plain value: copy it freely.
struct InstrumentState {
    // The sync level that tells XY mode: the computer sends no sweep command.
    static constexpr int kXYLevel = 2000;

    struct Generator {
        char waveform = '0';  // '0' off
        double frequency = 1000.0;
        double amplitude = 1.0;
    };
    struct Counters {
        uint64_t dataRequests = 0;
        uint64_t syncCommands = 0;
        uint64_t range1Commands = 0;
        uint64_t range2Commands = 0;
        uint64_t generatorCommands = 0;
        uint64_t errors = 0;           // rejected fragments
        uint64_t replies = 0;          // data requests answered (faults included)
        uint64_t framesSent = 0;       // replies completely handed to the line
        uint64_t droppedRequests = 0;  // requests with no room left to answer
        uint64_t bytesReceived = 0;
        uint64_t bytesSent = 0;
    };

    int syncSource = 0;    // 0 channel 1, 1 channel 2
    int syncPolarity = 0;  // 0 rise, 1 fall
    int syncPosition = 1024;
    int syncLevel = 0;
    std::array<int, 2> range = {0, 0};     // per channel, 0 (±24 V) .. 7 (±1 V)
    std::array<Generator, 2> generator{};  // A drives channel 1, B channel 2
    uint32_t xyPoints = 2048;              // point count sent in XY mode
    Counters counters{};

    bool XYMode() const { return syncLevel == kXYLevel; }
    // The header's point count: xyPoints in XY mode, 0 otherwise.
    uint32_t PointCount() const { return XYMode() ? xyPoints : 0; }

    // Takes over the settings of `command` and counts it.
    void Apply(const Command& command);
};

}  // namespace velmora
