#include "instrument/CircuitOutput.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <numbers>

#include "instrument/WaveShape.h"

namespace velmora {

CircuitOutput::CircuitOutput(const CircuitUnderTest& circuit, double sampleRate)
    : circuit_(circuit), sampleRate_(sampleRate) {}

double CircuitOutput::Volts(char waveform, double frequency, double amplitude, double phase) {
    if (!circuit_.Connected() || !WaveIsActive(waveform)) return 0.0;
    if (waveform != builtWaveform_ || frequency != builtFrequency_) Build(waveform, frequency);
    const double at = (phase - std::floor(phase)) * static_cast<double>(kPoints);
    const std::size_t i = std::min(static_cast<std::size_t>(at), kPoints - 1);
    const double fraction = at - static_cast<double>(i);
    return amplitude * (cycle_[i] + fraction * (cycle_[i + 1] - cycle_[i]));
}

// The waveform's Fourier coefficients from kPoints samples of one cycle, each
// multiplied by the circuit's response at its frequency, summed back up.
void CircuitOutput::Build(char waveform, double frequency) {
    builtWaveform_ = waveform;
    builtFrequency_ = frequency;
    const double n = static_cast<double>(kPoints);
    const int nyquist = frequency > 0.0 ? static_cast<int>(sampleRate_ / (2.0 * frequency)) : 0;
    // The fundamental always passes, as it would on a real line above half the
    // sample rate (where the sampling folds it back).
    const int harmonics = std::clamp(nyquist, 1, kMaxHarmonics);
    std::array<std::complex<double>, kMaxHarmonics + 1> term{};
    for (std::size_t p = 0; p < kPoints; ++p) {
        const double shape = WaveShape(waveform, static_cast<double>(p) / n);
        const std::complex<double> step = std::polar(1.0, -2.0 * std::numbers::pi * p / n);
        std::complex<double> turn = shape / n;
        for (int k = 0; k <= harmonics; ++k, turn *= step)
            term[static_cast<std::size_t>(k)] += turn;
    }
    for (int k = 0; k <= harmonics; ++k) {
        const double weight = k == 0 ? 1.0 : 2.0;  // a real signal's two sides
        term[static_cast<std::size_t>(k)] *= weight * circuit_.Response(k * frequency);
    }
    for (std::size_t p = 0; p <= kPoints; ++p) {
        const std::complex<double> step = std::polar(1.0, 2.0 * std::numbers::pi * p / n);
        std::complex<double> turn = 1.0;
        double value = 0.0;
        for (int k = 0; k <= harmonics; ++k, turn *= step) {
            value += (term[static_cast<std::size_t>(k)] * turn).real();
        }
        cycle_[p] = value;
    }
}

}  // namespace velmora
