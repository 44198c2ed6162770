// One whole redraw (graticule, labels, markers, both traces, both spectra)
// into the window's 1511 x 899 image through QImageCanvas. Goal: under 5 ms.
// Runs on the offscreen platform when no display is set.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <numbers>

#include "BenchPicture.h"
#include "display/TraceDisplay.h"
#include "gui/qt/QImageCanvas.h"

namespace {

using velmora::DisplayInputs;
using velmora::SampleFrame;
using velmora::bench::Everything;
using velmora::bench::MakeFrame;

// The painter is opened once for the redraw, as the window does; the frames
// take turns.
void Redraws(benchmark::State& state, const SampleFrame* frames, std::size_t count) {
    const DisplayInputs in = Everything();
    QImage image(in.clientWidth, in.clientHeight, QImage::Format_RGB32);
    velmora::QImageCanvas canvas(image);
    velmora::TraceDisplay display;
    std::size_t turn = 0;
    for (auto _ : state) {
        canvas.Begin();
        display.DrawFrame(canvas, frames[turn++ % count], in);
        canvas.End();
        benchmark::DoNotOptimize(image.constBits());
    }
}

// The second frame is the first a sample later, so that every segment of
// every redraw moves and the whole picture is drawn again, as for a trace
// that does not stand still.
void BM_DrawFrameQImage(benchmark::State& state) {
    SampleFrame frames[2] = {MakeFrame(state.range(0) != 0), MakeFrame(state.range(0) != 0)};
    std::rotate(frames[1].samples.begin(), frames[1].samples.begin() + velmora::kPairBytes,
                frames[1].samples.end());
    Redraws(state, frames, 2);
}
BENCHMARK(BM_DrawFrameQImage)->ArgName("busy")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The same frame again (a trace that stands still, Hold): nothing is drawn.
void BM_DrawFrameQImageAgain(benchmark::State& state) {
    const SampleFrame frame = MakeFrame(false);
    Redraws(state, &frame, 1);
}
BENCHMARK(BM_DrawFrameQImageAgain)->Unit(benchmark::kMillisecond);

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
