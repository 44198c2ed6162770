#include "capture/FrequencySweep.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <numbers>

#include "capture/SineFit.h"

namespace velmora {
namespace {

constexpr int kLargestRange = 0;
constexpr int kMostSensitiveRange = 7;
// A sine smaller than this on the most sensitive range is lost in the
// converter's steps and noise: its phase would be a guess.
constexpr double kMinFitCounts = 4.0;
// Below a quarter of full scale the next smaller range (at most twice as
// sensitive) still leaves room: the signal stays under half of full scale.
constexpr int kQuarterScale = kFullScaleCounts / 4;
// Every range is visited at most once either way.
constexpr int kMaxRangeSteps = 2 * (kMostSensitiveRange + 1);
// A frequency this close to the end of a sweep is the end.
constexpr double kSameFrequency = 1e-9;
constexpr int kMinPeriodsPerFrame = 1;
constexpr int kMinSamplesPerPeriod = 4;

int LargestMagnitude(const SampleFrame& frame, int channel) {
    int largest = 0;
    for (std::size_t i = 0; i < kSamplePairs; ++i) {
        largest = std::max(largest, std::abs(static_cast<int>(frame.Sample(i, channel))));
    }
    return largest;
}

// The range the channel should be measured on next, given what this frame shows.
int NextRange(const SampleFrame& frame, int channel, int range) {
    const int largest = LargestMagnitude(frame, channel);
    if (largest >= kFullScaleCounts) return std::max(range - 1, kLargestRange);
    if (largest < kQuarterScale) return std::min(range + 1, kMostSensitiveRange);
    return range;
}

double WrappedDegrees(double radians) {
    double degrees = std::remainder(radians * 180.0 / std::numbers::pi, 360.0);
    if (degrees <= -180.0) degrees += 360.0;
    return degrees;
}

ResponsePoint Evaluate(double frequency, const FrameRecord& record, double sampleRateHz) {
    ResponsePoint point;
    point.frequency = frequency;
    std::array<SineFit, 2> fit;
    bool measurable = true;
    for (std::size_t c = 0; c < 2; ++c) {
        const ChannelSetting& setting = record.settings.channel[c];
        fit[c] = FitSine(record.frame, static_cast<int>(c), frequency, sampleRateHz);
        point.rangeVolts[c] = setting.rangeVolts;
        if (fit[c].clipped) {
            measurable = false;
            continue;
        }
        point.volts[c] = fit[c].amplitude * setting.voltsPerCount;
        if (fit[c].amplitude < kMinFitCounts) measurable = false;
    }
    if (measurable) {
        point.gainDb = 20.0 * std::log10(*point.volts[1] / *point.volts[0]);
        point.phaseDegrees = WrappedDegrees(fit[1].phase - fit[0].phase);
    }
    return point;
}

}  // namespace

FrequencyLimits ResolvableFrequencies(double sampleRateHz) {
    return {sampleRateHz * kMinPeriodsPerFrame / static_cast<double>(kSamplePairs),
            sampleRateHz / kMinSamplesPerPeriod};
}

std::vector<double> SweepFrequencies(double from, double to, int perDecade) {
    std::vector<double> points;
    for (int k = 0;; ++k) {
        const double f = from * std::pow(10.0, static_cast<double>(k) / perDecade);
        if (f >= to * (1.0 - kSameFrequency)) break;
        points.push_back(f);
    }
    points.push_back(to);
    return points;
}

std::optional<ResponsePoint> MeasureResponse(double frequency, std::array<int, 2>& ranges,
                                             ResponseFrames& frames, double sampleRateHz) {
    for (int step = 0;; ++step) {
        const FrameRecord* record = frames.Frame(ranges);
        if (record == nullptr) return std::nullopt;
        std::array<int, 2> next = ranges;
        for (int ch = 0; ch < 2; ++ch) {
            const auto c = static_cast<std::size_t>(ch);
            next[c] = NextRange(record->frame, ch, ranges[c]);
        }
        if (next == ranges || step + 1 >= kMaxRangeSteps) {
            return Evaluate(frequency, *record, sampleRateHz);
        }
        ranges = next;
    }
}

}  // namespace velmora
