#pragma once

#include <array>
#include <optional>
#include <vector>

#include "capture/FrameRecord.h"

namespace velmora {

// The frequencies a frame can measure a sine at: at least one whole period
// in its 2048 samples, and at least four samples a period.
struct FrequencyLimits {
    double lowest = 0.0;
    double highest = 0.0;
};
FrequencyLimits ResolvableFrequencies(double sampleRateHz);

// A logarithmic sweep: from * 10^(k / perDecade) for every k that stays
// below `to`, then `to` itself.
std::vector<double> SweepFrequencies(double from, double to, int perDecade);

// One point of a frequency response: each channel's peak amplitude at the
// probe tip and range, and the gain and phase of channel 2 over channel 1.
// A value that could not be measured is empty, never a guess.
struct ResponsePoint {
    double frequency = 0.0;
    std::array<std::optional<double>, 2> volts{};
    std::optional<double> gainDb;
    std::optional<double> phaseDegrees;  // in (-180, 180]
    std::array<double, 2> rangeVolts{};  // as the window labels the range, probe included
};

// Where the frames of a point come from: generator A already at the point's
// frequency; each call puts the channels on `ranges` (0 the largest range
// .. 7) and returns a frame requested after that, or null when none came.
class ResponseFrames {
  public:
    virtual ~ResponseFrames() = default;
    virtual const FrameRecord* Frame(const std::array<int, 2>& ranges) = 0;
};

// Measures one point, moving each channel's range until no sample clips and
// the signal fills more than a quarter of full scale (or no range is left
// in that direction). `ranges` is where to start and, after, where the point
// was measured: the next point starts there. Empty when frames stopped.
std::optional<ResponsePoint> MeasureResponse(double frequency, std::array<int, 2>& ranges,
                                             ResponseFrames& frames, double sampleRateHz);

}  // namespace velmora
