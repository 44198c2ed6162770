#pragma once

#include "gui/win32/WindowsApi.h"

namespace velmora {

// The DPI calls of a per-monitor aware program, looked up at run time: they
// came with Windows 10 version 1607, and without them the program runs as
// it would at the screen's DPI.

// The DPI of the monitor `window` is on (GetDpiForWindow), else the screen's.
int WindowDpi(HWND window);

// The outer size of a window of `style` whose client area is `client` at
// `dpi`: the frame and caption grow with the DPI (AdjustWindowRectExForDpi).
SIZE OuterSizeFor(SIZE client, DWORD style, DWORD exStyle, int dpi);

// A system metric (SM_...) at `dpi` (GetSystemMetricsForDpi), else the
// screen's scaled to it.
int SystemMetricForDpi(int index, int dpi);

}  // namespace velmora
