#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "support/FrameMaker.h"
#include "display/SpectrumDisplay.h"
#include "support/RecordingCanvas.h"

namespace velmora {
namespace {

using Kind = RecordingCanvas::Kind;
using testing::MakeFrame;
using testing::Zero;

PlotGeometry Plot880() {
    PlotGeometry g;
    g.plotLeft = 10;
    g.plotWidth = 1501;
    g.plotHeight = 880;
    return g;
}

RecordingCanvas DrawChannel(const SampleFrame& frame, int channel) {
    SpectrumBuffer buffer{};
    ComputeSpectrum(frame, channel, buffer);
    RecordingCanvas canvas;
    DrawSpectrum(canvas, buffer, Plot880(), channel);
    return canvas;
}

TEST(DrawSpectrum, SilenceIsTheMiddleLine) {
    const RecordingCanvas canvas = DrawChannel(MakeFrame(Zero, Zero), 1);
    const auto& ops = canvas.Ops();
    ASSERT_EQ(ops.size(), 1u + 1u + 1024u);
    EXPECT_EQ(ops[0].kind, Kind::kPen);
    EXPECT_EQ(ops[0].color, kSpectrum2Color);
    EXPECT_EQ(ops[1].kind, Kind::kMoveTo);
    EXPECT_EQ(ops[1].x1, 10);
    EXPECT_EQ(ops[1].y1, 440);
    EXPECT_EQ(ops[2].x2, 10);  // the first line has no length
    for (std::size_t i = 2; i < ops.size(); ++i) ASSERT_EQ(ops[i].y2, 440);
    EXPECT_EQ(ops.back().x2, 10 + 1501 * 2046 / 2048);
}

TEST(DrawSpectrum, SineOnBinHundred) {
    const SampleFrame frame = MakeFrame(
        [](int n) {
            return static_cast<int16_t>(
                std::lround(1000.0 * std::sin(2.0 * std::numbers::pi * 100 * n / 2048)));
        },
        Zero);
    const RecordingCanvas canvas = DrawChannel(frame, 0);
    const auto lines = canvas.LinesIn(kSpectrum1Color);
    ASSERT_EQ(lines.size(), 1024u);
    // m = 1100 at bin 100: 440 - 880 * 1100 / 4094 = 440 - 236.
    EXPECT_NEAR(lines[100].y2, 204, 1);
    EXPECT_NEAR(lines[99].y2, 322, 1);
    EXPECT_NEAR(lines[101].y2, 322, 1);
    EXPECT_EQ(lines[100].x2, 10 + 1501 * 200 / 2048);
}

TEST(DrawSpectrum, ConstantInputRisesAboveThePlot) {
    const RecordingCanvas canvas =
        DrawChannel(MakeFrame([](int) { return int16_t{1000}; }, Zero), 0);
    const auto& ops = canvas.Ops();
    EXPECT_EQ(ops[1].y1, 440 - 880 * 2200 / 4094);  // -32: passed on unclipped
    const auto lines = canvas.LinesIn(kSpectrum1Color);
    EXPECT_EQ(lines[0].y2, -32);
    EXPECT_NEAR(lines[1].y2, 204, 1);
}

TEST(DrawSpectrum, ExactArithmeticOfOneBin) {
    SpectrumBuffer buffer{};
    buffer[2 * 7] = 300.0f;
    buffer[2 * 7 + 1] = 400.0f;  // magnitude 500, m = 550
    RecordingCanvas canvas;
    DrawSpectrum(canvas, buffer, Plot880(), 0);
    EXPECT_EQ(canvas.LinesIn(kSpectrum1Color)[7].y2, 440 - 880 * 550 / 4094);
}

}  // namespace
}  // namespace velmora
