// Frames per second the acquisition cycle reaches against the virtual
// instrument over a real pseudo-terminal, with ticks paced like the window's
// 200 ms timer (a tick that overruns is followed at once by the next, as a
// timer that does not queue ticks behaves). The design's ceiling is one frame
// a tick: 5 frames per second.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "integration/InstrumentSession.h"

namespace velmora {
namespace {

bool Started(const test::InstrumentSession& session, benchmark::State& state) {
    if (!session.Started()) state.SkipWithError(session.Error().c_str());
    return session.Started();
}

void RunTicks(benchmark::State& state, bool baudPacing) {
    InstrumentOptions options;
    options.baudPacing = baudPacing;
    test::InstrumentSession session(options);
    if (!Started(session, state)) return;
    const int ticks = static_cast<int>(state.range(0));
    TForm2* form = &session.Form();
    form->FormCreate();
    for (auto _ : state) {
        using namespace std::chrono;
        const auto start = steady_clock::now();
        auto due = start;
        for (int i = 0; i < ticks; ++i) {
            std::this_thread::sleep_until(due);
            form->Timer1Timer();
            due = std::max(due + milliseconds(form->Timer1.Interval()), steady_clock::now());
        }
        const double seconds = duration<double>(steady_clock::now() - start).count();
        state.counters["frames"] = form->Receive().framesReceived;
        state.counters["frames_per_s"] = form->Receive().framesReceived / seconds;
        state.counters["ticks_per_s"] = ticks / seconds;
    }
}

void BM_AcquisitionFastInstrument(benchmark::State& state) { RunTicks(state, false); }
void BM_AcquisitionAt115200Baud(benchmark::State& state) { RunTicks(state, true); }

BENCHMARK(BM_AcquisitionFastInstrument)
    ->Arg(50)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_AcquisitionAt115200Baud)
    ->Arg(20)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// How long the window is busy in one tick: on a silent line (the request's
// drain waits out one empty read, then ten empty reads of 129 ms each) and
// with the answer to the outstanding request already waiting in the port.
void BM_TickOnSilentLine(benchmark::State& state) {
    InstrumentOptions options;
    options.silent = true;
    test::InstrumentSession session(options);
    if (!Started(session, state)) return;
    TForm2* form = &session.Form();
    form->FormCreate();
    for (auto _ : state) form->Timer1Timer();
}
BENCHMARK(BM_TickOnSilentLine)->Iterations(4)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_TickWithFrameWaiting(benchmark::State& state) {
    test::InstrumentSession session(InstrumentOptions{});
    if (!Started(session, state)) return;
    TForm2* form = &session.Form();
    form->FormCreate();  // start-up sent the first request
    for (auto _ : state) {
        state.PauseTiming();
        std::this_thread::sleep_for(std::chrono::milliseconds(50));  // the answer arrives
        state.ResumeTiming();
        form->Timer1Timer();  // receives and completes it; the next tick asks again
        state.PauseTiming();
        form->ScreenClick();  // a fresh request for the next round
        state.ResumeTiming();
    }
    state.counters["frames"] = form->Receive().framesReceived;
}
BENCHMARK(BM_TickWithFrameWaiting)->Iterations(20)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace velmora

BENCHMARK_MAIN();
