#pragma once

#include <vector>

#include "gui/win32/WindowsApi.h"
#include "raster/PixelRect.h"

namespace velmora {

// One GDI region made of the rectangles (corners included, as the raster
// room gives them), to hand a window's update in a single call; null when
// GDI cannot make it. The caller deletes it.
HRGN NewPixelRegion(const std::vector<PixelRect>& rects);

// Adds the rectangles to the window's update region in one call (all of the
// window where no region can be made); none adds nothing.
void InvalidatePixels(HWND window, const std::vector<PixelRect>& rects);

}  // namespace velmora
