#pragma once

#include <cstddef>
#include <cstdint>

#include "raster/PixelRect.h"

namespace velmora {

// Rectangles written straight into a picture of 32-bit pixels in memory, rows
// `stride` pixels apart, as a one-pixel pen and a white brush draw them: the
// outline in the pen's colour on columns left and right - 1 and rows top and
// bottom - 1, `fill` inside (right and bottom are exclusive). Corners may lie
// a pixel outside the picture on each side, no further; only the pixels inside
// `clip` (which lies within the picture) are written.
class BoxRaster {
  public:
    static constexpr uint32_t kWhite = 0xffffffff;  // white as an RGB32 pixel

    BoxRaster(uint32_t* pixels, std::ptrdiff_t stride, uint32_t fill = kWhite)
        : pixels_(pixels), stride_(stride), fill_(fill) {}

    void Draw(int left, int top, int right, int bottom, uint32_t colour,
              const PixelRect& clip) const;

  private:
    uint32_t* pixels_;
    std::ptrdiff_t stride_;
    uint32_t fill_;
};

}  // namespace velmora
