#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <climits>
#include <cstdint>
#include <string>
#include <vector>

#include "gui/qt/QImageCanvas.h"
#include "gui/qt/WindowFixture.h"
#include "support/ReferenceLine.h"

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

// The reference line (support/ReferenceLine.h) on an image.
void ReferenceLine(QImage& image, int x0, int y0, int x1, int y1, QRgb colour) {
    testing::ReferenceLine(image.width(), image.height(), x0, y0, x1, y1,
                           [&](int x, int y) { image.setPixel(x, y, colour); });
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

std::vector<QPoint> RedPixels(const QImage& image) {
    std::vector<QPoint> points;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if ((image.pixel(x, y) & 0xFFFFFF) == (kRed & 0xFFFFFF)) points.emplace_back(x, y);
        }
    }
    return points;
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
