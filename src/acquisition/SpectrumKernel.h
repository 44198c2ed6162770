#pragma once

#include "acquisition/Spectrum.h"
#include "link/FrameFormat.h"

namespace velmora {

// The fast road of ComputeSpectrum for the one size the display uses. It runs
// the very same arithmetic as the step-by-step road (copy, window, ComplexFft,
// SplitRealSpectrum, scale) on every value, so its results are identical bit
// for bit; only the order of independent butterflies and the memory layout
// differ (real and imaginary parts apart, in a fixed scratch area on the
// stack, so the vector units can work on several butterflies at once).
class SpectrumKernel {
  public:
    // Fills `out` with the scaled 1024-bin spectrum of `channel` (0 or 1).
    static void Run(const SampleFrame& frame, int channel, SpectrumBuffer& out);
};

}  // namespace velmora
