// One whole redraw (graticule, labels, markers, both traces, both spectra)
// without a window: into a canvas that discards everything, and into the
// recording canvas of the tests. This is the picture's own cost; the window's
// image adds the painting (DrawFrameQtBench).
#include <benchmark/benchmark.h>

#include <cmath>
#include <numbers>

#include "BenchPicture.h"
#include "display/TraceDisplay.h"
#include "support/RecordingCanvas.h"

namespace {

using velmora::DisplayInputs;
using velmora::SampleFrame;
using velmora::bench::Everything;
using velmora::bench::MakeFrame;

class NullCanvas final : public velmora::Canvas {
  public:
    void SetPenColor(velmora::Rgb) override {}
    void MoveTo(int x, int y) override { sum_ += x ^ y; }
    void LineTo(int x, int y) override { sum_ += x ^ y; }
    void Rectangle(int, int, int, int) override {}
    void TextOut(int, int, const char*) override {}
    void SetTextColor(velmora::Rgb) override {}
    velmora::TextExtent MeasureText(const char*) override { return {}; }
    long Sum() const { return sum_; }

  private:
    long sum_ = 0;
};

void BM_DrawFrameNullCanvas(benchmark::State& state) {
    const SampleFrame frame = MakeFrame(false);
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
    const SampleFrame frame = MakeFrame(false);
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
