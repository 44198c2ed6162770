#pragma once

#include <optional>
#include <vector>

#include "controls/Canvas.h"

namespace velmora {

// One measured point of a frequency response; an empty value is a point that
// could not be measured, and the curve breaks there.
struct BodePlotPoint {
    double frequency = 0.0;
    std::optional<double> gainDb;
    std::optional<double> phaseDegrees;
};

// A Bode plot of `points` (in rising frequency) on a `width` x `height`
// canvas: gain in dB above, phase in degrees below, over a logarithmic
// frequency axis from the first point to the last with a line and a label
// at every decade (100 Hz, 1 kHz, 10 kHz) and fainter lines at 2..9 of each.
// Each axis takes whole steps around the values measured; the margins and
// labels are placed by the canvas's own measure of its text. In the window
// picture's colours: a white ground, grey grid lines, the gain in channel
// 1's blue and the phase in channel 2's red.
void DrawBodePlot(Canvas& canvas, int width, int height, const std::vector<BodePlotPoint>& points);

}  // namespace velmora
