#pragma once

#include <array>
#include <optional>

#include "controls/Canvas.h"

namespace velmora {

// The corner of the picture the readout may draw in: clear of the time
// labels along the top, of the first grid row's labels and of the right edge.
// Its offsets are design pixels, scaled by the monitor's DPI as the labels'.
struct ReadoutArea {
    int left = 0, top = 0, right = 0, bottom = 0;  // right and bottom exclusive
};
ReadoutArea MeasurementReadoutArea(int clientWidth, int dpi);

// What one channel's row shows: volts at the input, and the frequency where
// one could be measured.
struct ReadoutRow {
    bool shown = false;  // the channel's trace is on the picture (both in XY mode)
    double peakToPeak = 0;
    double mean = 0;
    double rms = 0;
    std::optional<double> frequency;
};
using ReadoutRows = std::array<ReadoutRow, 2>;

// The measurement readout: one row for each channel shown, in the channel's
// colour: peak-to-peak, mean, RMS and frequency, with units scaled (mV, V;
// Hz, kHz) and "---" for a value that cannot be measured. Draws text only, so
// the pen the next redraw starts with is unchanged; leaves the text colour
// black.
void DrawMeasurementReadout(Canvas& canvas, const ReadoutRows& rows, int clientWidth, int dpi);

}  // namespace velmora
