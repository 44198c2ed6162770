// The automatic measurements of one frame (both channels: levels, RMS,
// crossings, frequency, duty), as the readout and the capture command take
// them at every frame. The goal is under 20 microseconds a frame.
#include <benchmark/benchmark.h>

#include "BenchPicture.h"
#include "capture/FrameRecord.h"
#include "capture/Measurements.h"
#include "link/SampleRate.h"

namespace {

void BM_MeasureFrame(benchmark::State& state) {
    velmora::FrameRecord record;
    record.frame = velmora::bench::MakeFrame(state.range(0) != 0);
    record.inputs = velmora::bench::Everything();
    record.settings = velmora::SettingsOf(record.inputs, 0, 0);
    for (auto _ : state) {
        benchmark::DoNotOptimize(velmora::MeasureFrame(record, velmora::kFrameSampleRateHz));
        benchmark::ClobberMemory();
    }
}
// 0: 1 kHz sines (20 periods a frame); 1: a 300-period tone and noise-like steps.
BENCHMARK(BM_MeasureFrame)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
