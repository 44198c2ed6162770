#include "raster/OpReach.h"

#include <algorithm>
#include <cstdint>

namespace velmora {
namespace {

int Near(int64_t v, int64_t lo, int64_t hi) { return static_cast<int>(std::clamp(v, lo, hi)); }

}  // namespace

PixelRect OpReach::operator()(const DrawOp& op) const {
    const int64_t w = width;
    const int64_t h = height;
    int64_t left = std::min(op.x0, op.x1), right = std::max(op.x0, op.x1);
    int64_t top = std::min(op.y0, op.y1), bottom = std::max(op.y0, op.y1);
    if (op.kind == DrawOp::Kind::Box) {
        right = int64_t{op.x1} - 1;
        bottom = int64_t{op.y1} - 1;
    } else if (op.kind == DrawOp::Kind::Text) {
        const int64_t margin = textHeight;
        left = op.x0 - margin;
        top = op.y0 - margin;
        right = op.x0 + int64_t{op.length} * widestCharacter + margin;
        bottom = op.y0 + int64_t{textHeight} + margin;
    }
    return PixelRect{Near(left, -1, w), Near(top, -1, h), Near(right, -1, w), Near(bottom, -1, h)};
}

}  // namespace velmora
