#pragma once

#include <array>
#include <cstddef>

#include "instrument/CircuitUnderTest.h"
#include "instrument/InstrumentState.h"

namespace velmora {

// What the circuit under test puts out while generator A plays into it, in
// the steady state: each harmonic of the generator's waveform (up to half the
// sample rate, at most kMaxHarmonics) passed through the circuit's response.
// One cycle is kept as a table, built again only when the generator's
// setting changes, so a capture costs a look-up per sample and allocates
// nothing.
class CircuitOutput {
  public:
    static constexpr std::size_t kPoints = 4096;  // table points a cycle
    static constexpr int kMaxHarmonics = 256;

    CircuitOutput(const CircuitUnderTest& circuit, double sampleRate);

    bool Connected() const { return circuit_.Connected(); }

    // Volts at the output at `phase` (cycles of generator A), for the
    // generator playing `waveform` at `frequency` (0 when it is off) with the
    // peak `amplitude`.
    double Volts(char waveform, double frequency, double amplitude, double phase);

  private:
    void Build(char waveform, double frequency);

    CircuitUnderTest circuit_;
    double sampleRate_;
    char builtWaveform_ = '\0';
    double builtFrequency_ = -1.0;
    std::array<double, kPoints + 1> cycle_{};  // unit amplitude; the last repeats the first
};

}  // namespace velmora
