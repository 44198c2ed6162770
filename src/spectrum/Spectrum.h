#pragma once

#include <array>

#include "link/FrameFormat.h"

namespace velmora {

// Bins of a channel's spectrum: half the frame's 2048 real samples.
inline constexpr int kSpectrumBins = 1024;
// Every bin is scaled by 1/1024, whatever the transform's size.
inline constexpr float kSpectrumScale = 0.0009765625f;

// The spectrum's work buffer: kSpectrumBins complex values, interleaved (re, im).
using SpectrumBuffer = std::array<float, 2 * kSpectrumBins>;

// Windowed, scaled 1024-bin spectrum of one channel (0 or 1) of the frame:
// the samples weighted by a raised-cosine window (one weight per pair of
// samples), a 1024-point complex transform of the pairs, split into the real
// sequence's spectrum, scaled. Allocates nothing and calls no trigonometric
// function: every sine comes from SpectrumTables.
void ComputeSpectrum(const SampleFrame& frame, int channel, SpectrumBuffer& buffer);

}  // namespace velmora
