#include "raster/BoxRaster.h"

#include <algorithm>

namespace velmora {

void BoxRaster::Draw(int left, int top, int right, int bottom, uint32_t colour,
                     const PixelRect& clip) const {
    if (pixels_ == nullptr) return;
    const int first = std::max(top, clip.top);
    const int last = std::min(bottom, clip.bottom + 1);  // rows first .. last - 1
    const int from = std::max(left, clip.left);
    const int to = std::min(right, clip.right + 1);  // columns from .. to - 1
    if (from >= to) return;
    for (int y = first; y < last; ++y) {
        uint32_t* const line = pixels_ + y * stride_;
        const bool edge = y == top || y == bottom - 1;
        std::fill(line + from, line + to, edge ? colour : fill_);
        if (edge) continue;
        if (left >= from && left < to) line[left] = colour;
        if (right - 1 >= from && right - 1 < to) line[right - 1] = colour;
    }
}

}  // namespace velmora
