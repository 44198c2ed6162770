#pragma once

#include <cstdint>

#include "controls/DpiScale.h"
#include "link/FrameFormat.h"

namespace velmora {

// Everything a redraw reads from the window, taken at the moment of drawing.
// List indexes are -1 when the list has no selection.
struct DisplayInputs {
    int clientWidth = 0;
    int clientHeight = 0;
    int syncVoltBarWidth = 0;  // the bar along the left edge
    int syncPosBarHeight = 0;  // the bar along the bottom edge
    int sweepIndex = -1;       // 0 is XY mode
    int chan1Probe = -1;
    int scale1 = -1;
    int chan2Probe = -1;
    int scale2 = -1;
    bool scope1 = false;
    bool scope2 = false;
    bool fft1 = false;
    bool fft2 = false;
    int32_t syncPosition = 0;  // of the last sync command
    int32_t syncLevel = 0;
    // The monitor's DPI: the labels' fixed offsets from the grid are design
    // pixels and grow with it, as the canvas's font does (96: as designed).
    int dpi = kDesignDpi;
};

// The plot geometry of the last redraw, also read by the spectrum drawing.
struct PlotGeometry {
    int32_t plotLeft = 0;
    int32_t plotWidth = 0;
    int32_t plotHeight = 0;
    int32_t yTop = kFullScaleCounts;
    int32_t yBottom = -kFullScaleCounts;
    int32_t xLeft = -kFullScaleCounts;
    int32_t xRight = kFullScaleCounts;
    bool xyMode = false;
};

}  // namespace velmora
