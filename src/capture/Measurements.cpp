#include "capture/Measurements.h"

#include <cmath>
#include <cstdint>

namespace velmora {
namespace {

constexpr int kClipCounts = 2047;
constexpr int kSamples = static_cast<int>(kSamplePairs);

struct Levels {
    int min = 0;
    int max = 0;
    int64_t sum = 0;
    int64_t sumOfSquares = 0;
    bool clipped = false;
};

Levels ScanLevels(const int16_t* x) {
    Levels l{x[0], x[0]};
    for (int i = 0; i < kSamples; ++i) {
        const int v = x[i];
        l.min = v < l.min ? v : l.min;
        l.max = v > l.max ? v : l.max;
        l.sum += v;
        l.sumOfSquares += int64_t{v} * v;
    }
    l.clipped = l.max >= kClipCounts || l.min <= -kClipCounts;
    return l;
}

// Rising and falling crossings of the middle level, as a Schmitt trigger
// sees them: a crossing counts once the signal has gone on past the
// hysteresis band, and its time is where it passed the middle level last.
struct Crossings {
    int rises = 0;
    double firstRise = 0;
    double lastRise = 0;
    double highTime = 0;  // of the whole periods: from each rise to the fall after it
    double openHigh = 0;  // of the last rise, until another rise closes its period
};

Crossings FindCrossings(const int16_t* x, const Levels& l) {
    const double mid = (l.max + l.min) / 2.0;
    const double half = (l.max - l.min) / 20.0;  // half the band of a tenth of the swing
    enum { kUnknown, kLow, kHigh } state = kUnknown;
    Crossings c;
    double up = 0, down = 0;
    for (int i = 1; i < kSamples; ++i) {
        const double a = x[i - 1], b = x[i];
        if (a < mid && b >= mid) up = (i - 1) + (mid - a) / (b - a);
        if (a >= mid && b < mid) down = (i - 1) + (a - mid) / (a - b);
        if (state != kHigh && b >= mid + half) {
            if (state == kLow) {
                c.highTime += c.openHigh;
                c.openHigh = 0;
                c.firstRise = c.rises == 0 ? up : c.firstRise;
                c.lastRise = up;
                ++c.rises;
            }
            state = kHigh;
        } else if (state != kLow && b <= mid - half) {
            if (state == kHigh && c.rises > 0) c.openHigh = down - c.lastRise;
            state = kLow;
        }
    }
    return c;
}

}  // namespace

ChannelMeasurements MeasureChannel(const SampleFrame& frame, int channel, double voltsPerCount,
                                   double sampleRateHz) {
    int16_t x[kSamples];
    for (int i = 0; i < kSamples; ++i) x[i] = frame.Sample(static_cast<std::size_t>(i), channel);
    const Levels l = ScanLevels(x);
    ChannelMeasurements m;
    m.minimum = l.min * voltsPerCount;
    m.maximum = l.max * voltsPerCount;
    m.peakToPeak = (l.max - l.min) * voltsPerCount;
    m.mean = static_cast<double>(l.sum) / kSamples * voltsPerCount;
    m.rms = std::sqrt(static_cast<double>(l.sumOfSquares) / kSamples) * voltsPerCount;
    // n * sum(x^2) - sum(x)^2 is exact in 64 bits (2048 * 2048 * 32768^2 < 2^63).
    const int64_t spread = kSamples * l.sumOfSquares - l.sum * l.sum;
    m.acRms = std::sqrt(static_cast<double>(spread)) / kSamples * voltsPerCount;
    m.clipped = l.clipped;
    if (l.max - l.min < kMinSwingCounts) return m;

    Crossings c = FindCrossings(x, l);
    if (c.rises < 2) return m;
    const double whole = c.lastRise - c.firstRise;
    const double periodSamples = whole / (c.rises - 1);
    m.period = periodSamples / sampleRateHz;
    m.frequency = sampleRateHz / periodSamples;
    m.duty = 100.0 * c.highTime / whole;
    return m;
}

FrameMeasurements MeasureFrame(const FrameRecord& record, double sampleRateHz) {
    FrameMeasurements m;
    for (int ch = 0; ch < 2; ++ch) {
        m[static_cast<std::size_t>(ch)] = MeasureChannel(
            record.frame, ch, record.settings.channel[static_cast<std::size_t>(ch)].voltsPerCount,
            sampleRateHz);
    }
    return m;
}

}  // namespace velmora
