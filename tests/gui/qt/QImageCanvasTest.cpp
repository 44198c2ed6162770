#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <climits>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "gui/qt/QImageCanvas.h"
#include "gui/qt/WindowFixture.h"

namespace velmora {
namespace {

constexpr int kWidth = 61;  // odd sizes, so that no symmetry hides a fault
constexpr int kHeight = 47;
constexpr QRgb kWhite = qRgb(255, 255, 255);
constexpr QRgb kRed = qRgb(255, 0, 0);
constexpr QRgb kBlue = qRgb(0, 0, 255);
constexpr Rgb kRedPen{255, 0, 0};
constexpr Rgb kBluePen{0, 0, 255};

QImage Blank(int width = kWidth, int height = kHeight) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(kWhite);
    return image;
}

// The line as the window promises it, computed per pixel in 128 bits: step i
// (0 <= i < the longer side, so the end point is left out) lies i pixels along
// the longer side and i * shorter / longer pixels along the other, rounded,
// halves towards the end point. Only the picture's pixels are visited, so the
// longest lines cost no more than short ones.
void ReferenceLine(QImage& image, int x0, int y0, int x1, int y1, QRgb colour) {
    const __int128 dx = __int128{x1} - x0;
    const __int128 dy = __int128{y1} - y0;
    const __int128 ax = dx < 0 ? -dx : dx;
    const __int128 ay = dy < 0 ? -dy : dy;
    const bool steep = ay > ax;
    const __int128 major = steep ? ay : ax;
    const __int128 minor = steep ? ax : ay;
    const int along = steep ? image.height() : image.width();
    for (int p = 0; p < along; ++p) {
        const __int128 i = steep ? (dy > 0 ? p - __int128{y0} : y0 - __int128{p})
                                 : (dx > 0 ? p - __int128{x0} : x0 - __int128{p});
        if (i < 0 || i >= major) continue;
        const __int128 off = (2 * i * minor + major) / (2 * major);
        const __int128 q = steep ? x0 + (dx < 0 ? -off : off) : y0 + (dy < 0 ? -off : off);
        const int limit = steep ? image.width() : image.height();
        if (q < 0 || q >= limit) continue;
        const int other = static_cast<int>(q);
        image.setPixel(steep ? other : p, steep ? p : other, colour);
    }
}

// Empty when equal, else where and how the images first differ.
std::string Difference(const QImage& got, const QImage& want) {
    if (got.size() != want.size()) return "sizes differ";
    if (got == want) return {};
    for (int y = 0; y < got.height(); ++y) {
        for (int x = 0; x < got.width(); ++x) {
            if ((got.pixel(x, y) & 0xFFFFFF) != (want.pixel(x, y) & 0xFFFFFF)) {
                return "pixel (" + std::to_string(x) + ", " + std::to_string(y) + ") is " +
                       std::to_string(got.pixel(x, y) & 0xFFFFFF) + ", expected " +
                       std::to_string(want.pixel(x, y) & 0xFFFFFF);
            }
        }
    }
    return {};
}

// Draws one red line on a blank picture and compares it with the reference;
// counts the lines that showed at all in `shown`.
std::string LineDifference(int x0, int y0, int x1, int y1, int* shown = nullptr) {
    QImage got = Blank();
    QImage want = Blank();
    {
        QImageCanvas canvas(got);
        canvas.Begin();
        canvas.SetPenColor(kRedPen);
        canvas.MoveTo(x0, y0);
        canvas.LineTo(x1, y1);
        canvas.End();
    }
    ReferenceLine(want, x0, y0, x1, y1, kRed);
    if (shown != nullptr && got != Blank()) ++*shown;
    const std::string diff = Difference(got, want);
    if (diff.empty()) return diff;
    return "line (" + std::to_string(x0) + ", " + std::to_string(y0) + ") to (" +
           std::to_string(x1) + ", " + std::to_string(y1) + "): " + diff;
}

std::vector<QPoint> RedPixels(const QImage& image) {
    std::vector<QPoint> points;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if ((image.pixel(x, y) & 0xFFFFFF) == (kRed & 0xFFFFFF)) points.emplace_back(x, y);
        }
    }
    return points;
}

std::vector<QPoint> RedLine(int x0, int y0, int x1, int y1) {
    QImage image = Blank();
    QImageCanvas canvas(image);
    canvas.SetPenColor(kRedPen);
    canvas.MoveTo(x0, y0);
    canvas.LineTo(x1, y1);
    return RedPixels(image);
}

using Points = std::vector<QPoint>;

