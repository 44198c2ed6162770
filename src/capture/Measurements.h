#pragma once

#include <array>
#include <optional>

#include "capture/FrameRecord.h"
#include "display/MeasurementReadout.h"
#include "link/FrameFormat.h"

namespace velmora {

// Automatic measurements of one channel over a whole frame, in volts at the
// input (and hertz, seconds, percent). The timing values are empty, never 0
// and never a guess, when the frame holds fewer than two rising crossings or
// the signal swings less than kMinSwingCounts.
struct ChannelMeasurements {
    double minimum = 0;
    double maximum = 0;
    double peakToPeak = 0;
    double mean = 0;
    double rms = 0;
    double acRms = 0;  // about the mean
    std::optional<double> frequency;
    std::optional<double> period;
    std::optional<double> duty;  // positive duty cycle, percent
    bool clipped = false;        // a sample at or beyond full scale
};

using FrameMeasurements = std::array<ChannelMeasurements, 2>;

// Below this swing (in counts) a crossing is the noise's, not the signal's.
inline constexpr int kMinSwingCounts = 16;

// Crossings are those of the middle level (max + min) / 2 with a hysteresis
// of a tenth of the peak-to-peak, interpolated between samples; period and
// frequency average every whole period in the frame. Allocates nothing.
ChannelMeasurements MeasureChannel(const SampleFrame& frame, int channel, double voltsPerCount,
                                   double sampleRateHz);
FrameMeasurements MeasureFrame(const FrameRecord& record, double sampleRateHz);

// The picture's readout of a frame: the rows of the channels whose trace it
// shows (both in XY mode).
ReadoutRows ReadoutOf(const FrameRecord& record, double sampleRateHz);

}  // namespace velmora
