#include "raster/BitmapText.h"

#include "raster/BitmapFont.h"

namespace velmora {
namespace {

void Square(PixelCanvas& canvas, int x, int y, int scale, uint32_t colour) {
    for (int dy = 0; dy < scale; ++dy) {
        for (int dx = 0; dx < scale; ++dx) canvas.SetPixel(x + dx, y + dy, colour);
    }
}

}  // namespace

void DrawBitmapText(PixelCanvas& canvas, int x, int y, std::string_view text, uint32_t colour,
                    int scale) {
    for (const char c : text) {
        const uint8_t* glyph = BitmapGlyph(c);
        for (int row = 0; row < kBitmapCellHeight; ++row) {
            for (int column = 0; column < kBitmapCellWidth; ++column) {
                const bool ink = row < kBitmapFontRows && column < kBitmapFontColumns &&
                                 (glyph[row] >> (kBitmapFontColumns - 1 - column) & 1) != 0;
                Square(canvas, x + column * scale, y + row * scale, scale,
                       ink ? colour : BoxRaster::kWhite);
            }
        }
        x += kBitmapCellWidth * scale;
    }
}

TextExtent MeasureBitmapText(std::string_view text, int scale) {
    return {static_cast<int>(text.size()) * kBitmapCellWidth * scale, kBitmapCellHeight * scale};
}

void UseBitmapFont(PixelCanvas& canvas, int scale) {
    canvas.SetTextPainter(
        [scale](PixelCanvas& c, int x, int y, std::string_view text, uint32_t colour) {
            DrawBitmapText(c, x, y, text, colour, scale);
        },
        [scale](std::string_view text) { return MeasureBitmapText(text, scale); });
}

}  // namespace velmora
