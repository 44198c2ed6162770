#pragma once

#include "controls/Canvas.h"

namespace velmora {

// The pattern a click on the picture draws at once, before the forced redraw
// of the next tick replaces it: a blue diagonal of fixed length and a red and
// a dark green diagonal across the whole client area. It shows at a glance
// that the window surface and the canvas are alive.
void DrawTestPattern(Canvas& canvas, int clientWidth, int clientHeight);

}  // namespace velmora
