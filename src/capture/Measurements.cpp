#include "capture/Measurements.h"

#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace velmora {
namespace {

constexpr int kClipCounts = kFullScaleCounts;
constexpr int kSamples = static_cast<int>(kSamplePairs);

struct Levels {
    int min = 0;
    int max = 0;
    int64_t sum = 0;
    int64_t sumOfSquares = 0;
    bool clipped = false;
};

// The channel's samples out of the frame's little-endian pairs, and their
// levels, in one pass the compiler can vectorise.
Levels TakeSamples(const SampleFrame& frame, int channel, int16_t* x) {
    const uint8_t* at = frame.samples.data() + 2 * channel;
    int min = INT16_MAX, max = INT16_MIN;
    int64_t sum = 0, squares = 0;
    for (int i = 0; i < kSamples; ++i, at += kPairBytes) {
        const int v = static_cast<int16_t>(static_cast<uint16_t>(at[0] | at[1] << 8));
        x[i] = static_cast<int16_t>(v);
        min = v < min ? v : min;
        max = v > max ? v : max;
        sum += v;
        squares += v * v;  // at most 2^30: fits an int
    }
    return Levels{min, max, sum, squares, max >= kClipCounts || min <= -kClipCounts};
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

// Integer arithmetic on twice the distance from the middle level, d = 2x -
// (max + min): the band's edges are then 10 d = +-(max - min), and the
// middle is d = 0. The loop's branches are all rare (a crossing of the middle
// or of the band's far edge), and only a crossing takes a division.
Crossings FindCrossings(const int16_t* x, const Levels& l) {
    const int sum = l.max + l.min;
    const int swing = l.max - l.min;
    Crossings c;
    int i = 0;
    // Where the signal starts, outside the band, decides what it waits for.
    while (i < kSamples && 10 * std::abs(2 * x[i] - sum) < swing) ++i;
    if (i == kSamples) return c;
    int direction = 2 * x[i] - sum > 0 ? -1 : 1;  // +1: waits to rise past the band
    bool risen = false;                           // a rise of this scan has been seen
    double up = 0, down = 0;
    int before = 2 * x[i] - sum;
    for (++i; i < kSamples; ++i) {
        const int d = 2 * x[i] - sum;
        if ((before ^ d) < 0) {  // the middle level, one way or the other
            const double at = (i - 1) + static_cast<double>(before) / (before - d);
            (d >= 0 ? up : down) = at;
        }
        before = d;
        if (10 * d * direction < swing) continue;
        if (direction > 0) {
            c.highTime += c.openHigh;
            c.openHigh = 0;
            c.firstRise = risen ? c.firstRise : up;
            c.lastRise = up;
            risen = true;
            ++c.rises;
        } else if (risen) {
            c.openHigh = down - c.lastRise;
        }
        direction = -direction;
    }
    return c;
}

}  // namespace

ChannelMeasurements MeasureChannel(const SampleFrame& frame, int channel, double voltsPerCount,
                                   double sampleRateHz) {
    int16_t x[kSamples];
    const Levels l = TakeSamples(frame, channel, x);
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

ReadoutRows ReadoutOf(const FrameRecord& record, double sampleRateHz) {
    const FrameMeasurements m = MeasureFrame(record, sampleRateHz);
    const bool shown[2] = {record.settings.xyMode || record.inputs.scope1,
                           record.settings.xyMode || record.inputs.scope2};
    ReadoutRows rows;
    for (std::size_t ch = 0; ch < rows.size(); ++ch) {
        rows[ch] = ReadoutRow{shown[ch], m[ch].peakToPeak, m[ch].mean, m[ch].rms, m[ch].frequency};
    }
    return rows;
}

}  // namespace velmora
