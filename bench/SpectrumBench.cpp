// The spectrum of one channel against FFTW's single-precision 1024-point
// complex transform of the same data, measured in the same run. The goal is
// to stay within three times FFTW's time.
#include <benchmark/benchmark.h>
#include <fftw3.h>

#include <chrono>
#include <cmath>
#include <cstring>
#include <numbers>

#include "spectrum/Spectrum.h"
#include "link/FrameFormat.h"

namespace {

using velmora::SampleFrame;
using velmora::SpectrumBuffer;

// Two tones and a little of everything in between, like a real input.
SampleFrame MakeFrame() {
    SampleFrame frame;
    for (std::size_t n = 0; n < velmora::kSamplePairs; ++n) {
        const double t = static_cast<double>(n);
        const double a = 1500.0 * std::sin(2.0 * std::numbers::pi * 100.0 * t / 2048.0) +
                         300.0 * std::cos(2.0 * std::numbers::pi * 357.0 * t / 2048.0);
        const auto v = static_cast<int16_t>(std::lround(a));
        const auto w = static_cast<int16_t>((n * 37) % 4095 - 2047);
        const std::size_t at = n * velmora::kPairBytes;
        frame.samples[at] = static_cast<uint8_t>(v & 0xff);
        frame.samples[at + 1] = static_cast<uint8_t>((v >> 8) & 0xff);
        frame.samples[at + 2] = static_cast<uint8_t>(w & 0xff);
        frame.samples[at + 3] = static_cast<uint8_t>((w >> 8) & 0xff);
    }
    return frame;
}

// Seconds per call of `work`, the best of several batches: a plain clock so
// both sides are measured the same way inside one benchmark.
template <typename Work>
double SecondsPerCall(Work&& work) {
    constexpr int kBatches = 15;
    constexpr int kCalls = 2000;
    double best = 1e9;
    for (int batch = 0; batch < kBatches; ++batch) {
        const auto start = std::chrono::steady_clock::now();
        for (int call = 0; call < kCalls; ++call) {
            work();
        }
        const std::chrono::duration<double> spent = std::chrono::steady_clock::now() - start;
        best = std::min(best, spent.count() / kCalls);
    }
    return best;
}

class FftwPlan {
  public:
    FftwPlan() {
        in_ = fftwf_alloc_complex(1024);
        out_ = fftwf_alloc_complex(1024);
        plan_ = fftwf_plan_dft_1d(1024, in_, out_, FFTW_FORWARD, FFTW_MEASURE);
    }
    ~FftwPlan() {
        fftwf_destroy_plan(plan_);
        fftwf_free(in_);
        fftwf_free(out_);
    }
    FftwPlan(const FftwPlan&) = delete;
    FftwPlan& operator=(const FftwPlan&) = delete;

    // FFTW_MEASURE scribbles on the arrays while planning: load data after.
    void Load(const SampleFrame& frame) {
        for (std::size_t k = 0; k < 1024; ++k) {
            in_[k][0] = frame.Sample(2 * k, 0);
            in_[k][1] = frame.Sample(2 * k + 1, 0);
        }
    }
    void Run() {
        fftwf_execute(plan_);
        benchmark::DoNotOptimize(out_[1][0]);
    }

  private:
    fftwf_complex* in_ = nullptr;
    fftwf_complex* out_ = nullptr;
    fftwf_plan plan_{};
};

void BM_ComputeSpectrum(benchmark::State& state) {
    const SampleFrame frame = MakeFrame();
    SpectrumBuffer buffer{};
    for (auto _ : state) {
        velmora::ComputeSpectrum(frame, 0, buffer);
        benchmark::DoNotOptimize(buffer.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_ComputeSpectrum);

void BM_Fftw1024(benchmark::State& state) {
    const SampleFrame frame = MakeFrame();
    FftwPlan plan;
    plan.Load(frame);
    for (auto _ : state) {
        plan.Run();
    }
}
BENCHMARK(BM_Fftw1024);

// Both sides timed in the same run; the ratio is the figure the goal is about.
void BM_SpectrumVsFftwRatio(benchmark::State& state) {
    const SampleFrame frame = MakeFrame();
    FftwPlan plan;
    plan.Load(frame);
    SpectrumBuffer buffer{};
    double ours = 0.0;
    double fftw = 0.0;
    for (auto _ : state) {
        ours = SecondsPerCall([&] {
            velmora::ComputeSpectrum(frame, 0, buffer);
            benchmark::DoNotOptimize(buffer.data());
            benchmark::ClobberMemory();
        });
        fftw = SecondsPerCall([&] { plan.Run(); });
    }
    state.counters["ours_us"] = ours * 1e6;
    state.counters["fftw_us"] = fftw * 1e6;
    state.counters["ratio"] = ours / fftw;
}
BENCHMARK(BM_SpectrumVsFftwRatio)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
