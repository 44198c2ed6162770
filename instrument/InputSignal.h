#pragma once

#include <string>
#include <string_view>

namespace velmora {

// A signal from outside on one of the instrument's inputs (a demo source, a
// circuit under test), added to whatever the generator wired to that channel
// plays. Volts at the input: `amplitude` is the peak, `offset` a DC level.
struct InputSignal {
    static constexpr double kMaxFrequency = 1.0e6;
    static constexpr double kMaxVolts = 100.0;

    char waveform = '0';  // a generator waveform character; '0': nothing connected
    double frequency = 0.0;
    double amplitude = 0.0;
    double offset = 0.0;

    bool Connected() const { return waveform != '0'; }

    // Reads "WAVE,HZ,VOLTS[,OFFSET]" (WAVE one of kWaveformNames, HZ above 0
    // and at most kMaxFrequency, VOLTS from 0 to kMaxVolts, OFFSET within
    // ±kMaxVolts). False with `error` (one line) for anything else.
    static bool Parse(std::string_view text, InputSignal& signal, std::string& error);
};

}  // namespace velmora
