#pragma once

#include <algorithm>
#include <cstdint>
#include <limits>

namespace velmora {

// The frame a window system puts around a window's client area (borders and
// title bar), in pixels on each side. Outer size = client size + frame; the
// conversions clamp into int, so a stored size of any value converts safely.
struct FrameMargins {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    bool operator==(const FrameMargins&) const = default;

    int OuterWidth(int clientWidth) const { return Clamp(int64_t{clientWidth} + left + right); }
    int OuterHeight(int clientHeight) const { return Clamp(int64_t{clientHeight} + top + bottom); }
    int ClientWidth(int outerWidth) const { return Clamp(int64_t{outerWidth} - left - right); }
    int ClientHeight(int outerHeight) const { return Clamp(int64_t{outerHeight} - top - bottom); }

  private:
    static int Clamp(int64_t v) {
        return static_cast<int>(std::clamp<int64_t>(v, std::numeric_limits<int>::min(),
                                                    std::numeric_limits<int>::max()));
    }
};

}  // namespace velmora
