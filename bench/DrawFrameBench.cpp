// One whole redraw (graticule, labels, markers, both traces, both spectra)
// without a window: into a canvas that discards everything, and into the
// recording canvas of the tests. This is the picture's own cost; the window's
// image adds the painting (DrawFrameQtBench).
#include <benchmark/benchmark.h>

#include <cmath>
#include <numbers>

#include "acquisition/TraceDisplay.h"
#include "support/RecordingCanvas.h"

namespace {

using velmora::DisplayInputs;
using velmora::SampleFrame;

class NullCanvas final : public velmora::Canvas {
  public:
    void SetPenColor(velmora::Rgb) override {}
    void MoveTo(int x, int y) override { sum_ += x ^ y; }
    void LineTo(int x, int y) override { sum_ += x ^ y; }
    void Rectangle(int, int, int, int) override {}
    void TextOut(int, int, const char*) override {}
    long Sum() const { return sum_; }

  private:
    long sum_ = 0;
};

SampleFrame MakeFrame() {
    SampleFrame frame;
    for (std::size_t n = 0; n < velmora::kSamplePairs; ++n) {
        const double t = 2.0 * std::numbers::pi * static_cast<double>(n) / 2048.0;
        const auto a = static_cast<int16_t>(std::lround(1800.0 * std::sin(10.0 * t)));
        const auto b = static_cast<int16_t>(std::lround(900.0 * std::cos(37.0 * t)));
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

void BM_DrawFrameNullCanvas(benchmark::State& state) {
    const SampleFrame frame = MakeFrame();
    const DisplayInputs in = Everything();
    velmora::TraceDisplay display;
    NullCanvas canvas;
    for (auto _ : state) {
        display.DrawFrame(canvas, frame, in);
    }
    benchmark::DoNotOptimize(canvas.Sum());
}
BENCHMARK(BM_DrawFrameNullCanvas)->Unit(benchmark::kMicrosecond);

void BM_DrawFrameRecordingCanvas(benchmark::State& state) {
    const SampleFrame frame = MakeFrame();
    const DisplayInputs in = Everything();
    velmora::TraceDisplay display;
    velmora::RecordingCanvas canvas;
    for (auto _ : state) {
        canvas.Clear();
        display.DrawFrame(canvas, frame, in);
    }
    state.counters["calls"] = static_cast<double>(canvas.Ops().size());
}
BENCHMARK(BM_DrawFrameRecordingCanvas)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
