#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/FrameMaker.h"
#include "display/SpectrumDisplay.h"
#include "display/TraceDisplay.h"
#include "support/RecordingCanvas.h"

namespace velmora {
namespace {

using Kind = RecordingCanvas::Kind;
using testing::MakeFrame;
using testing::Zero;

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

TEST(TraceDisplay, OrderOfOperations) {
    DisplayInputs in = MainWindow();
    in.scope1 = true;
    in.fft2 = true;
    const Drawn d = Draw(in);
    const auto& ops = d.canvas.Ops();
    ASSERT_GE(ops.size(), 2u);
    EXPECT_EQ(ops[0].kind, Kind::kRectangle);
    EXPECT_EQ(std::vector<int>({ops[0].x1, ops[0].y1, ops[0].x2, ops[0].y2}),
              (std::vector<int>{0, 0, 1511, 899}));
    EXPECT_EQ(ops[1].kind, Kind::kPen);
    EXPECT_EQ(ops[1].color, kGridColor);
    // Per grid row: line, two voltage labels, line, time label, frequency label.
    std::size_t at = 2;
    for (int e = 1; e <= 9; ++e) {
        const std::vector<Kind> row = {Kind::kMoveTo, Kind::kLineTo, Kind::kText, Kind::kText,
                                       Kind::kMoveTo, Kind::kLineTo, Kind::kText, Kind::kText};
        for (Kind kind : row) {
            ASSERT_EQ(ops[at].kind, kind) << d.canvas.Listing(at, 4);
            ++at;
        }
        const int ye = 887 * e / 10;
        const int xe = 10 + 1501 * e / 10;
        EXPECT_EQ(ops[at - 6].x1, 20);
        EXPECT_EQ(ops[at - 6].y1, ye + 4);
        EXPECT_EQ(ops[at - 5].x1, 1501 - 60);
        EXPECT_EQ(ops[at - 2].text, std::to_string(2 * e) + " mSec");
        EXPECT_EQ(ops[at - 2].x1, xe - 20);
        EXPECT_EQ(ops[at - 2].y1, 10);
        EXPECT_EQ(ops[at - 1].text, std::to_string(5 * e) + " KHz");
        EXPECT_EQ(ops[at - 1].y1, 887 - 16);
    }
    // Markers, then trace 1 (blue) and spectrum 2 (maroon), nothing else.
    EXPECT_EQ(ops[at].color, kMarkerColor);
    EXPECT_EQ(ops[at + 5].kind, Kind::kPen);
    EXPECT_EQ(ops[at + 5].color, kTrace1Color);
    const std::size_t spectrum = at + 5 + 1 + 2 + 1 + 2048;
    ASSERT_EQ(ops[spectrum].kind, Kind::kPen) << d.canvas.Listing(spectrum - 2, 4);
    EXPECT_EQ(ops[spectrum].color, kSpectrum2Color);
    EXPECT_EQ(ops.size(), spectrum + 1 + 1 + 1024);
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
