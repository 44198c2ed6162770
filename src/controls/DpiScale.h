#pragma once

#include <algorithm>
#include <cstdint>
#include <limits>

namespace velmora {

// The control table, the docked bars and the picture's label offsets are in
// design pixels, which are the device pixels of a 96-DPI monitor. On a denser
// monitor a window multiplies them by dpi / 96, rounding to the nearest pixel
// with halves away from zero, as Win32's MulDiv does; at 96 every value stays
// what it is. The settings file keeps the window's geometry in design pixels,
// so a file written at one DPI places the window alike at another.
inline constexpr int kDesignDpi = 96;

// value * numerator / denominator, rounded as MulDiv rounds, in 64 bits and
// clamped into int (a hand-edited settings file may hold any value). A
// denominator of 0 or less leaves the value as it is.
inline int MulDivRound(int value, int numerator, int denominator) {
    if (denominator <= 0) return value;
    const int64_t product = int64_t{value} * numerator;
    const int64_t half = denominator / 2;
    const int64_t rounded = (product >= 0 ? product + half : product - half) / denominator;
    return static_cast<int>(std::clamp<int64_t>(rounded, std::numeric_limits<int>::min(),
                                                std::numeric_limits<int>::max()));
}

inline int ToDevicePixels(int design, int dpi) { return MulDivRound(design, dpi, kDesignDpi); }
inline int ToDesignPixels(int device, int dpi) { return MulDivRound(device, kDesignDpi, dpi); }

}  // namespace velmora
