#pragma once

#include "link/FrameFormat.h"
#include "spectrum/Spectrum.h"

namespace velmora {

// The transform behind ComputeSpectrum, for the one size the display uses. It
// runs the very same arithmetic as the plain road (copy, window, radix-2
// complex transform, split into the real spectrum, scale) on every value, so
// its results are identical bit for bit to it (the tests hold it to a plain
// copy); only the order of independent butterflies and the memory layout
// differ (real and imaginary parts apart, in a fixed scratch area on the
// stack, so the vector units can work on several butterflies at once).
class SpectrumKernel {
  public:
    // Fills `out` with the scaled 1024-bin spectrum of `channel` (0 or 1).
    static void Run(const SampleFrame& frame, int channel, SpectrumBuffer& out);
};

}  // namespace velmora
