#pragma once

// The frame and the window state the drawing benchmarks redraw: a 1511 x 899
// client area with both traces and both spectra on.
#include <cmath>
#include <cstdint>
#include <numbers>

#include "display/DisplayInputs.h"
#include "link/FrameFormat.h"

namespace velmora::bench {

// `busy`: a tone of 300 cycles per frame near full scale on channel 1 and
// noise-like steps on channel 2, so that nearly every segment is hundreds of
// pixels long (the worst case). Otherwise 1 kHz sine waves (20 cycles per
// frame) at half scale, like the virtual instrument's usual picture.
inline SampleFrame MakeFrame(bool busy) {
    SampleFrame frame;
    for (std::size_t n = 0; n < kSamplePairs; ++n) {
        const double t = 2.0 * std::numbers::pi * static_cast<double>(n) / 2048.0;
        const auto a = static_cast<int16_t>(
            std::lround(busy ? 1800.0 * std::sin(300.0 * t) : 1000.0 * std::sin(20.0 * t)));
        const auto b = static_cast<int16_t>(busy ? static_cast<long>((n * 7919) % 3000) - 1500
                                                 : std::lround(1000.0 * std::cos(20.0 * t)));
        const std::size_t at = n * kPairBytes;
        frame.samples[at] = static_cast<uint8_t>(a & 0xff);
        frame.samples[at + 1] = static_cast<uint8_t>((a >> 8) & 0xff);
        frame.samples[at + 2] = static_cast<uint8_t>(b & 0xff);
        frame.samples[at + 3] = static_cast<uint8_t>((b >> 8) & 0xff);
    }
    return frame;
}

inline DisplayInputs Everything() {
    DisplayInputs in;
    in.clientWidth = 1511;
    in.clientHeight = 899;
    in.syncVoltBarWidth = 10;
    in.syncPosBarHeight = 11;
    in.sweepIndex = 1;
    in.chan1Probe = in.chan2Probe = 1;
    in.scale1 = in.scale2 = 2;
    in.scope1 = in.scope2 = in.fft1 = in.fft2 = true;
    in.syncPosition = 1024;
    in.syncLevel = 300;
    return in;
}

}  // namespace velmora::bench
