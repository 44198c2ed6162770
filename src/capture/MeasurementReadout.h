#pragma once

#include "capture/FrameRecord.h"
#include "controls/Canvas.h"

namespace velmora {

// The corner of the picture the readout may draw in: clear of the time
// labels along the top, of the first grid row's labels and of the right edge.
// Its offsets are design pixels, scaled by the monitor's DPI as the labels'.
struct ReadoutArea {
    int left = 0, top = 0, right = 0, bottom = 0;  // right and bottom exclusive
};
ReadoutArea MeasurementReadoutArea(int clientWidth, int dpi);

// The measurement readout: one row for each channel whose trace is shown (both
// in XY mode), in the channel's colour: peak-to-peak, mean, RMS and frequency,
// with units scaled (mV, V; Hz, kHz) and "---" for a value that cannot be
// measured. Draws text only, so the pen the next redraw starts with is
// unchanged; leaves the text colour black.
void DrawMeasurementReadout(Canvas& canvas, const FrameRecord& record, int clientWidth, int dpi,
                            double sampleRateHz);

}  // namespace velmora
