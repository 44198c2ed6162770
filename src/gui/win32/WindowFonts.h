#pragma once

#include "controls/DpiScale.h"
#include "gui/win32/FontHandle.h"

namespace velmora {

// The window's two fonts at a monitor's DPI: Tahoma of 11 design pixels for
// the controls and the picture's labels, Courier of 13 for the log.
struct WindowFonts {
    explicit WindowFonts(int dpi)
        : text(ToDevicePixels(11, dpi), L"Tahoma", DEFAULT_PITCH | FF_SWISS),
          memo(ToDevicePixels(13, dpi), L"Courier", FIXED_PITCH | FF_MODERN) {}

    FontHandle text;
    FontHandle memo;
};

}  // namespace velmora
