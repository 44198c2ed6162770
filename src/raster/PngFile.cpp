#include "raster/PngFile.h"

#include <cstdint>
#include <vector>

#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STB_IMAGE_WRITE_STATIC
#define STBI_WRITE_NO_STDIO
#include <stb_image_write.h>

namespace velmora {
namespace {

constexpr int kChannels = 3;

void Append(void* context, void* data, int size) {
    static_cast<std::string*>(context)->append(static_cast<const char*>(data),
                                               static_cast<std::size_t>(size));
}

}  // namespace

std::string EncodePng(const PixelCanvas& canvas) {
    std::vector<uint8_t> rgb;
    rgb.reserve(canvas.Pixels().size() * kChannels);
    for (const uint32_t pixel : canvas.Pixels()) {
        rgb.push_back(static_cast<uint8_t>(pixel >> 16));
        rgb.push_back(static_cast<uint8_t>(pixel >> 8));
        rgb.push_back(static_cast<uint8_t>(pixel));
    }
    std::string png;
    stbi_write_png_to_func(Append, &png, canvas.Width(), canvas.Height(), kChannels, rgb.data(),
                           canvas.Width() * kChannels);
    return png;
}

}  // namespace velmora
