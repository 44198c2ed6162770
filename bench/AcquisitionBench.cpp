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

#include "app/TForm2.h"
#include "instrument/VirtualInstrument.h"
#include "platform/NullCanvas.h"
#include "platform/posix/PosixSerialPorts.h"

namespace velmora {
namespace {

class NoSettings final : public SettingsStore {
public:
    std::unique_ptr<SettingsReader> OpenForRead(const char*) override { return nullptr; }
    std::unique_ptr<SettingsWriter> OpenForWrite(const char*) override { return nullptr; }
};

class NoErrors final : public ErrorReporter {
public:
    void ShowError(const std::string&) override {}
};

void RunTicks(benchmark::State& state, bool baudPacing) {
    char pattern[] = "/tmp/velmora-benchXXXXXX";
    const std::string runtime = mkdtemp(pattern);
    setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
    InstrumentOptions options;
    options.baudPacing = baudPacing;
    VirtualInstrument instrument(options);
    std::string error;
    if (!instrument.Start(error)) {
        state.SkipWithError(error.c_str());
        return;
    }
    PosixSerialPorts ports(PortDiscovery(runtime + "/no-sys"));
    NoSettings settings;
    SteadyClock clock;
    NullCanvas canvas;
    NoErrors errors;
    const int ticks = static_cast<int>(state.range(0));
    for (auto _ : state) {
        TForm2 form(FormServices{ports, settings, clock, canvas, errors});
        form.FormCreate();
        using namespace std::chrono;
        const auto start = steady_clock::now();
        auto due = start;
        for (int i = 0; i < ticks; ++i) {
            std::this_thread::sleep_until(due);
            form.Timer1Timer();
            due = std::max(due + milliseconds(form.Timer1.Interval()), steady_clock::now());
        }
        const double seconds = duration<double>(steady_clock::now() - start).count();
        state.counters["frames"] = form.Receive().framesReceived;
        state.counters["frames_per_s"] = form.Receive().framesReceived / seconds;
        state.counters["ticks_per_s"] = ticks / seconds;
    }
    instrument.Stop();
    std::filesystem::remove_all(runtime);
}

void BM_AcquisitionFastInstrument(benchmark::State& state) { RunTicks(state, false); }
void BM_AcquisitionAt115200Baud(benchmark::State& state) { RunTicks(state, true); }

BENCHMARK(BM_AcquisitionFastInstrument)->Arg(50)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_AcquisitionAt115200Baud)->Arg(20)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace velmora

BENCHMARK_MAIN();
