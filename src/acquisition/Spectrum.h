#pragma once

#include <array>

#include "link/FrameFormat.h"

namespace velmora {

// The spectrum's work buffer: 1024 complex values, interleaved (re, im).
using SpectrumBuffer = std::array<float, 2048>;

// Forward complex FFT in place on interleaved values; the size is the largest
// power of two not above n, capped at 4096. Output in natural order, unscaled.
void ComplexFft(float* buffer, int n);

// Turns the n-point transform of z[m] = x[2m] + i x[2m+1] into bins 0..n-1 of
// the 2n-point transform of the real sequence x, in place.
void SplitRealSpectrum(float* buffer, int n);

// Windowed, scaled 1024-bin spectrum of one channel (0 or 1) of the frame.
// Allocates nothing and calls no trigonometric function.
void ComputeSpectrum(const SampleFrame& frame, int channel, SpectrumBuffer& buffer);

// The same result bit for bit, computed literally step by step in the buffer
// (copy, window, ComplexFft, SplitRealSpectrum, scale). Slower; it is the
// yardstick the fast road of ComputeSpectrum is checked against.
void ComputeSpectrumStepByStep(const SampleFrame& frame, int channel, SpectrumBuffer& buffer);

}  // namespace velmora
