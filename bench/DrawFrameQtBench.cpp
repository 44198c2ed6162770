// One whole redraw (graticule, labels, markers, both traces, both spectra)
// into the window's 1511 x 899 image through QImageCanvas. Goal: under 5 ms.
// Runs on the offscreen platform when no display is set.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <cmath>
#include <cstdlib>
#include <numbers>

#include "acquisition/TraceDisplay.h"
#include "platform/qt/QImageCanvas.h"

namespace {

using velmora::DisplayInputs;
using velmora::SampleFrame;

// `busy`: a tone of 300 cycles per frame near full scale on channel 1 and
// noise-like steps on channel 2, so that nearly every segment is hundreds of
// pixels long (the worst case). Otherwise: the virtual instrument's default
// picture, 1 kHz sine waves (20 cycles per frame) at half scale.
SampleFrame MakeFrame(bool busy) {
    SampleFrame frame;
    for (std::size_t n = 0; n < velmora::kSamplePairs; ++n) {
        const double t = 2.0 * std::numbers::pi * static_cast<double>(n) / 2048.0;
        const auto a = static_cast<int16_t>(
            std::lround(busy ? 1800.0 * std::sin(300.0 * t) : 1000.0 * std::sin(20.0 * t)));
        const auto b = static_cast<int16_t>(busy ? static_cast<long>((n * 7919) % 3000) - 1500
                                                 : std::lround(1000.0 * std::cos(20.0 * t)));
        const std::size_t at = n * velmora::kPairBytes;
        frame.samples[at] = static_cast<uint8_t>(a & 0xff);
        frame.samples[at + 1] = static_cast<uint8_t>((a >> 8) & 0xff);
        frame.samples[at + 2] = static_cast<uint8_t>(b & 0xff);
        frame.samples[at + 3] = static_cast<uint8_t>((b >> 8) & 0xff);
    }
    return frame;
}

DisplayInputs Everything() {
    DisplayInputs in;
    in.clientWidth = 1511;
    in.clientHeight = 899;
    in.syncVoltBarWidth = 10;
    in.syncPosBarHeight = 11;
    in.sweepIndex = 1;
    in.chan1Probe = in.chan2Probe = 1;
    in.scale1 = in.scale2 = 2;
    in.scope1 = in.scope2 = in.fft1 = in.fft2 = true;
    in.syncPosition = 1024;
    in.syncLevel = 300;
    return in;
}

// The painter is opened once for the redraw, as the window does.
void BM_DrawFrameQImage(benchmark::State& state) {
    const SampleFrame frame = MakeFrame(state.range(0) != 0);
    const DisplayInputs in = Everything();
    QImage image(in.clientWidth, in.clientHeight, QImage::Format_RGB32);
    velmora::QImageCanvas canvas(image);
    velmora::TraceDisplay display;
    for (auto _ : state) {
        canvas.Begin();
        display.DrawFrame(canvas, frame, in);
        canvas.End();
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(BM_DrawFrameQImage)->ArgName("busy")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// For comparison: a painter opened and closed around every call.
void BM_DrawFrameQImagePainterPerCall(benchmark::State& state) {
    const SampleFrame frame = MakeFrame(false);
    const DisplayInputs in = Everything();
    QImage image(in.clientWidth, in.clientHeight, QImage::Format_RGB32);
    velmora::QImageCanvas canvas(image);
    velmora::TraceDisplay display;
    for (auto _ : state) {
        display.DrawFrame(canvas, frame, in);
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(BM_DrawFrameQImagePainterPerCall)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    if (std::getenv("DISPLAY") == nullptr && std::getenv("WAYLAND_DISPLAY") == nullptr) {
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
    }
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
