#include "instrument/SignalSynth.h"

#include <algorithm>
#include <cmath>

#include "instrument/WaveShape.h"

namespace velmora {
namespace {

constexpr std::array<double, 8> kRangeVolts = {24.0, 20.0, 16.0, 12.0, 8.0, 4.0, 2.0, 1.0};
// The crossing search scans one cycle of the channel's fastest source in this
// many steps, then narrows the step that holds the crossing down to rounding.
constexpr int kScanSteps = 4096;
constexpr int kBisections = 60;
// With two sources on the trigger channel the search covers one cycle of the
// slower one, but never more than this many cycles of the faster one.
constexpr double kMaxScanCycles = 64.0;

double Clamp(double value, double low, double high) {
    if (!(value >= low)) return low;  // also catches NaN
    return value > high ? high : value;
}

// The generator's frequency as the hardware plays it: 0 when it is off.
double Frequency(const InstrumentState::Generator& generator) {
    if (!WaveIsActive(generator.waveform)) return 0.0;
    return Clamp(generator.frequency, 0.0, SignalSynth::kMaxFrequency);
}

std::size_t SourceOf(const InstrumentState& state) { return state.syncSource == 1 ? 1 : 0; }

}  // namespace

SignalSynth::SignalSynth(int noise, uint32_t seed, const std::array<InputSignal, 2>& inputs,
                         const CircuitUnderTest& circuit)
    : inputs_(inputs),
      circuit_(circuit, kSampleRate),
      noise_(noise < 0 ? 0 : noise),
      random_(seed == 0 ? 0x9E3779B9u : seed) {}

double SignalSynth::FullScaleVolts(int range) {
    const int index = range < 0 ? 0 : (range > 7 ? 7 : range);
    return kRangeVolts[static_cast<std::size_t>(index)];
}

double SignalSynth::Level(const InstrumentState::Generator& generator, int range, double phase) {
    const double amplitude = Clamp(generator.amplitude, 0.0, kMaxAmplitude);
    return amplitude * WaveShape(generator.waveform, phase) * kFullScale / FullScaleVolts(range);
}

double SignalSynth::Level(const InputSignal& input, int range, double phase) {
    if (!input.Connected()) return 0.0;
    const double volts = input.amplitude * WaveShape(input.waveform, phase) + input.offset;
    return volts * kFullScale / FullScaleVolts(range);
}

double SignalSynth::Frequency(const InstrumentState& state, std::size_t channel,
                              std::size_t source) const {
    switch (source) {
        case 0:
            return velmora::Frequency(state.generator[channel]);
        case 1:
            return inputs_[channel].Connected() ? inputs_[channel].frequency : 0.0;
        default:
            return channel == 1 && circuit_.Connected() ? velmora::Frequency(state.generator[0])
                                                        : 0.0;
    }
}

double SignalSynth::ChannelLevel(const InstrumentState& state, std::size_t channel,
                                 const SourcePhases& phase) {
    const int range = state.range[channel];
    double level =
        Level(state.generator[channel], range, phase[0]) + Level(inputs_[channel], range, phase[1]);
    if (channel == 1 && circuit_.Connected()) {
        const InstrumentState::Generator& a = state.generator[0];
        const double volts =
            circuit_.Volts(a.waveform, velmora::Frequency(a),
                           Clamp(a.amplitude, 0.0, kMaxAmplitude), phase[kCircuitSource]);
        level += volts * kFullScale / FullScaleVolts(range);
    }
    return level;
}

bool SignalSynth::Capture(const InstrumentState& state, Samples& out) {
    std::array<SourcePhases, 2> reference = phase_;  // phase of each source at sample `anchor`
    double anchor = 0.0;
    Crossing crossing;
    const bool triggered = FindCrossing(state, crossing);
    if (triggered) {
        anchor = Clamp(state.syncPosition, 0.0, static_cast<double>(kSamplePairs));
        for (std::size_t c = 0; c < 2; ++c) {
            for (std::size_t s = 0; s < kSources; ++s) {
                reference[c][s] = phase_[c][s] + Frequency(state, c, s) * crossing.delay;
            }
        }
        reference[SourceOf(state)][crossing.source] = crossing.phase;
    }
    // The circuit's output moves with generator A, whichever of the two triggered.
    if (triggered && SourceOf(state) == 1 && crossing.source == kCircuitSource) {
        reference[0][0] = reference[1][kCircuitSource];
    } else {
        reference[1][kCircuitSource] = reference[0][0];
    }
    for (std::size_t c = 0; c < 2; ++c) {
        SourcePhases step{};
        for (std::size_t s = 0; s < kSources; ++s) step[s] = Frequency(state, c, s) / kSampleRate;
        for (std::size_t i = 0; i < kSamplePairs; ++i) {
            const double offset = static_cast<double>(i) - anchor;
            SourcePhases phase{};
            for (std::size_t s = 0; s < kSources; ++s)
                phase[s] = reference[c][s] + step[s] * offset;
            const long value = std::lround(ChannelLevel(state, c, phase)) + Noise();
            out.channel[c][i] =
                static_cast<int16_t>(std::clamp<long>(value, -kFullScale, kFullScale));
        }
    }
    return triggered;
}

void SignalSynth::Advance(const InstrumentState& state, double seconds) {
    for (std::size_t c = 0; c < 2; ++c) {
        for (std::size_t s = 0; s < kSources; ++s) {
            const double phase = phase_[c][s] + Frequency(state, c, s) * seconds;
            phase_[c][s] = std::isfinite(phase) ? phase - std::floor(phase) : 0.0;
        }
    }
    phase_[1][kCircuitSource] = phase_[0][0];
}

// Looks for the first crossing of the sync level with the chosen slope by the
// trigger channel's whole input, from its free-running phases on. The search
// runs in cycles of the channel's faster source, so that its steps resolve
// that source's shape; `crossing` gets the first point on the far side of
// the level.
bool SignalSynth::FindCrossing(const InstrumentState& state, Crossing& crossing) {
    const std::size_t channel = SourceOf(state);
    std::size_t fast = 0;
    double slow = 0.0;  // the slowest source that plays, 0 when only one does
    for (std::size_t s = 0; s < kSources; ++s) {
        const double f = Frequency(state, channel, s);
        if (f > Frequency(state, channel, fast)) fast = s;
    }
    const double frequency = Frequency(state, channel, fast);
    if (state.XYMode() || !(frequency > 0.0)) return false;
    for (std::size_t s = 0; s < kSources; ++s) {
        const double f = Frequency(state, channel, s);
        if (s != fast && f > 0.0 && (slow == 0.0 || f < slow)) slow = f;
    }
    const double cycles = slow > 0.0 ? std::min(std::ceil(frequency / slow), kMaxScanCycles) : 1.0;
    const double level = state.syncLevel;
    const bool rising = state.syncPolarity == 0;
    const double start = phase_[channel][fast];
    const auto before = [&](double cycle) {
        SourcePhases phase = phase_[channel];
        for (std::size_t s = 0; s < kSources; ++s) {
            phase[s] += Frequency(state, channel, s) * (cycle - start) / frequency;
        }
        phase[fast] = cycle;
        const double distance = ChannelLevel(state, channel, phase) - level;
        return rising ? distance < 0.0 : distance > 0.0;
    };
    const int steps = kScanSteps * static_cast<int>(cycles);
    for (int k = 0; k < steps; ++k) {
        double low = start + static_cast<double>(k) / kScanSteps;
        double high = start + static_cast<double>(k + 1) / kScanSteps;
        if (!before(low) || before(high)) continue;
        for (int i = 0; i < kBisections; ++i) {
            const double middle = 0.5 * (low + high);
            (before(middle) ? low : high) = middle;
        }
        crossing = {fast, high, (high - start) / frequency};
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
