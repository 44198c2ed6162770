#pragma once

#include <algorithm>

namespace velmora {

// A rectangle of a picture's pixels, both corners included: columns left ..
// right and rows top .. bottom. Empty when right < left or bottom < top (the
// default is). Window bindings turn it into their own type at their edge.
struct PixelRect {
    int left = 0;
    int top = 0;
    int right = -1;
    int bottom = -1;

    bool operator==(const PixelRect&) const = default;

    bool Empty() const { return right < left || bottom < top; }
    // The part inside `other`; empty when they do not meet.
    PixelRect Within(const PixelRect& other) const {
        return {std::max(left, other.left), std::max(top, other.top), std::min(right, other.right),
                std::min(bottom, other.bottom)};
    }
    // The smallest rectangle holding both; an empty one adds nothing.
    PixelRect United(const PixelRect& other) const {
        if (Empty()) return other;
        if (other.Empty()) return *this;
        return {std::min(left, other.left), std::min(top, other.top), std::max(right, other.right),
                std::max(bottom, other.bottom)};
    }
    // The whole of a picture of `width` x `height` pixels.
    static PixelRect Picture(int width, int height) { return {0, 0, width - 1, height - 1}; }
};

}  // namespace velmora
