#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#include <stb_image.h>

#include "raster/BitmapText.h"
#include "raster/PngFile.h"

namespace velmora {
namespace {

// A picture with text in the built-in font and lines in three colours.
PixelCanvas Picture() {
    PixelCanvas canvas(160, 60);
    UseBitmapFont(canvas, 2);
    canvas.SetTextColor({0, 0, 255});
    canvas.TextOut(4, 4, "10 kHz -45 deg");
    canvas.SetPenColor({255, 0, 0});
    canvas.MoveTo(0, 59);
    canvas.LineTo(159, 30);
    canvas.SetPenColor({128, 128, 128});
    canvas.MoveTo(80, 0);
    canvas.LineTo(80, 59);
    return canvas;
}

uint64_t Fnv1a(const std::string& bytes) {
    uint64_t hash = 14695981039346656037ull;
    for (const char c : bytes) hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ull;
    return hash;
}

// The file holds the picture's pixels exactly, and its bytes are the same on
// every system the programs are built for (this test runs under Wine too).
TEST(PngFileTest, HoldsThePictureInTheSameBytesEverywhere) {
    const PixelCanvas canvas = Picture();
    const std::string png = EncodePng(canvas);
    int width = 0, height = 0, channels = 0;
    stbi_uc* rgb =
        stbi_load_from_memory(reinterpret_cast<const stbi_uc*>(png.data()),
                              static_cast<int>(png.size()), &width, &height, &channels, 3);
    ASSERT_NE(rgb, nullptr);
    ASSERT_EQ(width, 160);
    ASSERT_EQ(height, 60);
    int differ = 0;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const stbi_uc* p = rgb + 3 * (y * width + x);
            const uint32_t read = 0xff000000u | uint32_t{p[0]} << 16 | uint32_t{p[1]} << 8 | p[2];
            differ += read != canvas.Pixel(x, y);
        }
    }
    stbi_image_free(rgb);
    EXPECT_EQ(differ, 0);
    EXPECT_EQ(Fnv1a(png), 2267748185126724684u) << png.size() << " bytes";
}

}  // namespace
}  // namespace velmora
