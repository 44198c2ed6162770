#pragma once

#include <complex>
#include <string>
#include <string_view>

namespace velmora {

// A circuit between generator A and channel 2's input, for trying frequency
// response measurements without hardware: a first-order RC low-pass or
// high-pass with corner `frequency`, or a second-order band-pass centred on
// `frequency` with quality factor `q` (its gain at the centre is `gain`).
// `gain` is a linear factor, so an amplifier can be played as well.
struct CircuitUnderTest {
    enum class Kind { kNone, kLowPass, kHighPass, kBandPass };

    static constexpr double kMinFrequency = 1.0;
    static constexpr double kMaxFrequency = 1.0e6;
    static constexpr double kMinQ = 0.1;
    static constexpr double kMaxQ = 1000.0;
    static constexpr double kMaxGain = 1000.0;

    Kind kind = Kind::kNone;
    double frequency = 0.0;  // corner or centre, Hz
    double q = 0.0;          // band-pass only
    double gain = 1.0;

    bool Connected() const { return kind != Kind::kNone; }

    // The steady-state response at `hz` (0 for DC): output over input.
    std::complex<double> Response(double hz) const;

    // Reads "lowpass,FC[,GAIN]", "highpass,FC[,GAIN]" or
    // "bandpass,F0,Q[,GAIN]". False with `error` (one line) for anything else.
    static bool Parse(std::string_view text, CircuitUnderTest& circuit, std::string& error);
};

}  // namespace velmora
