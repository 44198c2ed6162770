#pragma once

#include "controls/FrameMargins.h"
#include "controls/Window.h"

namespace velmora {

// A window's outer rectangle on the screen: left, top, width, height.
struct OuterRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;

    bool operator==(const OuterRect&) const = default;
};

// The arithmetic both windows use to follow the form's geometry and to report
// theirs; 64-bit inside, so a hand-edited settings file of any values gives
// defined results.
//
// A side the window takes for `wanted`: a settings file may ask for any size,
// and the picture is a bitmap of the client size, so it is kept within the
// screen (or the design size, where the screen is smaller).
int FitSide(int wanted, int screen, int design);
// The model's outer geometry (design pixels) in device pixels at `dpi`, its
// size fitted to the screen (FitSide) and its place brought in from further
// out than any screen reaches before anything is added to it.
OuterRect DeviceOuterRect(const Window& model, int dpi, int screenWidth, int screenHeight,
                          int designWidth, int designHeight);
// An outer rectangle in device pixels at `dpi` as the settings file keeps
// it: in design pixels, as a program unaware of DPI sees it.
OuterRect DesignOuterRect(const OuterRect& device, int dpi);
// `r` moved into `work` (a monitor's work area), its top left corner first,
// so that the caption can be reached.
OuterRect IntoWorkArea(const OuterRect& r, const OuterRect& work);
// The frame a window system drew between the outer rectangle and the client
// rectangle inside it.
FrameMargins MarginsBetween(const OuterRect& outer, const OuterRect& client);

}  // namespace velmora
