#pragma once

#include <string>

#include "raster/PixelCanvas.h"

namespace velmora {

// The canvas's picture as the bytes of a PNG file (8-bit RGB), encoded by
// stb_image_write, so that both systems write the same bytes for the same
// pixels.
std::string EncodePng(const PixelCanvas& canvas);

}  // namespace velmora