TEST(QImageCanvasLines, CoverTheStartPixelAndStopShortOfTheEndPoint) {
    // Pixels listed row by row, left to right.
    EXPECT_EQ(RedLine(2, 5, 6, 5), (Points{{2, 5}, {3, 5}, {4, 5}, {5, 5}}));
    EXPECT_EQ(RedLine(6, 5, 2, 5), (Points{{3, 5}, {4, 5}, {5, 5}, {6, 5}}));
    EXPECT_EQ(RedLine(3, 1, 3, 4), (Points{{3, 1}, {3, 2}, {3, 3}}));
    EXPECT_EQ(RedLine(1, 1, 4, 4), (Points{{1, 1}, {2, 2}, {3, 3}}));
    EXPECT_EQ(RedLine(4, 1, 1, 4), (Points{{4, 1}, {3, 2}, {2, 3}}));
    // Halfway steps move towards the end point.
    EXPECT_EQ(RedLine(0, 0, 4, 2), (Points{{0, 0}, {1, 1}, {2, 1}, {3, 2}}));
    EXPECT_EQ(RedLine(4, 2, 0, 0), (Points{{1, 0}, {2, 1}, {3, 1}, {4, 2}}));
    EXPECT_EQ(RedLine(10, 10, 11, 12), (Points{{10, 10}, {11, 11}}));
}

TEST(QImageCanvasLines, OfZeroLengthDrawNothing) { EXPECT_TRUE(RedLine(7, 7, 7, 7).empty()); }

TEST(QImageCanvasLines, MatchTheReferenceInEveryDirection) {
    // Every end point within 22 pixels of a start near the centre: both axes,
    // diagonals, steep and shallow lines in all eight octants, ties included.
    for (int dy = -22; dy <= 22; ++dy) {
        for (int dx = -22; dx <= 22; ++dx) {
            const std::string diff = LineDifference(30, 23, 30 + dx, 23 + dy);
            ASSERT_TRUE(diff.empty()) << diff;
        }
    }
}

TEST(QImageCanvasLines, PartlyOrWhollyOutsideKeepOnlyTheirInsidePixels) {
    std::mt19937 random(20240611);
    std::uniform_int_distribution<int> coord(-150, 210);
    for (int n = 0; n < 3000; ++n) {
        const int x0 = coord(random), y0 = coord(random), x1 = coord(random), y1 = coord(random);
        const std::string diff = LineDifference(x0, y0, x1, y1);
        ASSERT_TRUE(diff.empty()) << diff;
    }
    EXPECT_TRUE(RedLine(-10, -3, 100, -3).empty());
    EXPECT_TRUE(RedLine(-1, -5, -1, 80).empty());
    EXPECT_TRUE(RedLine(kWidth, 0, kWidth + 40, 30).empty());
    EXPECT_EQ(RedLine(kWidth + 3, 4, -4, 4).size(), static_cast<std::size_t>(kWidth));
}

TEST(QImageCanvasLines, AtTheLimitsOfIntMatchTheReference) {
    const std::vector<int> values{INT_MIN, INT_MIN + 1, -1000000007, 17, 40, INT_MAX - 1, INT_MAX};
    for (int x0 : values) {
        for (int y0 : values) {
            for (int x1 : values) {
                for (int y1 : values) {
                    const std::string diff = LineDifference(x0, y0, x1, y1);
                    ASSERT_TRUE(diff.empty()) << diff;
                }
            }
        }
    }
}

TEST(QImageCanvasLines, FromFarAwayThroughThePictureMatchTheReference) {
    // Lines through a pixel of the picture whose ends lie anywhere in the int
    // range: a reflection about the pixel, clamped where it would overflow.
    std::mt19937 random(77);
    std::uniform_int_distribution<int> any(INT_MIN, INT_MAX);
    std::uniform_int_distribution<int> column(0, kWidth - 1);
    std::uniform_int_distribution<int> row(0, kHeight - 1);
    auto reflect = [](int64_t centre, int64_t v) {
        return static_cast<int>(std::clamp<int64_t>(2 * centre - v, INT_MIN, INT_MAX));
    };
    int shown = 0;
    for (int n = 0; n < 3000; ++n) {
        const int cx = column(random), cy = row(random);
        const int x0 = n % 3 == 0 ? any(random) / 65536 : any(random);
        const int y0 = n % 5 == 0 ? cy + n % 7 - 3 : any(random);
        const std::string diff = LineDifference(x0, y0, reflect(cx, x0), reflect(cy, y0), &shown);
        ASSERT_TRUE(diff.empty()) << diff;
    }
    EXPECT_GT(shown, 2000);  // most pass through the picture, clamped ends aside
}

