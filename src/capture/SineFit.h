#pragma once

#include "link/FrameFormat.h"

namespace velmora {

// One channel of a frame as offset + amplitude * sin(2 pi f t + phase), the
// frequency given, the other three found by least squares over all 2048
// samples: exact for any number of periods in the frame, whole or not, and
// with the noise of all samples averaged out.
struct SineFit {
    double amplitude = 0.0;    // peak, in counts
    double phase = 0.0;        // radians in (-pi, pi], at the frame's first sample
    double offset = 0.0;       // counts
    double residualRms = 0.0;  // what the sine leaves unexplained, counts
    bool clipped = false;      // a sample at or beyond full scale: the fit is not to be trusted
};

// Fits channel 0 or 1 of `frame` at `frequencyHz`, sampled at `sampleRateHz`.
// A frequency the frame cannot resolve (not above 0) gives a zero fit.
SineFit FitSine(const SampleFrame& frame, int channel, double frequencyHz, double sampleRateHz);

}  // namespace velmora
