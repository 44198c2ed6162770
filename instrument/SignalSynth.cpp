#include "instrument/SignalSynth.h"

#include <cmath>

#include "instrument/WaveShape.h"

namespace velmora {
namespace {

constexpr std::array<double, 8> kRangeVolts = {24.0, 20.0, 16.0, 12.0, 8.0, 4.0, 2.0, 1.0};
// The crossing search scans one cycle of the source in this many steps, then
// narrows the step that holds the crossing down to rounding.
constexpr int kScanSteps = 4096;
constexpr int kBisections = 60;

double Clamp(double value, double low, double high) {
    if (!(value >= low)) return low;  // also catches NaN
    return value > high ? high : value;
}

// The generator's frequency as the hardware plays it: 0 when it is off.
double Frequency(const InstrumentState::Generator& generator) {
    if (!WaveIsActive(generator.waveform)) return 0.0;
    return Clamp(generator.frequency, 0.0, SignalSynth::kMaxFrequency);
}

int SourceOf(const InstrumentState& state) { return state.syncSource == 1 ? 1 : 0; }

}  // namespace

SignalSynth::SignalSynth(int noise, uint32_t seed)
    : noise_(noise < 0 ? 0 : noise), random_(seed == 0 ? 0x9E3779B9u : seed) {}

double SignalSynth::FullScaleVolts(int range) {
    const int index = range < 0 ? 0 : (range > 7 ? 7 : range);
    return kRangeVolts[static_cast<std::size_t>(index)];
}

double SignalSynth::Level(const InstrumentState::Generator& generator, int range, double phase) {
    const double amplitude = Clamp(generator.amplitude, 0.0, kMaxAmplitude);
    return amplitude * WaveShape(generator.waveform, phase) * kFullScale / FullScaleVolts(range);
}

bool SignalSynth::Capture(const InstrumentState& state, Samples& out) {
    std::array<double, 2> reference = phase_;  // phase of each channel at sample `anchor`
    double anchor = 0.0;
    double crossing = 0.0;
    const bool triggered = FindCrossing(state, crossing);
    if (triggered) {
        const int source = SourceOf(state);
        const double delay = (crossing - phase_[source]) / Frequency(state.generator[source]);
        anchor = Clamp(state.syncPosition, 0.0, static_cast<double>(kSamplePairs));
        for (int c = 0; c < 2; ++c) {
            reference[c] =
                c == source ? crossing : phase_[c] + Frequency(state.generator[c]) * delay;
        }
    }
    for (std::size_t c = 0; c < 2; ++c) {
        const InstrumentState::Generator& generator = state.generator[c];
        const double step = Frequency(generator) / kSampleRate;
        for (std::size_t i = 0; i < kSamplePairs; ++i) {
            const double phase = reference[c] + step * (static_cast<double>(i) - anchor);
            const long value = std::lround(Level(generator, state.range[c], phase)) + Noise();
            out.channel[c][i] = static_cast<int16_t>(value < -kFullScale  ? -kFullScale
                                                     : value > kFullScale ? kFullScale
                                                                          : value);
        }
    }
    return triggered;
}

void SignalSynth::Advance(const InstrumentState& state, double seconds) {
    for (std::size_t c = 0; c < 2; ++c) {
        const double phase = phase_[c] + Frequency(state.generator[c]) * seconds;
        phase_[c] = std::isfinite(phase) ? phase - std::floor(phase) : 0.0;
    }
}

// Looks for the first crossing of the sync level with the chosen slope within
// one cycle of the source from its free-running phase. `crossing` is the phase
// (in cycles) of the first point on the far side of the level.
bool SignalSynth::FindCrossing(const InstrumentState& state, double& crossing) const {
    const int source = SourceOf(state);
    const InstrumentState::Generator& generator = state.generator[source];
    if (state.XYMode() || !(Frequency(generator) > 0.0)) return false;
    const int range = state.range[source];
    const double level = state.syncLevel;
    const bool rising = state.syncPolarity == 0;
    const auto before = [&](double phase) {
        const double distance = Level(generator, range, phase) - level;
        return rising ? distance < 0.0 : distance > 0.0;
    };
    const double start = phase_[source];
    for (int k = 0; k < kScanSteps; ++k) {
        double low = start + static_cast<double>(k) / kScanSteps;
        double high = start + static_cast<double>(k + 1) / kScanSteps;
        if (!before(low) || before(high)) continue;
        for (int i = 0; i < kBisections; ++i) {
            const double middle = 0.5 * (low + high);
            (before(middle) ? low : high) = middle;
        }
        crossing = high;
        return true;
    }
    return false;
}

int SignalSynth::Noise() {
    if (noise_ == 0) return 0;
    random_ ^= random_ << 13;
    random_ ^= random_ >> 17;
    random_ ^= random_ << 5;
    const uint32_t span = 2u * static_cast<uint32_t>(noise_) + 1u;
    return static_cast<int>(random_ % span) - noise_;
}

}  // namespace velmora