TEST(QImageCanvasLines, TakeThePenColourCurrentWhenDrawn) {
    QImage got = Blank();
    QImage want = Blank();
    QImageCanvas canvas(got);
    canvas.Begin();
    canvas.SetPenColor(kRedPen);
    canvas.MoveTo(0, 10);
    canvas.LineTo(60, 10);
    canvas.SetPenColor(kBluePen);
    canvas.MoveTo(30, 0);
    canvas.LineTo(30, 40);
    canvas.SetPenColor(kRedPen);
    canvas.LineTo(5, 40);  // from the current point, (30, 40)
    canvas.End();
    ReferenceLine(want, 0, 10, 60, 10, kRed);
    ReferenceLine(want, 30, 0, 30, 40, kBlue);
    ReferenceLine(want, 30, 40, 5, 40, kRed);
    EXPECT_EQ(Difference(got, want), "");
}

TEST(QImageCanvasLines, AreDrawnOutsideBeginAndEndToo) {
    QImage got = Blank();
    QImage want = Blank();
    QImageCanvas canvas(got);
    canvas.SetPenColor(kBluePen);
    canvas.MoveTo(-20, 3);
    canvas.LineTo(50, 44);
    canvas.LineTo(58, -9);
    ReferenceLine(want, -20, 3, 50, 44, kBlue);
    ReferenceLine(want, 50, 44, 58, -9, kBlue);
    EXPECT_EQ(Difference(got, want), "");
}

TEST(QImageCanvasLines, LeaveCopiesOfThePictureAlone) {
    QImage image = Blank();
    QImageCanvas canvas(image);
    const QImage before = image;  // shares the pixels until one side writes
    canvas.SetPenColor(kRedPen);
    canvas.MoveTo(0, 0);
    canvas.LineTo(20, 0);
    canvas.Begin();
    const QImage during = image;
    canvas.LineTo(20, 20);
    canvas.End();
    EXPECT_EQ(Difference(before, Blank()), "");
    EXPECT_EQ(RedPixels(during).size(), 20u);
    EXPECT_EQ(RedPixels(image).size(), 40u);
}

TEST(QImageCanvasLines, RespectTheRowPitchOfTheImageMemory) {
    // A picture whose rows are 70 pixels apart in memory, with a sentinel in
    // the padding after each row.
    constexpr int kPitch = 70;
    constexpr uint32_t kSentinel = 0xFF123456;
    std::vector<uint32_t> memory(static_cast<std::size_t>(kPitch * kHeight), kSentinel);
    QImage image(reinterpret_cast<uchar*>(memory.data()), kWidth, kHeight,
                 kPitch * static_cast<qsizetype>(sizeof(uint32_t)), QImage::Format_RGB32);
    image.fill(kWhite);
    QImage want = Blank();
    {
        QImageCanvas canvas(image);
        canvas.Begin();
        canvas.SetPenColor(kRedPen);
        canvas.MoveTo(-30, -7);
        canvas.LineTo(90, 60);
        canvas.MoveTo(65, 2);
        canvas.LineTo(-5, 45);
        canvas.End();
    }
    ReferenceLine(want, -30, -7, 90, 60, kRed);
    ReferenceLine(want, 65, 2, -5, 45, kRed);
    EXPECT_EQ(Difference(image, want), "");
    for (int y = 0; y < kHeight; ++y) {
        for (int x = kWidth; x < kPitch; ++x) {
            ASSERT_EQ(memory[static_cast<std::size_t>(y * kPitch + x)], kSentinel) << x << "," << y;
        }
    }
}

TEST(QImageCanvasLines, OnOtherImageFormatsStillShowThePen) {
    QImage image(kWidth, kHeight, QImage::Format_RGB888);
    image.fill(kWhite);
    QImageCanvas canvas(image);
    canvas.SetPenColor(kBluePen);
    canvas.MoveTo(5, 5);
    canvas.LineTo(40, 5);
    EXPECT_EQ(image.pixel(20, 5) & 0xFFFFFF, kBlue & 0xFFFFFF);
}

TEST(QImageCanvasLines, OnANullImageDoNothing) {
    QImage image;
    QImageCanvas canvas(image);
    canvas.Begin();
    canvas.MoveTo(0, 0);
    canvas.LineTo(10, 10);
    canvas.Rectangle(0, 0, 5, 5);
    canvas.TextOut(0, 0, "x");
    canvas.End();
    EXPECT_TRUE(image.isNull());
}

