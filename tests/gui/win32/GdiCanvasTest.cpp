#include <gtest/gtest.h>

#include <climits>

#include "gui/win32/FontHandle.h"
#include "gui/win32/GdiCanvas.h"

namespace velmora {
namespace {

constexpr COLORREF kBackground = RGB(240, 240, 240);
constexpr COLORREF kWhite = RGB(255, 255, 255);

// The drawing the picture relies on, as GDI does it on the bitmap: lines stop
// short of their end point, rectangles fill white and outline in the pen
// colour with the right and bottom edges outside, text is black over white.
TEST(GdiCanvasTest, LinesRectanglesAndTextAsThePictureExpects) {
    FontHandle font(11, L"Tahoma", DEFAULT_PITCH | FF_SWISS);
    GdiCanvas canvas(200, 100, font.Get(), kBackground);
    const HDC dc = canvas.Dc();
    EXPECT_EQ(GetPixel(dc, 0, 0), kBackground);

    canvas.MoveTo(10, 10);
    canvas.LineTo(20, 10);  // black until a colour is set
    EXPECT_EQ(GetPixel(dc, 10, 10), RGB(0, 0, 0));
    canvas.SetPenColor(Rgb{0, 0, 255});
    canvas.LineTo(20, 20);
    EXPECT_EQ(GetPixel(dc, 20, 10), RGB(0, 0, 255));  // the joint, drawn once
    EXPECT_EQ(GetPixel(dc, 20, 19), RGB(0, 0, 255));
    EXPECT_EQ(GetPixel(dc, 20, 20), kBackground);  // the end point is not drawn

    canvas.SetPenColor(Rgb{255, 0, 0});
    canvas.Rectangle(30, 30, 40, 40);
    EXPECT_EQ(GetPixel(dc, 30, 30), RGB(255, 0, 0));
    EXPECT_EQ(GetPixel(dc, 39, 39), RGB(255, 0, 0));
    EXPECT_EQ(GetPixel(dc, 35, 35), kWhite);
    EXPECT_EQ(GetPixel(dc, 40, 35), kBackground);

    canvas.TextOut(60, 50,
                   "\xB1"
                   "8 V");
    int black = 0;
    int white = 0;
    for (int y = 50; y < 64; ++y) {
        for (int x = 60; x < 90; ++x) {
            black += GetPixel(dc, x, y) == RGB(0, 0, 0);
            white += GetPixel(dc, x, y) == kWhite;
        }
    }
    EXPECT_GT(black, 10);
    EXPECT_GT(white, 50);  // over the brush's white, not the background
    EXPECT_EQ(GetPixel(dc, 59, 55), kBackground);

    // Far and odd coordinates are GDI's to clip; nothing breaks.
    canvas.MoveTo(INT_MIN, INT_MIN);
    canvas.LineTo(INT_MAX, INT_MAX);
    canvas.Rectangle(50, 50, 10, 10);
    canvas.TextOut(INT_MAX, INT_MIN, "x");

    // A new size keeps the picture and shows the background in the new area.
    ASSERT_TRUE(canvas.Resize(300, 150));
    EXPECT_EQ(GetPixel(canvas.Dc(), 20, 15), RGB(0, 0, 255));
    EXPECT_EQ(GetPixel(canvas.Dc(), 250, 120), kBackground);
    EXPECT_FALSE(canvas.Resize(0, 150));
    EXPECT_FALSE(canvas.Resize(100000, 100000));
    EXPECT_EQ(canvas.Width(), 300);
}

}  // namespace
}  // namespace velmora
