#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "display/SpectrumDisplay.h"
#include "display/TraceDisplay.h"
#include "raster/PixelCanvas.h"
#include "support/FrameMaker.h"
#include "support/RecordingCanvas.h"

namespace velmora {
namespace {

using Kind = RecordingCanvas::Kind;
using testing::MakeFrame;
using testing::Zero;

constexpr Rgb kBlack{0, 0, 0};
constexpr Rgb kWhite{255, 255, 255};

// The main window at its usual size: left bar 10 wide, bottom bar 11 high.
DisplayInputs MainWindow() {
    DisplayInputs in;
    in.clientWidth = 1511;
    in.clientHeight = 899;
    in.syncVoltBarWidth = 10;
    in.syncPosBarHeight = 11;
    in.sweepIndex = 1;
    in.chan1Probe = 1;
    in.scale1 = 0;
    in.chan2Probe = 0;
    in.scale2 = 0;
    in.syncPosition = 1024;
    return in;
}

struct Drawn {
    RecordingCanvas canvas;
    PlotGeometry geometry;
};

Drawn Draw(const DisplayInputs& in, const SampleFrame& frame = MakeFrame(Zero, Zero)) {
    Drawn drawn;
    TraceDisplay display;
    display.DrawFrame(drawn.canvas, frame, in);
    drawn.geometry = display.Geometry();
    return drawn;
}

std::vector<int> GridYs(const RecordingCanvas& canvas) {
    std::vector<int> ys;
    for (const auto& line : canvas.LinesIn(kGridColor)) {
        if (line.y1 == line.y2) ys.push_back(line.y1);
    }
    return ys;
}

std::vector<int> GridXs(const RecordingCanvas& canvas) {
    std::vector<int> xs;
    for (const auto& line : canvas.LinesIn(kGridColor)) {
        if (line.x1 == line.x2) xs.push_back(line.x1);
    }
    return xs;
}

TEST(TraceDisplay, GeometryAndGridOfTheMainWindow) {
    const Drawn d = Draw(MainWindow());
    EXPECT_EQ(d.geometry.plotLeft, 10);
    EXPECT_EQ(d.geometry.plotWidth, 1501);
    EXPECT_EQ(d.geometry.plotHeight, 887);
    EXPECT_FALSE(d.geometry.xyMode);
    EXPECT_EQ(GridYs(d.canvas), (std::vector<int>{88, 177, 266, 354, 443, 532, 620, 709, 798}));
    EXPECT_EQ(GridXs(d.canvas), (std::vector<int>{160, 310, 460, 610, 760, 910, 1060, 1210, 1360}));
    for (const auto& line : d.canvas.LinesIn(kGridColor)) {
        if (line.y1 == line.y2) {
            EXPECT_EQ(line.x1, 10);
            EXPECT_EQ(line.x2, 1511);
        } else {
            EXPECT_EQ(line.y1, 0);
            EXPECT_EQ(line.y2, 887);
        }
    }
}

// Each character of a text as a white cell of kCellWidth x kCellHeight with
// its top row inked, so that the picture shows where a text went and what it
// covers.
constexpr int kCellWidth = 6;
constexpr int kCellHeight = 11;

void BlockText(PixelCanvas& canvas, int x, int y, std::string_view text, uint32_t colour) {
    const int width = static_cast<int>(text.size()) * kCellWidth;
    for (int row = 0; row < kCellHeight; ++row) {
        for (int column = 0; column < width; ++column) {
            canvas.SetPixel(x + column, y + row, row == 0 ? colour : PixelCanvas::PixelOf(kWhite));
        }
    }
}

// Later layers cover earlier ones: the clear, then the graticule (each label
// after its line), the markers, trace 1 and spectrum 2, and nothing else.
TEST(TraceDisplay, LaterLayersCoverEarlierOnes) {
    DisplayInputs in = MainWindow();
    in.scope1 = true;
    in.fft2 = true;
    constexpr uint32_t kBackground = 0xff123456;
    PixelCanvas picture(1511, 899, kBackground);
    picture.SetTextPainter(BlockText, [](std::string_view text) {
        return TextExtent{static_cast<int>(text.size()) * kCellWidth, kCellHeight};
    });
    TraceDisplay().DrawFrame(picture, MakeFrame(Zero, Zero), in);
    const auto at = [&](int x, int y) { return picture.Pixel(x, y); };
    const auto px = [](Rgb c) { return PixelCanvas::PixelOf(c); };
    // The clear covers the whole picture, outlined in the pen's first colour.
    EXPECT_EQ(std::count(picture.Pixels().begin(), picture.Pixels().end(), kBackground), 0);
    EXPECT_EQ(at(1505, 0), px(kBlack));
    EXPECT_EQ(at(0, 500), px(kBlack));
    EXPECT_EQ(at(1510, 5), px(kBlack));
    EXPECT_EQ(at(700, 898), px(kBlack));
    EXPECT_EQ(at(700, 60), px(kWhite));
    const Drawn d = Draw(in);
    const auto textAt = [&](int x, int y) {
        for (const auto& op : d.canvas.Ops()) {
            if (op.kind == Kind::kText && op.x1 == x && op.y1 == y) return op.text;
        }
        return std::string("(none)");
    };
    for (int e = 1; e <= 9; ++e) {
        const int ye = 887 * e / 10;
        const int xe = 10 + 1501 * e / 10;
        // The grid in its colour; the time and frequency labels over the
        // vertical line, the voltage labels beside the plot.
        if (e != 5) {  // the 0 V line and the middle column carry the markers
            EXPECT_EQ(at(300, ye), px(kGridColor)) << e;
            EXPECT_EQ(at(xe, 300), px(kGridColor)) << e;
            EXPECT_EQ(at(xe, 10 + kCellHeight / 2), px(kWhite)) << e;
            EXPECT_EQ(at(xe, 887 - 16 + kCellHeight / 2), px(kWhite)) << e;
        }
        EXPECT_NE(textAt(20, ye + 4), "(none)") << e;
        EXPECT_NE(textAt(1501 - 60, ye + 4), "(none)") << e;
        EXPECT_EQ(at(20, ye + 4), px(kBlack)) << e;
        EXPECT_EQ(at(1501 - 60, ye + 4), px(kBlack)) << e;
        EXPECT_EQ(textAt(xe - 20, 10), std::to_string(2 * e) + " mSec");
        EXPECT_EQ(textAt(xe - 20, 887 - 16), std::to_string(5 * e) + " KHz");
        EXPECT_EQ(at(xe - 20, 10), px(kBlack)) << e;
    }
    // The position marker over the middle grid line and its labels.
    EXPECT_EQ(at(760, 300), px(kMarkerColor));
    EXPECT_EQ(at(760, 10 + kCellHeight / 2), px(kMarkerColor));
    EXPECT_EQ(at(760, 887 - 16 + kCellHeight / 2), px(kMarkerColor));
    // Trace 1 along the top edge over the grid's and the marker's columns,
    // and over the level marker on the 0 V line; spectrum 2 (silence:
    // the same line, one sample shorter) over the trace.
    EXPECT_EQ(at(160, 0), px(kTrace1Color));
    EXPECT_EQ(at(760, 0), px(kTrace1Color));
    EXPECT_EQ(at(1509, 443), px(kTrace1Color));
    EXPECT_EQ(at(700, 443), px(kSpectrum2Color));
    EXPECT_EQ(at(760, 443), px(kSpectrum2Color));
    for (const Rgb other : {kTrace2Color, kSpectrum1Color, kXyColor}) {
        EXPECT_EQ(std::count(picture.Pixels().begin(), picture.Pixels().end(), px(other)), 0);
    }
}

TEST(TraceDisplay, TraceOfOneChannel) {
    DisplayInputs in = MainWindow();
    in.scope2 = true;
    const SampleFrame frame = MakeFrame(Zero, [](int i) {
        return static_cast<int16_t>(i == 0 ? 2047 : i == 2047 ? -2047 : i == 5 ? 2048 : 0);
    });
    const Drawn d = Draw(in, frame);
    const auto lines = d.canvas.LinesIn(kTrace2Color);
    ASSERT_EQ(lines.size(), 1u + 2048u);
    EXPECT_EQ(std::vector<int>({lines[0].x1, lines[0].y1, lines[0].x2, lines[0].y2}),
              (std::vector<int>{0, 0, 1501, 0}));  // along the top edge
    EXPECT_EQ(lines[1].x1, 10);                    // MoveTo(plotLeft, Y(sample 0))
    EXPECT_EQ(lines[1].y1, 0);
    EXPECT_EQ(lines[1].x2, 10);
    EXPECT_EQ(lines[2].y2, 887 / 2);  // value 0
    EXPECT_EQ(lines[6].y2, 0);        // 2048 still draws at the top
    EXPECT_EQ(lines[2048].x2, 10 + 1501 * 2047 / 2048);
    EXPECT_EQ(lines[2048].y2, 887);  // -2047 at the bottom
    EXPECT_TRUE(d.canvas.LinesIn(kTrace1Color).empty());
}

TEST(TraceDisplay, TriggerMarkers) {
    DisplayInputs in = MainWindow();
    for (int position : {0, 2048}) {
        in.syncPosition = position;
        in.syncLevel = -2047;
        const auto markers = Draw(in).canvas.LinesIn(kMarkerColor);
        ASSERT_EQ(markers.size(), 2u);
        EXPECT_EQ(markers[0].x1, position == 0 ? 10 : 1511);
        EXPECT_EQ(markers[0].y2, 887);
        EXPECT_EQ(markers[1].y1, 887);
        EXPECT_EQ(markers[1].x2, 1511);
    }
}

TEST(TraceDisplay, XyFigure) {
    DisplayInputs in = MainWindow();
    in.sweepIndex = 0;
    in.syncLevel = 2000;
    in.scope1 = in.scope2 = in.fft1 = in.fft2 = true;
    const auto ramp = [](int i) { return static_cast<int16_t>(i % 4000 - 2000); };
    for (uint32_t count : {0u, 1u, 5000u, 3u}) {
        const Drawn d = Draw(in, MakeFrame(ramp, Zero, count));
        EXPECT_TRUE(d.geometry.xyMode);
        const std::size_t want = count < 2 ? 0 : count > 2048 ? 2047 : count - 1;
        EXPECT_EQ(d.canvas.LinesIn(kXyColor).size(), want) << count;
        EXPECT_TRUE(d.canvas.LinesIn(kTrace1Color).empty());
        EXPECT_TRUE(d.canvas.LinesIn(kSpectrum1Color).empty());
        EXPECT_TRUE(d.canvas.LinesIn(kSpectrum2Color).empty());
        const auto& last = d.canvas.Ops().back();
        if (count < 2) {
            EXPECT_EQ(last.kind, Kind::kMoveTo);
            EXPECT_EQ(last.x1, (-2000 + 2047) * 1501 / 4094 + 10);
            EXPECT_EQ(last.y1, 887 / 2);
        }
    }
}

TEST(TraceDisplay, TimeAndFrequencyLabelsFollowTheBoxes) {
    const auto count = [](const DisplayInputs& in, const std::string& unit) {
        int n = 0;
        for (const auto& text : Draw(in).canvas.Texts()) n += text.find(unit) != std::string::npos;
        return n;
    };
    DisplayInputs in = MainWindow();
    EXPECT_EQ(count(in, "mSec"), 0);
    EXPECT_EQ(count(in, "KHz"), 0);
    in.scope2 = true;
    EXPECT_EQ(count(in, "mSec"), 9);
    EXPECT_EQ(count(in, "KHz"), 0);
    in.scope2 = false;
    in.fft1 = true;
    EXPECT_EQ(count(in, "mSec"), 0);
    EXPECT_EQ(count(in, "KHz"), 9);
}

TEST(TraceDisplay, VoltageLabelsAndMissingSelections) {
    DisplayInputs in = MainWindow();
    in.chan1Probe = 1;
    in.scale1 = 0;  // x1, 48 V
    in.chan2Probe = 0;
    in.scale2 = 0;  // x10, 480 V
    std::vector<std::string> texts = Draw(in).canvas.Texts();
    EXPECT_EQ(texts[0], "  19.2 V");
    EXPECT_EQ(texts[1], " 192.0 V");
    in.chan1Probe = -1;  // reads as the last item, "x1"
    in.scale1 = 7;
    in.chan2Probe = 0;
    in.scale2 = -1;  // reads as the last scale item
    texts = Draw(in).canvas.Texts();
    EXPECT_EQ(texts[0], "   0.8 V");
    EXPECT_EQ(texts[1], "   8.0 V");
}

TEST(TraceDisplay, ProbeAndScaleChangeOnlyTheLabels) {
    DisplayInputs in = MainWindow();
    in.scope1 = in.fft2 = true;
    const SampleFrame frame = MakeFrame([](int i) { return static_cast<int16_t>(i - 1000); },
                                        [](int i) { return static_cast<int16_t>(i % 300); });
    const Drawn before = Draw(in, frame);
    in.scale1 = 3;
    in.chan2Probe = 1;
    const Drawn after = Draw(in, frame);
    ASSERT_EQ(before.canvas.Ops().size(), after.canvas.Ops().size());
    for (std::size_t i = 0; i < before.canvas.Ops().size(); ++i) {
        const auto& a = before.canvas.Ops()[i];
        const auto& b = after.canvas.Ops()[i];
        ASSERT_EQ(a.kind, b.kind);
        ASSERT_EQ(std::vector<int>({a.x1, a.y1, a.x2, a.y2}),
                  std::vector<int>({b.x1, b.y1, b.x2, b.y2}));
        if (a.kind == Kind::kText && a.text.back() != 'V') {
            EXPECT_EQ(a.text, b.text);
        }
    }
}

TEST(TraceDisplay, PlotWithoutRoomIsOnlyCleared) {
    DisplayInputs in = MainWindow();
    in.scope1 = in.fft1 = true;
    for (auto [width, height] : {std::pair{10, 899}, std::pair{5, 899}, std::pair{1511, 12},
                                 std::pair{1511, 3}, std::pair{0, 0}}) {
        in.clientWidth = width;
        in.clientHeight = height;
        const Drawn d = Draw(in);
        ASSERT_EQ(d.canvas.Ops().size(), 1u) << width << "x" << height;
        EXPECT_EQ(d.canvas.Ops()[0].kind, Kind::kRectangle);
        EXPECT_EQ(d.canvas.Ops()[0].x2, width);
        EXPECT_EQ(d.canvas.Ops()[0].y2, height);
    }
}

TEST(TraceDisplay, ExtremeInputsStayDefined) {
    DisplayInputs in = MainWindow();
    in.clientWidth = 2147483647;
    in.clientHeight = 2147483647;
    in.syncVoltBarWidth = -2147483647;
    in.syncPosition = -5;
    in.syncLevel = -2147483647;
    in.scope1 = in.scope2 = in.fft1 = true;
    const SampleFrame frame =
        MakeFrame([](int) { return int16_t{-32768}; }, [](int) { return int16_t{32767}; });
    EXPECT_GT(Draw(in, frame).canvas.Ops().size(), 4000u);
}

}  // namespace
}  // namespace velmora
