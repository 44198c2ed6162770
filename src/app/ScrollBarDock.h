#pragma once

namespace velmora {

// A docked scroll bar's place in the client area, in device pixels.
struct BarPlace {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;

    bool operator==(const BarPlace&) const = default;
};

struct DockedBars {
    BarPlace syncVolt;  // the level bar
    BarPlace syncPos;   // the position bar
};

// The level bar runs down the left edge above the position bar, which spans
// the bottom edge; both follow the client size, their design sizes scaled to
// `dpi`.
DockedBars DockScrollBars(int clientWidth, int clientHeight, int dpi);

}  // namespace velmora
