#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <vector>

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

// A redraw after another draws again only where the two differ, and the
// window shows again only the area the canvas names: whatever changed, the
// picture must be the one a fresh redraw leaves, every pixel that changed
// must lie in that area, and a redraw like the one before names none of it.
TEST(GdiCanvasTest, ARedrawAfterAnotherLeavesWhatAFreshOneLeavesAndNamesWhatChanged) {
    struct Change {
        const char* name;
        int segment = -1;  // its end lifted
        const char* label = "1 V";
        Rgb labelColour{0, 0, 0};
        bool extraLine = false;
        bool drawnOutside = false;  // a line drawn outside Begin() and End()
        bool newFont = false;
        std::size_t mostPixels = 0;  // the area's most pixels; 0: none, SIZE_MAX: all
    };
    constexpr int kW = 400, kH = 200;
    const Change changes[] = {
        {.name = "the same frame"},
        {.name = "one segment", .segment = 17, .mostPixels = kW * kH / 4},
        {.name = "a label", .label = "2 V", .mostPixels = kW * kH / 4},
        {.name = "a label's colour", .labelColour = {0, 0, 255}, .mostPixels = kW * kH / 4},
        {.name = "one more line", .extraLine = true, .mostPixels = SIZE_MAX},
        {.name = "a line outside a redraw", .drawnOutside = true, .mostPixels = SIZE_MAX},
        {.name = "another font", .newFont = true, .mostPixels = SIZE_MAX},
    };
    const auto frame = [](GdiCanvas& canvas, const Change& c) {
        canvas.Begin();
        canvas.SetPenColor(Rgb{0, 0, 0});
        canvas.Rectangle(0, 0, kW, kH);
        for (int x = 20; x < kW; x += 40) {
            canvas.MoveTo(x, 0);
            canvas.LineTo(x, kH);
        }
        canvas.SetTextColor(c.labelColour);
        canvas.TextOut(220, 28, c.label);  // across four tiles
        canvas.SetPenColor(Rgb{255, 0, 0});
        canvas.MoveTo(0, 60);
        for (int i = 0; i < 50; ++i) {
            canvas.LineTo(i * 4, 60 + ((i * 37) % 41) - 20 + (i == c.segment ? 45 : 0));
        }
        if (c.extraLine) canvas.LineTo(kW, kH);
        canvas.End();
    };
    FontHandle font(11, L"Tahoma", DEFAULT_PITCH | FF_SWISS);
    FontHandle other(16, L"Tahoma", DEFAULT_PITCH | FF_SWISS);
    for (const Change& c : changes) {
        GdiCanvas canvas(kW, kH, font.Get(), kBackground);
        frame(canvas, Change{.name = "before"});
        EXPECT_EQ(canvas.TakeChangedArea().size(), 1u) << c.name;  // the first: all of it
        const std::vector<uint32_t> before = canvas.CopyPixels();
        if (c.drawnOutside) {
            canvas.MoveTo(300, 150);
            canvas.LineTo(310, 150);
        }
        if (c.newFont) canvas.SetFont(other.Get());
        frame(canvas, c);
        const std::vector<PixelRect> area = canvas.TakeChangedArea();
        const std::vector<uint32_t> after = canvas.CopyPixels();
        GdiCanvas fresh(kW, kH, c.newFont ? other.Get() : font.Get(), kBackground);
        frame(fresh, c);
        EXPECT_TRUE(after == fresh.CopyPixels()) << c.name;
        std::size_t pixels = 0;
        for (const PixelRect& r : area) {
            pixels += static_cast<std::size_t>(r.right - r.left + 1) * (r.bottom - r.top + 1);
        }
        const auto named = [&](int x, int y) {
            for (const PixelRect& r : area) {
                if (x >= r.left && x <= r.right && y >= r.top && y <= r.bottom) return true;
            }
            return false;
        };
        for (int y = 0; y < kH; ++y) {
            for (int x = 0; x < kW; ++x) {
                const std::size_t i = static_cast<std::size_t>(y) * kW + x;
                ASSERT_TRUE(before[i] == after[i] || named(x, y)) << c.name << " " << x << "," << y;
            }
        }
        if (c.mostPixels == SIZE_MAX) {
            EXPECT_EQ(pixels, static_cast<std::size_t>(kW) * kH) << c.name;
        } else {
            EXPECT_LE(pixels, c.mostPixels) << c.name;
            EXPECT_EQ(pixels == 0, c.mostPixels == 0) << c.name;
        }
    }
}

}  // namespace
}  // namespace velmora
