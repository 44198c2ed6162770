#pragma once

#include <cstdint>
#include <string_view>

#include "raster/PixelCanvas.h"

namespace velmora {

// Text in the built-in font on a pixel canvas: each character a cell of
// kBitmapCellWidth x kBitmapCellHeight font pixels, each font pixel a
// `scale` x `scale` square, the cell's ground white (text stands over the
// white brush), top left at (x, y).
void DrawBitmapText(PixelCanvas& canvas, int x, int y, std::string_view text, uint32_t colour,
                    int scale);

// The room DrawBitmapText takes for `text`.
TextExtent MeasureBitmapText(std::string_view text, int scale);

// The built-in font at `scale` as the canvas's font.
void UseBitmapFont(PixelCanvas& canvas, int scale);

}  // namespace velmora
