#pragma once

#include <cstddef>
#include <cstdint>

namespace velmora {

// Solid one-pixel lines written straight into a picture of 32-bit pixels in
// memory, rows `stride` pixels apart. A line covers the pixels of an integer
// Bresenham walk that starts on its start point and stops one step short of
// its end point, so the segments of a polyline never draw a joint twice and a
// line of zero length draws nothing. Along the minor axis the walk rounds
// halves towards the end point. Any int end points are accepted: only pixels
// inside the picture are written, and they are exactly those the whole line
// would have covered. A default-constructed raster has no pixels and draws
// nothing. A raster may cover only a window of a larger picture: its first
// pixel is then the picture's pixel (left, top), and lines are given in the
// picture's coordinates and walked as in the whole picture.
class LineRaster {
  public:
    LineRaster() = default;
    LineRaster(uint32_t* pixels, int width, int height, std::ptrdiff_t stride, int left = 0,
               int top = 0);

    void Draw(int x0, int y0, int x1, int y1, uint32_t colour) const;

  private:
    uint32_t* pixels_ = nullptr;
    int width_ = 0;
    int height_ = 0;
    std::ptrdiff_t stride_ = 0;
    int left_ = 0;
    int top_ = 0;
};

}  // namespace velmora