class QImageCanvasOrder : public ::testing::Test {
  protected:
    QImage image_ = Blank(200, 60);
    QImageCanvas canvas_{image_};
};

TEST_F(QImageCanvasOrder, ARectangleCoversEarlierLinesAndLaterLinesCoverIt) {
    canvas_.Begin();
    canvas_.SetPenColor(kRedPen);
    for (int y = 0; y < 60; y += 2) {
        canvas_.MoveTo(0, y);
        canvas_.LineTo(200, y);
    }
    canvas_.SetPenColor(kBluePen);
    canvas_.Rectangle(10, 10, 50, 40);
    canvas_.MoveTo(0, 20);
    canvas_.LineTo(200, 20);
    canvas_.End();
    EXPECT_EQ(image_.pixel(30, 12) & 0xFFFFFF, kWhite & 0xFFFFFF);  // filled over a red line
    EXPECT_EQ(image_.pixel(10, 12) & 0xFFFFFF, kBlue & 0xFFFFFF);   // left outline, x1
    EXPECT_EQ(image_.pixel(49, 30) & 0xFFFFFF, kBlue & 0xFFFFFF);   // right outline, x2 - 1
    EXPECT_EQ(image_.pixel(50, 30) & 0xFFFFFF, kRed & 0xFFFFFF);    // outside, untouched
    EXPECT_EQ(image_.pixel(30, 39) & 0xFFFFFF, kBlue & 0xFFFFFF);   // bottom outline, y2 - 1
    for (int x = 0; x < 200; ++x) ASSERT_EQ(image_.pixel(x, 20) & 0xFFFFFF, kBlue & 0xFFFFFF);
}

TEST_F(QImageCanvasOrder, TextCoversEarlierLinesAndLaterLinesCoverIt) {
    const QFontMetrics metrics(QGuiApplication::font());
    const int row = metrics.ascent() / 2;
    const int end = metrics.horizontalAdvance(QStringLiteral("MMMM"));
    ASSERT_LT(end, 200);
    canvas_.Begin();
    canvas_.SetPenColor(kRedPen);
    canvas_.MoveTo(0, row);
    canvas_.LineTo(200, row);
    canvas_.TextOut(0, 0, "MMMM");
    canvas_.MoveTo(0, row + 1);
    canvas_.LineTo(200, row + 1);
    canvas_.End();
    for (int x = 1; x < end - 1; ++x) {
        ASSERT_NE(image_.pixel(x, row) & 0xFFFFFF, kRed & 0xFFFFFF) << x;
    }
    EXPECT_EQ(image_.pixel(end + 5, row) & 0xFFFFFF, kRed & 0xFFFFFF);
    for (int x = 0; x < 200; ++x) ASSERT_EQ(image_.pixel(x, row + 1) & 0xFFFFFF, kRed & 0xFFFFFF);
}

TEST_F(QImageCanvasOrder, FarRectanglesAndTextAreClippedWithoutHarm) {
    canvas_.SetPenColor(kRedPen);
    canvas_.MoveTo(0, 5);
    canvas_.LineTo(200, 5);
    canvas_.Rectangle(INT_MIN, INT_MIN, INT_MAX, INT_MAX);  // fill only; outline outside
    for (int y = 0; y < 60; ++y) {
        for (int x = 0; x < 200; ++x) ASSERT_EQ(image_.pixel(x, y) & 0xFFFFFF, kWhite & 0xFFFFFF);
    }
    canvas_.Rectangle(INT_MIN, 30, 100, INT_MAX);
    EXPECT_EQ(image_.pixel(99, 45) & 0xFFFFFF, kRed & 0xFFFFFF);
    EXPECT_EQ(image_.pixel(0, 30) & 0xFFFFFF, kRed & 0xFFFFFF);
    EXPECT_EQ(image_.pixel(0, 59) & 0xFFFFFF, kWhite & 0xFFFFFF);
    canvas_.TextOut(INT_MAX, INT_MAX, "far");
    canvas_.TextOut(INT_MIN, 0, "far");
    canvas_.Rectangle(INT_MAX - 1, 0, INT_MAX, 10);
    EXPECT_EQ(image_.pixel(199, 0) & 0xFFFFFF, kWhite & 0xFFFFFF);
}

}  // namespace
}  // namespace velmora

