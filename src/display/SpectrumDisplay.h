#pragma once

#include "display/DisplayInputs.h"
#include "spectrum/Spectrum.h"
#include "controls/Canvas.h"

namespace velmora {

inline constexpr Rgb kSpectrum1Color{0, 128, 128};  // teal
inline constexpr Rgb kSpectrum2Color{128, 0, 0};    // maroon

// Draws the magnitude spectrum held in `buffer` (bins 0..1023, as left by
// ComputeSpectrum) as one polyline of 1024 points across the plot of
// `geometry`, in the colour of `channel` (0 teal, otherwise maroon). A bin of
// magnitude m is drawn where the time trace would draw the value 1.1 m, so
// magnitude 0 lies on the middle line. Only sets the pen, moves and draws
// lines; points above the plot are passed on unclipped. Allocates nothing.
void DrawSpectrum(Canvas& canvas, const SpectrumBuffer& buffer, const PlotGeometry& geometry,
                  int channel);

}  // namespace velmora
