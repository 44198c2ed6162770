#pragma once

#include <array>
#include <cstdint>

#include "instrument/CircuitOutput.h"
#include "instrument/InputSignal.h"
#include "instrument/InstrumentState.h"
#include "link/FrameFormat.h"

namespace velmora {

// The instrument's analogue side: each channel's input is the generator wired
// to it (A to channel 1, B to channel 2) plus the external signal connected
// there, if any, and on channel 2 the output of a circuit under test that
// generator A drives, if one is connected; sampled at 102.4 kS/s (ten divisions of 2 ms in 2048
// samples) and scaled by the channel's range so that the range's full scale is 2047 counts; beyond
// it the sample clips at ±2047. A little seeded noise is added.
//
// Triggering: when the sync source's whole input crosses the sync level with
// the chosen slope, the window is placed so that sample `syncPosition` is the
// first one at or past that crossing (the one before it lies on the other
// side of the level). Otherwise, and always in XY mode, it runs free.
//
// Capture() allocates nothing. Not thread-safe.
class SignalSynth {
  public:
    static constexpr double kSampleRate = 102400.0;
    static constexpr int kFullScale = 2047;
    static constexpr double kMaxFrequency = 1.0e6;
    static constexpr double kMaxAmplitude = 3.3;

    struct Samples {
        std::array<std::array<int16_t, kSamplePairs>, 2> channel{};
    };

    // `noise`: peak noise in counts (0 none); `seed` makes it repeatable.
    // `inputs`: the external signals on channels 1 and 2; `circuit`: what
    // stands between generator A and channel 2.
    explicit SignalSynth(int noise = 2, uint32_t seed = 1,
                         const std::array<InputSignal, 2>& inputs = {},
                         const CircuitUnderTest& circuit = {});

    // Fills `out` with one window of both channels. Returns true when the
    // window is triggered, false when it runs free.
    bool Capture(const InstrumentState& state, Samples& out);

    // Lets `seconds` of signal pass before the next capture, at the generator
    // frequencies of `state` and those of the external inputs.
    void Advance(const InstrumentState& state, double seconds);

    // Full scale in volts of a range index (0 is ±24 V .. 7 is ±1 V); indexes
    // outside 0..7 are clamped.
    static double FullScaleVolts(int range);

    // Noise-free, unclipped value in counts of a generator seen through a range.
    static double Level(const InstrumentState::Generator& generator, int range, double phase);
    // The same for an external input, its offset included.
    static double Level(const InputSignal& input, int range, double phase);

  private:
    // What drives a channel: [0] its generator, [1] its external input, [2]
    // the circuit under test (channel 2 only), which follows generator A.
    static constexpr std::size_t kSources = 3;
    static constexpr std::size_t kCircuitSource = 2;
    using SourcePhases = std::array<double, kSources>;  // cycles

    // Where the trigger fired: the phase of the channel's source `source` at
    // the crossing, `delay` seconds from the free-running phases.
    struct Crossing {
        std::size_t source = 0;
        double phase = 0.0;
        double delay = 0.0;
    };

    double Frequency(const InstrumentState& state, std::size_t channel, std::size_t source) const;
    double ChannelLevel(const InstrumentState& state, std::size_t channel,
                        const SourcePhases& phase);
    bool FindCrossing(const InstrumentState& state, Crossing& crossing);
    int Noise();

    std::array<SourcePhases, 2> phase_{};  // free-running phase of each source, per channel
    std::array<InputSignal, 2> inputs_;
    CircuitOutput circuit_;
    int noise_;
    uint32_t random_;
};

}  // namespace velmora
