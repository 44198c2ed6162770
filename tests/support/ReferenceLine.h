#pragma once

#include <cstdint>

namespace velmora::testing {

// The line as the pictures promise it, computed per pixel in 128 bits: step i
// (0 <= i < the longer side, so the end point is left out) lies i pixels along
// the longer side and i * shorter / longer pixels along the other, rounded,
// halves towards the end point. Only the picture's pixels (width x height)
// are visited, so the longest lines cost no more than short ones;
// `set(x, y)` paints one.
template <typename SetPixel>
void ReferenceLine(int width, int height, int x0, int y0, int x1, int y1, SetPixel set) {
    const __int128 dx = __int128{x1} - x0;
    const __int128 dy = __int128{y1} - y0;
    const __int128 ax = dx < 0 ? -dx : dx;
    const __int128 ay = dy < 0 ? -dy : dy;
    const bool steep = ay > ax;
    const __int128 major = steep ? ay : ax;
    const __int128 minor = steep ? ax : ay;
    const int along = steep ? height : width;
    for (int p = 0; p < along; ++p) {
        const __int128 i = steep ? (dy > 0 ? p - __int128{y0} : y0 - __int128{p})
                                 : (dx > 0 ? p - __int128{x0} : x0 - __int128{p});
        if (i < 0 || i >= major) continue;
        const __int128 off = (2 * i * minor + major) / (2 * major);
        const __int128 q = steep ? x0 + (dx < 0 ? -off : off) : y0 + (dy < 0 ? -off : off);
        const int limit = steep ? width : height;
        if (q < 0 || q >= limit) continue;
        const int other = static_cast<int>(q);
        set(steep ? other : p, steep ? p : other);
    }
}

}  // namespace velmora::testing