namespace velmora {
namespace {

// The labels of every redraw come from their first rendering: drawn again
// anywhere, in either colour, partly outside the picture or over other ink,
// each must leave exactly what the painter's own drawText leaves.
TEST(QImageCanvasText, DrawnAgainMatchesThePainterPixelForPixel) {
    struct Case {
        const char* text;
        Rgb colour;
        int x, y;
    };
    const Case cases[] = {
        {"10 V", {0, 0, 0}, 20, 10},     {"-  0.2 V", {0, 0, 0}, 60, 30},
        {"0.40 ms", {0, 0, 255}, 3, 40}, {"Wy", {255, 0, 0}, -4, -3},
        {"MMMM", {0, 0, 0}, 185, 52},    {"", {0, 0, 0}, 5, 5},
    };
    const auto inked = [] {
        QImage image = Blank(200, 60);
        for (int x = 0; x < 200; x += 3) ReferenceLine(image, x, 0, x + 40, 60, kRed);
        return image;
    };
    for (const Case& c : cases) {
        QImage got = inked();
        QImageCanvas canvas(got);
        canvas.SetTextColor(c.colour);
        canvas.TextOut(100, 100, c.text);  // outside: only the first rendering
        canvas.TextOut(c.x, c.y, c.text);
        QImage want = inked();
        QPainter painter(&want);
        painter.setPen(QColor(c.colour.r, c.colour.g, c.colour.b));
        painter.setBackground(Qt::white);
        painter.setBackgroundMode(Qt::OpaqueMode);
        painter.setFont(QGuiApplication::font());
        painter.drawText(c.x, c.y + painter.fontMetrics().ascent(), QString::fromLatin1(c.text));
        painter.end();
        EXPECT_EQ(Difference(got, want), "") << '"' << c.text << '"';
    }
}

}  // namespace
}  // namespace velmora

namespace velmora {
namespace {

// A redraw after another draws again only where the two differ; whatever
// changed, the picture must be the one a fresh redraw leaves.
TEST(QImageCanvasRedraw, AfterAnotherLeavesWhatAFreshRedrawLeaves) {
    struct Change {
        const char* name;
        int segment = -1;  // its end lifted
        int boxLeft = 150;
        const char* label = "1 V";
        Rgb labelColour{0, 0, 0};
        bool extraLine = false;
        bool allSegments = false;
        bool touchedBehind = false;  // a pixel written outside the canvas
        bool drawsAgain = true;
        bool drawsAll = false;
    };
    const Change changes[] = {
        {.name = "the same frame", .drawsAgain = false},
        {.name = "one segment", .segment = 17},
        {.name = "a box that moved", .boxLeft = 20},
        {.name = "a label", .label = "2 V"},
        {.name = "a label's colour", .labelColour = {0, 0, 255}},
        {.name = "one more line", .extraLine = true, .drawsAll = true},
        {.name = "every segment", .allSegments = true},
        {.name = "a pixel written behind the canvas", .touchedBehind = true, .drawsAll = true},
    };
    constexpr int kW = 400, kH = 200;
    const auto frame = [](QImageCanvas& canvas, const Change& c) {
        canvas.Begin();
        canvas.SetPenColor(Rgb{0, 0, 0});
        canvas.Rectangle(0, 0, kW, kH);
        for (int x = 20; x < kW; x += 40) {
            canvas.MoveTo(x, 0);
            canvas.LineTo(x, kH);
        }
        canvas.SetTextColor(c.labelColour);
        canvas.TextOut(3, 3, c.label);
        canvas.SetPenColor(kRedPen);
        canvas.MoveTo(0, 60);
        for (int i = 0; i < 50; ++i) {
            const int lift = i == c.segment ? 45 : c.allSegments ? 1 : 0;
            canvas.LineTo(i * 4, 60 + ((i * 37) % 41) - 20 + lift);
        }
        if (c.extraLine) canvas.LineTo(kW, kH);
        canvas.Rectangle(c.boxLeft, 90, c.boxLeft + 20, 100);
        canvas.End();
    };
    for (const Change& c : changes) {
        QImage got = Blank(kW, kH);
        QImageCanvas canvas(got);
        frame(canvas, Change{.name = "before"});
        canvas.TakeDrawnArea();
        if (c.touchedBehind) got.setPixel(100, 5, kRed);
        frame(canvas, c);
        const QRegion drawn = canvas.TakeDrawnArea();
        QImage want = Blank(kW, kH);
        QImageCanvas fresh(want);
        frame(fresh, c);
        EXPECT_EQ(Difference(got, want), "") << c.name;
        EXPECT_EQ(!drawn.isEmpty(), c.drawsAgain) << c.name;
        if (c.drawsAgain) {
            EXPECT_EQ(drawn == QRegion(got.rect()), c.drawsAll) << c.name;
        }
    }
}

}  // namespace
}  // namespace velmora
