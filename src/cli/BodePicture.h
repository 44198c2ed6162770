#pragma once

#include <string>
#include <vector>

#include "capture/FrequencySweep.h"

namespace velmora {

// The Bode plot of `points` as the bytes of a PNG file, about 1200 x 800,
// drawn without a window toolkit (the built-in font, the raster canvas), so
// that every system makes the same file from the same points.
std::string BodePlotPng(const std::vector<ResponsePoint>& points);

}  // namespace velmora
