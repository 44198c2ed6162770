#pragma once

#include <array>
#include <cstdint>

#include "instrument/InstrumentState.h"
#include "link/FrameFormat.h"

namespace velmora {

// The instrument's analogue side: generator A wired to channel 1 and B to
// channel 2, sampled at 102.4 kS/s (ten divisions of 2 ms in 2048 samples) and
// scaled by each channel's range so that the range's full scale is 2047 counts;
// beyond it the sample clips at ±2047. A little seeded noise is added.
//
// Triggering: when the sync source's signal crosses the sync level with the
// chosen slope, the window is placed so that sample `syncPosition` is the first
// one at or past that crossing (the one before it lies on the other side of the
// level). Otherwise, and always in XY mode, it runs free.
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
    explicit SignalSynth(int noise = 2, uint32_t seed = 1);

    // Fills `out` with one window of both channels. Returns true when the
    // window is triggered, false when it runs free.
    bool Capture(const InstrumentState& state, Samples& out);

    // Lets `seconds` of signal pass before the next capture, at the generator
    // frequencies of `state`.
    void Advance(const InstrumentState& state, double seconds);

    // Full scale in volts of a range index (0 is ±24 V .. 7 is ±1 V); indexes
    // outside 0..7 are clamped.
    static double FullScaleVolts(int range);

    // Noise-free, unclipped value in counts of a generator seen through a range.
    static double Level(const InstrumentState::Generator& generator, int range, double phase);

  private:
    bool FindCrossing(const InstrumentState& state, double& crossing) const;
    int Noise();

    std::array<double, 2> phase_{};  // free-running phase of each generator, cycles
    int noise_;
    uint32_t random_;
};

}  // namespace velmora
