#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "instrument/CircuitUnderTest.h"
#include "instrument/InputSignal.h"

namespace velmora {

// How the virtual instrument behaves: signal details, line pacing and the
// faults it injects for the reliability tests. Defaults: a well-behaved
// instrument that answers at once.
struct InstrumentOptions {
    static constexpr int kMaxStray = 4096;
    static constexpr int kMaxLateMs = 60000;
    static constexpr int kMaxNoise = 2047;

    bool baudPacing = false;    // pace replies like a 115200-baud 8N1 line
    int stray = 0;              // stray bytes (never the marker) before each frame
    bool damageMarker = false;  // send the frame with a damaged marker
    int shortFrame = -1;        // when >= 0: send only this many bytes of the frame
    bool silent = false;        // never answer
    bool flood = false;         // after the first request, send marker-free bytes forever
    int lateMs = 0;             // answer this long after the request
    uint32_t points = 2048;     // header point count in XY mode
    int noise = 2;              // peak noise in counts
    uint32_t seed = 1;          // noise seed
    std::string linkName;       // empty: the first free ttyVIRT<n>
    std::string traceFile;      // when set: every command received is appended there
    // Signals from outside on the inputs of channels 1 and 2 (none by default).
    std::array<InputSignal, 2> inputs{};
    // A circuit between generator A and channel 2's input (none by default).
    CircuitUnderTest circuit{};
};

}  // namespace velmora
