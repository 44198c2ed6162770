#include "raster/PixelCanvas.h"

#include <algorithm>
#include <cstddef>
#include <utility>

#include "raster/LineRaster.h"

namespace velmora {
namespace {

int Near(int64_t v, int64_t lo, int64_t hi) { return static_cast<int>(std::clamp(v, lo, hi)); }

std::size_t Index(int x, int y, int width) {
    return static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
           static_cast<std::size_t>(x);
}

}  // namespace

PixelCanvas::PixelCanvas(int width, int height, uint32_t background)
    : width_(std::max(width, 0)),
      height_(std::max(height, 0)),
      pixels_(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_), background) {}

uint32_t PixelCanvas::PixelOf(Rgb colour) {
    return 0xff000000u | uint32_t{colour.r} << 16 | uint32_t{colour.g} << 8 | colour.b;
}

uint32_t PixelCanvas::Pixel(int x, int y) const { return pixels_[Index(x, y, width_)]; }

void PixelCanvas::SetPixel(int x, int y, uint32_t colour) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
    pixels_[Index(x, y, width_)] = colour;
}

void PixelCanvas::MoveTo(int x, int y) {
    x_ = x;
    y_ = y;
}

void PixelCanvas::LineTo(int x, int y) {
    if (!pixels_.empty()) {
        LineRaster(pixels_.data(), width_, height_, width_).Draw(x_, y_, x, y, pen_);
    }
    MoveTo(x, y);
}

// Corners more than a pixel outside the picture move onto the line just
// outside it: what shows stays the same and nothing overflows.
void PixelCanvas::Rectangle(int x1, int y1, int x2, int y2) {
    if (x2 <= x1 || y2 <= y1 || pixels_.empty()) return;
    const int left = Near(x1, -1, int64_t{width_} + 1);
    const int top = Near(y1, -1, int64_t{height_} + 1);
    const int right = Near(x2, -1, int64_t{width_} + 1);
    const int bottom = Near(y2, -1, int64_t{height_} + 1);
    if (right <= left || bottom <= top || (right - left == 1 && bottom - top == 1)) return;
    BoxRaster(pixels_.data(), width_)
        .Draw(left, top, right, bottom, pen_, PixelRect::Picture(width_, height_));
}

void PixelCanvas::TextOut(int x, int y, const char* text) {
    if (text_ && text != nullptr) text_(*this, x, y, text, textColour_);
}

TextExtent PixelCanvas::MeasureText(const char* text) {
    return measure_ && text != nullptr ? measure_(text) : TextExtent{};
}

}  // namespace velmora
