#pragma once

#include <cstdint>
#include <functional>
#include <string_view>
#include <utility>
#include <vector>

#include "controls/Canvas.h"
#include "raster/BoxRaster.h"

namespace velmora {

// A Canvas over a picture of its own in plain memory: 32-bit pixels
// 0xffRRGGBB, rows top first, no window toolkit. Lines and rectangles are
// drawn as the Qt window's canvas draws them (LineRaster, BoxRaster; a
// rectangle of one pixel draws nothing). It has no font: text goes to the
// painter it is given and is measured by the measure given with it, or is
// left out (and measures nothing). For pictures made without a window.
class PixelCanvas final : public Canvas {
  public:
    // Draws `text` with its top left corner at (x, y) in `colour`, over the
    // white brush, through the canvas's SetPixel.
    using TextPainter = std::function<void(PixelCanvas& canvas, int x, int y, std::string_view text,
                                           uint32_t colour)>;
    using TextMeasure = std::function<TextExtent(std::string_view text)>;

    PixelCanvas(int width, int height, uint32_t background = BoxRaster::kWhite);

    int Width() const { return width_; }
    int Height() const { return height_; }
    // The pixel at (x, y), which lies in the picture.
    uint32_t Pixel(int x, int y) const;
    // Points outside the picture are left out.
    void SetPixel(int x, int y, uint32_t colour);
    const std::vector<uint32_t>& Pixels() const { return pixels_; }
    void SetTextPainter(TextPainter painter, TextMeasure measure) {
        text_ = std::move(painter);
        measure_ = std::move(measure);
    }

    static uint32_t PixelOf(Rgb colour);

    void SetPenColor(Rgb color) override { pen_ = PixelOf(color); }
    void MoveTo(int x, int y) override;
    void LineTo(int x, int y) override;
    void Rectangle(int x1, int y1, int x2, int y2) override;
    void TextOut(int x, int y, const char* text) override;
    void SetTextColor(Rgb color) override { textColour_ = PixelOf(color); }
    TextExtent MeasureText(const char* text) override;

  private:
    int width_;
    int height_;
    std::vector<uint32_t> pixels_;
    uint32_t pen_ = PixelOf(Rgb{0, 0, 0});
    uint32_t textColour_ = PixelOf(Rgb{0, 0, 0});
    int x_ = 0;
    int y_ = 0;
    TextPainter text_;
    TextMeasure measure_;
};

}  // namespace velmora
